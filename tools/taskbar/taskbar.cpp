// taskbar forget|has "Class" "Title" <icon id> | taskbar announce
// taskbar power <event>
// What a restarting Explorer does to the programs' tray icons, in two
// steps: `forget` deletes a window's icon (the new taskbar knows none),
// `announce` broadcasts the registered "TaskbarCreated" to the top-level
// windows as the new taskbar does. `has` asks the shell whether it shows
// the icon (a modify that changes nothing succeeds only then).
// `power` sends WM_POWERBROADCAST with wParam <event> (4 suspend, 7 resume
// by the user, 0x12 automatic resume) to every top-level window, hidden
// ones included, as the system does before a sleep and after a wake; it
// prints the GetTickCount it began at and how many windows answered.
// Exit code: 0 done (or shown), 1 refused (or not shown; no window answered
// the notice), 2 usage, 3 no such window.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: taskbar forget|has \"Class\" \"Title\" <icon id> | taskbar announce"
                         " | taskbar power <event>\n");
    return 2;
}

struct PowerNotice {
    WPARAM event;
    int windows;
    int answered;
};

BOOL CALLBACK SendPowerNotice(HWND hwnd, LPARAM lParam) {
    PowerNotice* notice = reinterpret_cast<PowerNotice*>(lParam);
    ++notice->windows;
    // One by one and waited for, as the system sends it; a hung window
    // must not hold the others.
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(hwnd, WM_POWERBROADCAST, notice->event, 0, SMTO_ABORTIFHUNG, 5000, &result))
        ++notice->answered;
    return TRUE;
}

int Power(const char* eventText) {
    char* end = nullptr;
    const unsigned long event = std::strtoul(eventText, &end, 0);
    if (end == eventText || *end != 0) return Usage();
    PowerNotice notice = {static_cast<WPARAM>(event), 0, 0};
    const DWORD tick = GetTickCount();
    EnumWindows(SendPowerNotice, reinterpret_cast<LPARAM>(&notice));
    std::printf("taskbar: power 0x%lX at tick %lu to %d top-level windows, %d answered\n", event,
                static_cast<unsigned long>(tick), notice.windows, notice.answered);
    return notice.answered > 0 ? 0 : 1;
}

int IconCall(DWORD message, const char* cls, const char* title, const char* idText) {
    char* end = nullptr;
    const unsigned long id = std::strtoul(idText, &end, 0);
    if (end == idText || *end != 0) return Usage();
    HWND hwnd = FindWindowA(cls, title);
    if (!hwnd) {
        std::printf("taskbar: no window \"%s\" \"%s\"\n", cls, title);
        return 3;
    }
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = id;
    nid.uFlags = 0;  // a modify of nothing: only the answer counts
    const BOOL ok = Shell_NotifyIconA(message, &nid);
    std::printf("taskbar: %s icon %lu of window %p -> %d\n", message == NIM_DELETE ? "delete" : "modify",
                id, static_cast<void*>(hwnd), ok ? 1 : 0);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "announce") == 0) {
        const UINT msg = RegisterWindowMessageA("TaskbarCreated");
        if (msg == 0) return 1;
        // As Explorer sends it: to every top-level window, without waiting.
        const BOOL ok = SendNotifyMessageA(HWND_BROADCAST, msg, 0, 0);
        std::printf("taskbar: TaskbarCreated (0x%X) broadcast -> %d\n", msg, ok ? 1 : 0);
        return ok ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "power") == 0) return Power(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "forget") == 0) return IconCall(NIM_DELETE, argv[2], argv[3], argv[4]);
    if (argc == 5 && std::strcmp(argv[1], "has") == 0) return IconCall(NIM_MODIFY, argv[2], argv[3], argv[4]);
    return Usage();
}
