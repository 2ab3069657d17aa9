// Checks the stand-in TV application as the e2e runs rely on it: chosen by
// its exe name, found by its class and title, logging keys and commands in
// order, showing forms on request, and closing the way its application does.
#include "tools/backend_check/check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_dir;

std::string ReadFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

// True when every piece occurs in the log, in the given order.
bool InOrder(const std::string& log, std::initializer_list<const char*> pieces) {
    size_t at = 0;
    for (const char* piece : pieces) {
        at = log.find(piece, at);
        if (at == std::string::npos) {
            std::printf("     missing after offset: %s\n", piece);
            return false;
        }
        at += std::strlen(piece);
    }
    return true;
}

struct Running {
    PROCESS_INFORMATION pi{};
    HWND hwnd = nullptr;
    std::string log;
};

// Waits with a deadline; nothing depends on a fixed sleep being long enough.
template <typename F>
bool WaitFor(F done, DWORD ms = 10000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20))
        if (done()) return true;
    return done();
}

bool Start(Running& app, const char* exe, const char* args, const char* cls, const char* title) {
    app.log = g_dir + "\\" + exe + ".log";
    DeleteFileA(app.log.c_str());
    SetEnvironmentVariableA("RC_STANDIN_LOG", app.log.c_str());
    std::string cmd = "\"" + g_dir + "\\" + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, g_dir.c_str(), &si, &app.pi))
        return false;
    // Made and shown: keys sent before the show would go to no one.
    return WaitFor([&] { return (app.hwnd = FindWindowA(cls, title)) != nullptr; }) &&
           WaitFor([&] { return IsWindowVisible(app.hwnd) != FALSE; });
}

bool Exited(Running& app) {
    bool gone = WaitForSingleObject(app.pi.hProcess, 10000) == WAIT_OBJECT_0;
    CloseHandle(app.pi.hProcess);
    CloseHandle(app.pi.hThread);
    return gone;
}

bool Logged(Running& app, const char* piece) {
    return WaitFor([&] { return ReadFile(app.log).find(piece) != std::string::npos; });
}

// Keys go to the window in front: on a loaded machine a just-started
// window may take a moment to get there.
void Chord(HWND target, std::initializer_list<BYTE> keys) {
    WaitFor([&] {
        SetForegroundWindow(target);
        SetActiveWindow(target);
        return GetForegroundWindow() == target;
    });
    for (BYTE k : keys) keybd_event(k, 0, KEYEVENTF_EXTENDEDKEY, 0);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k)
        keybd_event(*k, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

void OrbiskClosesOnCommandOne() {
    Running app;
    Check(Start(app, "Brisel.exe", "remote", "TarvelMainPanel_Class", "TVR"), "Brisel.exe plays Orbisk");
    PostMessageA(app.hwnd, 4024, 4003, 0);
    PostMessageA(app.hwnd, 4024, 25, 0);  // Orbisk Center's close, not Orbisk's
    PostMessageA(app.hwnd, 4024, 1, 0);
    Check(Exited(app), "Orbisk quits on command 1");
    Check(InOrder(ReadFile(app.log), {"Orbisk main START", "ARGS \"remote\"", "MSG 4024 wParam=4003 lParam=0",
                                      "MSG 4024 wParam=25 lParam=0", "MSG 4024 wParam=1 lParam=0",
                                      "CLOSE command 1", "EXIT"}),
          "Orbisk logs its commands in order and only 1 closes it");
}

void SavrinFormsOnRequest() {
    Running app;
    Check(Start(app, "Nolvo.exe", "remote --form PictureView", nullptr, "Dravune"), "Nolvo.exe plays Savrin");
    HWND viewer = nullptr;
    Check(WaitFor([&] { return (viewer = FindWindowA("Dravune", "PictureView")) && IsWindowVisible(viewer); }),
          "Savrin's picture viewer is shown at start");
    PostMessageA(viewer, 3000, 35005, 0);
    Check(Logged(app, "Savrin PictureView MSG 3000 wParam=35005 lParam=0"), "a command to the form is logged by the form");
    std::string control = "\"" + g_dir + "\\Nolvo.exe\" --control hide PictureView";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD code = 99;
    if (CreateProcessA(nullptr, &control[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 10000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    Check(code == 0 && WaitFor([&] { return !IsWindowVisible(viewer); }), "--control hide hides the form");
    PostMessageA(app.hwnd, 3000, 1, 0);  // Orbisk's close, not Savrin's
    PostMessageA(app.hwnd, 3000, 25, 0);
    Check(Exited(app), "Savrin quits on command 25 of message 3000");
    Check(InOrder(ReadFile(app.log), {"MSG 3000 wParam=1 lParam=0", "CLOSE command 25", "EXIT"}),
          "command 1 does not close Savrin");
}

void TotalMediaKeysAndAltF4() {
    Running app;
    Check(Start(app, "TotalMedia.exe", "remote", "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia"),
          "TotalMedia.exe plays TotalMedia 3.5");
    PostMessageA(app.hwnd, 4024, 25, 0);  // not a close for this application
    Chord(app.hwnd, {VK_CONTROL, 'P'});
    Chord(app.hwnd, {VK_MENU, VK_F4});
    Check(Exited(app), "TotalMedia closes on Alt+F4");
    Check(InOrder(ReadFile(app.log),
                  {"MSG 4024 wParam=25", "WM_KEYDOWN vk=0x11", "ext=1", "WM_KEYDOWN vk=0x50", "ext=1",
                   "WM_KEYUP vk=0x50", "WM_KEYUP vk=0x11", "WM_SYSKEYDOWN vk=0x12", "WM_SYSKEYDOWN vk=0x73",
                   "ext=1", "WM_SYSCOMMAND SC_CLOSE", "WM_CLOSE", "EXIT"}),
          "chord order, extended bit, Alt as WM_SYSKEYDOWN, then the close request");
}

void MediaCenterClosesOnWmClose() {
    Running app;
    Check(Start(app, "ehshell.exe", "remote", "eHome Render Window", "Windows Media Center"),
          "ehshell.exe plays Windows Media Center");
    PostMessageA(app.hwnd, WM_KEYDOWN, VK_NUMPAD5, 0x01500001);
    PostMessageA(app.hwnd, WM_CLOSE, 0, 0);
    Check(Exited(app), "Media Center closes on WM_CLOSE");
    Check(InOrder(ReadFile(app.log), {"WM_KEYDOWN vk=0x65 lParam=0x01500001 ext=1", "WM_CLOSE", "EXIT"}),
          "a posted key-down keeps its lParam");
}

}  // namespace

void CheckStandIn(const char* dir) {
    g_dir = dir;
    OrbiskClosesOnCommandOne();
    SavrinFormsOnRequest();
    TotalMediaKeysAndAltF4();
    MediaCenterClosesOnWmClose();
}
