#include "app/program.h"

#include <cstring>

#include "core/interval_timer.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "config/settings_store.h"
#include "controllers/app_controller.h"
#include "controllers/controller_table.h"
#include "controllers/keymap_load.h"
#include "controllers/user_apps.h"
#include "core/records.h"
#include "engine/key_tick.h"
#include "engine/launch_watcher.h"
#include "engine/press_latch.h"
#include "engine/shutdown.h"

os::Hinstance hInstance = 0;
std::int32_t bTunerReady = 1;
std::uint8_t bResumePending = 0;
char szWindowTitle[100];
char szWindowClass[100];

namespace {

constexpr std::uint32_t kTitleString = 22;
constexpr std::uint32_t kClassString = 23;
constexpr std::uint32_t CS_HREDRAW_VREDRAW = 3;
constexpr std::uint32_t COLOR_WINDOW_BRUSH = 6;  // COLOR_WINDOW + 1
constexpr std::uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// Earlier releases ran under other titles; each of them is closed too.
const char* const kEarlierCopyPrefixes[] = {
    "DI713V Remote Control",
    "VU716D Remote Control",
    "Remote Control",
};

void KeyTimerProc(os::Hwnd hwnd, std::uint32_t, std::uint32_t, std::uint32_t) { OnKeyTimer(hwnd); }
void WatchTimerProc(os::Hwnd, std::uint32_t, std::uint32_t, std::uint32_t) { OnWatchTimer(); }

// An earlier copy's own dialogs and message boxes stand above its hidden
// main window (an owned window is always above its owner). A WM_CLOSE to
// one of them would end the dialog and leave the copy running; the main
// window's close ends the copy and takes its dialogs with it.
const char* const kOwnDialogTitles[] = {
    "Remote Control - Setting",
    "Remote Control - About",
    "Remote Control - Shut Down",
    "Remote Control",  // its message boxes
};
const char kDialogClass[] = "#32770";

bool IsOwnDialog(os::Hwnd hwnd, const char* title) {
    char name[sizeof kDialogClass + 1];
    name[0] = '\0';
    os::GetClassNameA(hwnd, name, sizeof name);
    name[sizeof name - 1] = '\0';
    if (std::strcmp(name, kDialogClass) != 0) return false;
    for (const char* own : kOwnDialogTitles)
        if (std::strcmp(title, own) == 0) return true;
    return false;
}

// The first window whose title begins with `prefix`, passing by the
// copy's own dialogs; when only such dialogs match, the first of them.
os::Hwnd FindEarlierCopy(const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    char title[128];
    os::Hwnd dialog = 0;
    os::Hwnd hwnd = os::GetWindow(os::GetDesktopWindow(), os::GW_CHILD);
    for (int i = 0; hwnd != 0 && i < kTitleWalkLimit; ++i) {
        title[0] = '\0';
        os::GetWindowTextA(hwnd, title, sizeof title);
        title[sizeof title - 1] = '\0';
        if (std::strncmp(title, prefix, length) == 0) {
            if (!IsOwnDialog(hwnd, title)) return hwnd;
            if (dialog == 0) dialog = hwnd;
        }
        hwnd = os::GetWindow(hwnd, os::GW_HWNDNEXT);
    }
    return dialog;
}

}  // namespace

void InitProcessRecords() {
    InitControllerRecords();
    ResetIntervalTimers();
    ConnectIntervalTimers(KeyTimerProc, WatchTimerProc);
    ResetCoreRecords();
    ForgetDialogPress();
    PowerKeyPress = PressLatch{0, 0, 0};
    ForgetKeymapFile();
    ResetUserApps();
    bTrayMenuOpen = 0;
    hAboutDlg = hSettingDlg = 0;
}

