// trayfloor.exe: the least a tray program does at start, as the
// benchmark's floor: one window and one icon, then its message loop.
// trayfloor wait "Class" "Title" <icon id> <ms>: waits until that window's
// icon is in the tray (a modify of nothing succeeds only then), checking
// every millisecond; exit 0 when it is, 1 when the time ran out.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

namespace {

const char kClass[] = "TrayFloor";

bool HasIcon(const char* cls, const char* title, UINT id) {
    HWND hwnd = FindWindowA(cls, title);
    if (!hwnd) return false;
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != 0;
}

int Wait(const char* cls, const char* title, UINT id, DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (HasIcon(cls, title, id)) return 0;
        Sleep(1);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "wait") == 0)
        return Wait(argv[2], argv[3], static_cast<UINT>(std::strtoul(argv[4], nullptr, 0)),
                    static_cast<DWORD>(std::strtoul(argv[5], nullptr, 0)));
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    if (!RegisterClassA(&wc)) return 1;
    HWND hwnd = CreateWindowA(kClass, kClass, WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    if (!hwnd) return 1;
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    std::strcpy(nid.szTip, kClass);
    if (!Shell_NotifyIconA(NIM_ADD, &nid)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
