// The hidden main window's procedure: creation, tray notifications, menu
// commands, display changes, power events and the resume timer.
#include "app/program.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "config/host_probes.h"
#include "core/records.h"
#include "device/detect_board.h"
#include "device/tuner_device.h"
#include "engine/mouse_emulation.h"

namespace {

constexpr std::uint32_t PBT_APMQUERYSUSPEND = 0;
constexpr std::uint32_t PBT_APMQUERYSUSPENDFAILED = 2;
constexpr std::uint32_t PBT_APMSUSPEND = 4;
constexpr std::uint32_t PBT_APMRESUMECRITICAL = 6;
constexpr std::uint32_t PBT_APMRESUMESUSPEND = 7;
constexpr std::uint32_t PBT_APMRESUMEAUTOMATIC = 18;

constexpr std::uint32_t kCmdExit = 1201;
constexpr std::uint32_t kCmdExitOld = 31;

const char kMissingDevice[] =
    "Can't find the BDA video capture filter.\n\nPlease check your hardware or drivers. ";
const char kCaption[] = "Remote Control";

void OnCreate(os::Hwnd hwnd) {
    hMainWindow = hwnd;
    DetectBoard();
    if (OpenTunerDevice() == 0) bTunerReady = 0;
    IsMediaCenterAvailable();
    SetUpMouseBounds();
    AddTrayIcon(hwnd, kMainIconId, "Remote Control");
}

void Exit(os::Hwnd hwnd) {
    RemoveTrayIcon(hwnd);
    os::PostQuitMessage(0);
}

void OnTrayNotify(os::Hwnd hwnd, std::uint32_t mouseMessage) {
    switch (mouseMessage) {
    case os::WM_MOUSEMOVE:
        ModifyTrayIcon();
        return;
    case os::WM_LBUTTONDOWN:
    case os::WM_RBUTTONDOWN:
        if (bTunerReady == 1) {
            ShowTrayMenu(hwnd);
            return;
        }
        os::MessageBoxA(0, kMissingDevice, kCaption, os::MB_SETFOREGROUND);
        Exit(hwnd);
        return;
    default:
        return;
    }
}

// One wake sends several notices (automatic, then by the user once somebody
// is at the machine); the first one's timer stands, so the device is
// re-opened once, 5000 ms after it.
void ScheduleReopen(os::Hwnd hwnd) {
    if (bResumePending) return;
    // Without its timer the wake's next notice tries again.
    if (os::SetTimer(hwnd, kResumeTimerId, kResumeDelayMs, nullptr) != 0) bResumePending = 1;
}

// Asleep again before the re-open: the timer must wait for the next wake.
void CancelReopen(os::Hwnd hwnd) {
    if (!bResumePending) return;
    bResumePending = 0;
    os::KillTimer(hwnd, kResumeTimerId);
}

void OnPowerBroadcast(os::Hwnd hwnd, std::uint32_t event) {
    switch (event) {
    case PBT_APMQUERYSUSPEND:
    case PBT_APMSUSPEND:
        CancelReopen(hwnd);
        CloseTunerDevice();
        return;
    // A refused suspend sends no resume; the device was closed on the query,
    // so it is re-opened the way a resume does it. A wake by a timer or the
    // network sends only the automatic resume, and the remote does not count
    // as somebody at the machine. A critical suspend came without notice,
    // so the connection kept across it is opened afresh all the same.
    case PBT_APMQUERYSUSPENDFAILED:
    case PBT_APMRESUMECRITICAL:
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMEAUTOMATIC:
        ScheduleReopen(hwnd);
        return;
    default:
        return;
    }
}

}  // namespace

std::int32_t MainWindowProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam,
                            std::int32_t lParam) {
    switch (msg) {
    case os::WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case os::WM_DESTROY:
        RemoveTrayIcon(hwnd);
        os::PostQuitMessage(0);
        return 0;
    case os::WM_DISPLAYCHANGE:
        UpdateMouseBounds(static_cast<std::int32_t>(lParam & 0xFFFF),
                          static_cast<std::int32_t>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF));
        return 0;
    case os::WM_COMMAND: {
        const std::uint32_t id = wParam & 0xFFFF;
        if (id == kCmdExit || id == kCmdExitOld) {
            Exit(hwnd);
            return 0;
        }
        if (OnMenuCommand(hwnd, id)) return 0;
        return os::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case os::WM_TIMER:
        if (wParam == kResumeTimerId && bResumePending) {
            bResumePending = 0;
            OpenTunerDevice();
            os::KillTimer(hwnd, kResumeTimerId);
        } else if (wParam == kKeyTimerRetryId) {
            OnKeyTimerRetry(hwnd);
        } else if (wParam == kTrayRetryTimerId) {
            OnTrayRetryTimer(hwnd);
        }
        return 0;
    case os::WM_POWERBROADCAST:
        OnPowerBroadcast(hwnd, wParam & 0xFFFF);
        return 0;
    case kTrayCallbackMessage:
        OnTrayNotify(hwnd, static_cast<std::uint32_t>(lParam));
        return 0;
    default:
        // Registered at start-up: its id differs from one session to the next.
        if (msg != 0 && msg == nTaskbarCreatedMsg) {
            OnTaskbarCreated(hwnd);
            return 0;
        }
        return os::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
