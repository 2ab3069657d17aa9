// The operations every controller shares: window searches, the preamble,
// starting the application, and the common Close and LaunchOrClose.
#include "controllers/app_controller.h"

#include <cstdio>
#include <cstring>

#include "controllers/actions.h"
#include "controllers/media_center.h"
#include "controllers/controller_table.h"
#include "config/host_probes.h"
#include "core/interval_timer.h"
#include "core/tick_box.h"

namespace {

constexpr std::uint32_t kLaunchedAbove = 30;  // ShellExecuteA results above this start
const char kEhshellTail[] = "\\ehome\\ehshell.exe";

os::Hwnd SearchMainWindow(AppController& app) {
    if (app.szClassName[0] != '\0') return os::FindWindowA(app.szClassName, nullptr);
    return FindWindowByTitle(app);
}

// The Media Center shell under the real Windows directory; false when the
// directory is unknown or the path does not fit.
bool BuildEhshellPath(char* path, std::size_t size) {
    char dir[256];
    std::uint32_t len = os::GetWindowsDirectoryA(dir, sizeof dir);
    if (len == 0 || len >= sizeof dir) return false;
    dir[len] = '\0';
    int n = std::snprintf(path, size, "%s%s", dir, kEhshellTail);
    return n > 0 && static_cast<std::size_t>(n) < size;
}

bool BuildInstallPath(const AppController& app, char* path, std::size_t size) {
    // Both fields come from outside; never read past their buffers.
    int n = std::snprintf(path, size, "%.*s\\%.*s",
                          static_cast<int>(sizeof app.szInstallDir), app.szInstallDir,
                          static_cast<int>(sizeof app.szExeName), app.szExeName);
    return n > 0 && static_cast<std::size_t>(n) < size;
}

}  // namespace

os::Hwnd FindMainWindow(AppController& app) {
    const ControllerSlot* slot = SlotOf(app);
    if (slot == nullptr || slot->pFindMainWindow == nullptr) return 0;
    return slot->pFindMainWindow();
}

os::Hwnd FindWindowByTitle(AppController& app) {
    char wanted[sizeof app.szWindowTitle + 1];
    std::memcpy(wanted, app.szWindowTitle, sizeof app.szWindowTitle);
    wanted[sizeof app.szWindowTitle] = '\0';

    os::Hwnd hwnd = os::GetWindow(os::GetDesktopWindow(), os::GW_CHILD);
    for (int i = 0; hwnd != 0 && i < kTitleWalkLimit; ++i) {
        char text[128];
        text[0] = '\0';
        int len = os::GetWindowTextA(hwnd, text, sizeof text);
        if (len < 0 || len >= static_cast<int>(sizeof text)) len = 0;
        text[len] = '\0';
        if (std::strcmp(text, wanted) == 0) return hwnd;
        hwnd = os::GetWindow(hwnd, os::GW_HWNDNEXT);
    }
    return 0;
}

os::Hwnd Launch(AppController& app) {
    os::Hwnd found = SearchMainWindow(app);
    if (found != 0) return found;
    if (app.bInstalled == 0) return 0;

    char path[256];
    bool fits = false;
    // The probe is asked anew at every launch.
    if (IsMediaCenterAvailable() != 0 && DefaultTVAPP == kAppMediaCenter)
        fits = BuildEhshellPath(path, sizeof path);
    if (!fits)
        fits = &app == &MediaCenter ? BuildMediaCenterPath(app, path, sizeof path)
                                    : BuildInstallPath(app, path, sizeof path);

    // A path cut short would start some other program.
    std::uint32_t result =
        fits ? os::ShellExecuteA(0, "open", path, "remote", nullptr, os::SW_SHOW) : 0;
    if (result > kLaunchedAbove)
        app.bActive = 1;
    else
        TickMessageBox("Can't launch TV application what you want.", "Remote Control", os::MB_OK);
    return SearchMainWindow(app);
}

os::Hwnd ActivateOrLaunch(AppController& app) {
    if (app.bInstalled != 1) return 0;
    os::Hwnd hwnd = FindWindowByTitle(app);
    if (hwnd == 0) {
        hwnd = Launch(app);
        if (hwnd == 0) return 0;
    }
    os::SetForegroundWindow(hwnd);
    os::SetActiveWindow(hwnd);
    return hwnd;
}

bool RunPreamble(AppController& app) {
    app.hWnd = FindMainWindow(app);
    if (app.hWnd == 0) return false;
    BringForward(app.hWnd);
    return true;
}

void BringForward(os::Hwnd hwnd) {
    if (os::SetForegroundWindow(hwnd) == 0) {
        // A background program may hand the foreground on only from the
        // foreground thread's input; borrow it for the one call.
        const std::uint32_t self = os::GetCurrentThreadId();
        const std::uint32_t front = os::GetWindowThreadProcessId(os::GetForegroundWindow(), nullptr);
        if (front != 0 && front != self && os::AttachThreadInput(self, front, 1) != 0) {
            os::SetForegroundWindow(hwnd);
            os::AttachThreadInput(self, front, 0);
        }
    }
    os::SetActiveWindow(hwnd);
}

bool ForegroundIsApp(const AppController& app) { return ForegroundIsWindowOf(app.hWnd); }

bool ForegroundIsWindowOf(os::Hwnd hwnd) {
    const os::Hwnd front = os::GetForegroundWindow();
    if (front == 0 || hwnd == 0) return false;
    if (front == hwnd) return true;
    std::uint32_t frontProcess = 0;
    std::uint32_t appProcess = 0;
    os::GetWindowThreadProcessId(front, &frontProcess);
    os::GetWindowThreadProcessId(hwnd, &appProcess);
    return frontProcess != 0 && frontProcess == appProcess;
}

void Close(AppController& app) {
    if (!RunPreamble(app)) return;
    // Alt+F4 goes to whichever window has the focus: inject it only when
    // that is the application; otherwise ask the window itself.
    if (os::GetForegroundWindow() == app.hWnd) {
        const std::uint8_t altF4[] = {VK_MENU, VK_F4};
        SendChord(altF4, 2);
    } else {
        os::PostMessageA(app.hWnd, os::WM_SYSCOMMAND, os::SC_CLOSE, 0);
    }
    app.bActive = 0;
}

void LaunchOrClose(AppController& app) {
    const ControllerSlot* slot = SlotOf(app);
    if (FindMainWindow(app) != 0) {
        if (slot != nullptr && slot->pClose != nullptr)
            slot->pClose(app);
        else
            Close(app);
        return;
    }
    if (slot != nullptr && slot->pPrepareLaunch != nullptr) slot->pPrepareLaunch(app);
    ActivateOrLaunch(app);
    if (slot != nullptr && slot->nPreWatchWaitMs != 0) os::Sleep(slot->nPreWatchWaitMs);
    StartWatchTimer();
    if (app.bActive != 0 && slot != nullptr) *slot->pWatchFlag = 1;
}