namespace {

// A refused SetTimer (the session's USER objects or desktop heap used up
// by some other program) must not leave the remote dead until the next
// logon. Two minutes of tries cover a burst; after that the tray still works.
constexpr std::uint32_t kKeyTimerRetryMs = 1000;
constexpr int kKeyTimerRetries = 120;
int nKeyTimerRetriesLeft = 0;
bool bKeyTimerRetrySet = false;

// The next try comes by the retry timer, once a second. Refused that timer
// too, the program posts itself the retry: a refusal seldom outlasts a few
// calls, and those tries count against the same budget.
void NextKeyTimerTry(os::Hwnd hwnd) {
    if (bKeyTimerRetrySet) return;  // it comes again by itself
    bKeyTimerRetrySet = os::SetTimer(hwnd, kKeyTimerRetryId, kKeyTimerRetryMs, nullptr) != 0;
    if (!bKeyTimerRetrySet && os::PostMessageA(hwnd, os::WM_TIMER, kKeyTimerRetryId, 0) == 0)
        nKeyTimerRetriesLeft = 0;  // nothing left to bring the next try
}

}  // namespace

void StartKeyTimerOrRetry(os::Hwnd hwnd) {
    nKeyTimerRetriesLeft = 0;
    bKeyTimerRetrySet = false;
    StartKeyTimer(hwnd);
    if (KeyTimer.running) return;
    nKeyTimerRetriesLeft = kKeyTimerRetries;
    NextKeyTimerTry(hwnd);
}

void OnKeyTimerRetry(os::Hwnd hwnd) {
    if (nKeyTimerRetriesLeft > 0) {
        KeyTimer.Start();
        if (!KeyTimer.running && --nKeyTimerRetriesLeft > 0) {
            NextKeyTimerTry(hwnd);
            return;
        }
    }
    nKeyTimerRetriesLeft = 0;
    if (bKeyTimerRetrySet) os::KillTimer(hwnd, kKeyTimerRetryId);
    bKeyTimerRetrySet = false;
}

void CloseEarlierCopies() {
    for (const char* prefix : kEarlierCopyPrefixes) {
        const os::Hwnd hwnd = FindEarlierCopy(prefix);
        if (hwnd != 0) os::PostMessageA(hwnd, os::WM_CLOSE, 0, 0);
    }
}

os::Hwnd ProgramStartUp(os::Hinstance instance) {
    InitProcessRecords();
    hInstance = instance;
    bTunerReady = 1;
    bResumePending = 0;

    CloseEarlierCopies();
    szWindowTitle[0] = szWindowClass[0] = '\0';
    os::LoadStringA(instance, kTitleString, szWindowTitle, sizeof szWindowTitle);
    os::LoadStringA(instance, kClassString, szWindowClass, sizeof szWindowClass);

    // Known before the window can receive it.
    RegisterTaskbarCreated();
    const os::WindowClass wc = {CS_HREDRAW_VREDRAW, MainWindowProc, instance,
                                kMainIconId,        COLOR_WINDOW_BRUSH, szWindowClass};
    os::RegisterClassExA(wc);
    const os::Hwnd hwnd = os::CreateWindowExA(0, szWindowClass, szWindowTitle, WS_OVERLAPPEDWINDOW,
                                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, 0,
                                              instance);
    if (hwnd == 0) return 0;

    LoadSettings();
    if (AlwaysRemoteOff == 1) {
        RemoveTrayIcon(hwnd);
        return 0;
    }
    // Read once: a changed file takes effect when the program is started
    // again (the new copy replaces this one).
    LoadKeymapFile();
    os::ShowWindow(hwnd, os::SW_HIDE);
    os::UpdateWindow(hwnd);
    if (bTunerReady == 1) {
        StartKeyTimerOrRetry(hwnd);
        PrepareWatchTimer(hwnd);
    }
    // After the timers: the remote works while the user reads the box.
    ReportKeymapErrors(hwnd);
    return hwnd;
}

int RunRemoteControl(os::Hinstance instance) {
    if (ProgramStartUp(instance) == 0) return 0;
    const std::uint32_t accel = os::LoadAcceleratorsA(instance, kAcceleratorTable);
    os::Msg msg = {};
    while (os::GetMessageA(&msg) > 0) {
        if (os::TranslateAcceleratorA(msg.hwnd, accel, &msg)) continue;
        os::TranslateMessage(&msg);
        os::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
