#include "engine/shutdown.h"

#include "core/records.h"
#include "core/tick_box.h"
#include "engine/press_latch.h"
#include "os/dialogs.h"
#include "os/host.h"
#include "os/input.h"

namespace {

constexpr std::uint32_t VK_RETURN = 0x0D;
constexpr std::uint32_t VK_ESCAPE = 0x1B;

struct Placement {
    int nScreenWidth;
    int x;
    int y;
};
const Placement kPlacements[] = {
    {640, 160, 200}, {800, 280, 250},  {1024, 350, 300},
    {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340},
};

// The remote press that last concerned the dialog (opened or answered it),
// while its events keep coming: its code as the tick stores it, and the time
// of its latest event.
struct DialogPress {
    PressLatch press;
    std::int32_t bAnswered;  // the press closed the dialog
};
DialogPress g_DialogPress = {{0, 0, 0}, 0};

void TakeDialogPress(std::int32_t answered) {
    TakePress(g_DialogPress.press);
    g_DialogPress.bAnswered = answered;
}

bool IsWin9x() {
    os::OsVersionInfo info{};
    info.dwOSVersionInfoSize = os::OSVERSIONINFOA_SIZE;
    os::GetVersionExA(&info);
    return info.dwPlatformId == os::VER_PLATFORM_WIN32_WINDOWS;
}

bool EnableShutdownPrivilege() {
    os::Htoken token = 0;
    if (!os::OpenProcessToken(os::TOKEN_ADJUST_PRIVILEGES | os::TOKEN_QUERY, &token)) return false;
    const std::uint32_t error =
        os::AdjustTokenPrivileges(token, "SeShutdownPrivilege", os::SE_PRIVILEGE_ENABLED);
    // The privilege stays enabled on the process token; the handle is not needed.
    os::CloseHandle(token);
    return error == 0;
}

std::int32_t Close(os::Hwnd dlg, std::int32_t result) {
    ShutdownDialogOpen = 0;
    os::EndDialog(dlg, result);
    return 1;
}

}  // namespace

void PlaceDialog(os::Hwnd dlg) {
    const int width = os::GetSystemMetrics(os::SM_CXFULLSCREEN);
    for (const Placement& p : kPlacements) {
        if (p.nScreenWidth == width) {
            os::SetWindowPos(dlg, os::HWND_TOPMOST, p.x, p.y, 0, 0, os::SWP_NOSIZE);
            return;
        }
    }
}

bool ContinuesDialogPress() { return ContinuesPress(g_DialogPress.press); }

void ForgetDialogPress() { g_DialogPress = {{0, 0, 0}, 0}; }

void ShutdownSystem() {
    if (IsWin9x()) {
        os::ExitWindowsEx(os::EWX_SHUTDOWN, 0);
        return;
    }
    // Without the privilege ExitWindowsEx fails and nothing shows: the user
    // pressed POWER and must learn why the computer stays on.
    if (!EnableShutdownPrivilege()) {
        TickMessageBox("You are not allowed to shut down this computer.", "Remote Control",
                       os::MB_OK);
        return;
    }
    if (os::ExitWindowsEx(os::EWX_POWEROFF | os::EWX_FORCE, 0) == 0)
        TickMessageBox("Can't run ExitWindowsEx.", "Remote Control", os::MB_OK);
}

std::int32_t ShutdownDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                             std::int32_t lParam) {
    switch (msg) {
    case os::WM_INITDIALOG:
        os::SetForegroundWindow(dlg);
        os::SetActiveWindow(dlg);
        hShutdownDlg = dlg;
        PlaceDialog(dlg);
        return 1;
    case os::WM_KEYDOWN:
        // Only the key engine sends these. The rest of this press must not
        // reach the router and open the dialog again.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) TakeDialogPress(1);
        if (wParam == VK_RETURN) {
            Close(dlg, 13);
            ShutdownSystem();
            return 1;
        }
        if (wParam == VK_ESCAPE) return Close(dlg, 27);
        return 0;
    case os::WM_COMMAND:
        switch (wParam & 0xFFFF) {
        case os::IDOK:
            Close(dlg, os::IDOK);
            ShutdownSystem();
            return 1;
        case os::IDCANCEL:
            return Close(dlg, os::IDCANCEL);
        default:
            return 0;
        }
    default:
        return 0;
    }
}

void ShowShutdownDialog(os::Hwnd owner) {
    ShutdownDialogOpen = 1;
    TakeDialogPress(0);
    os::DialogBoxParamA(os::GetModuleHandleA(nullptr), kShutdownDialogId, owner, ShutdownDlgProc, 0);
    // However the dialog ended (or failed to open), the router must get
    // the keys again.
    ShutdownDialogOpen = 0;
    // Closed with the mouse: a key still held is the router's again.
    if (g_DialogPress.bAnswered == 0) ForgetDialogPress();
}
