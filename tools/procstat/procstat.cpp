// procstat "Class" "Title": the resource counters of the process that owns
// a top-level window, on one line:
//   handles=N private=N gdi=N user=N pagefile=N syshandles=N windows=N
// handles: GetProcessHandleCount; private and pagefile (bytes): PrivateUsage
// and PagefileUsage of GetProcessMemoryInfo (the same figure on Windows,
// the commit charge; some systems fill only one of them); gdi and user:
// GetGuiResources; syshandles: the process's entries in the system handle
// table (NtQuerySystemInformation), for systems that answer the handle
// count with 0; windows: its top-level and child windows.
// A counter the system will not give prints "n/a", never a made-up 0.
// Exit code: 0 printed, 2 usage, 3 no such window, 4 the process cannot be
// opened.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "handle_table.h"

namespace {

struct WindowCount {
    DWORD pid;
    unsigned long long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM lParam) {
    ++reinterpret_cast<WindowCount*>(lParam)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM lParam) {
    WindowCount* windows = reinterpret_cast<WindowCount*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != windows->pid) return TRUE;
    ++windows->count;
    EnumChildWindows(hwnd, CountChild, lParam);
    return TRUE;
}

void PrintCount(const char* name, bool ok, unsigned long long value) {
    if (ok)
        std::printf("%s=%llu", name, value);
    else
        std::printf("%s=n/a", name);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: procstat \"Class\" \"Title\"\n");
        return 2;
    }
    HWND hwnd = FindWindowA(argv[1], argv[2]);
    DWORD pid = 0;
    if (hwnd) GetWindowThreadProcessId(hwnd, &pid);
    if (!hwnd || pid == 0) {
        std::printf("procstat: no window \"%s\" \"%s\"\n", argv[1], argv[2]);
        return 3;
    }
    // XP wants both rights for the memory counters.
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        std::printf("procstat: cannot open process %lu (error %lu)\n", pid, GetLastError());
        return 4;
    }

    DWORD handles = 0;
    const bool handlesOk = GetProcessHandleCount(process, &handles) != 0;

    PROCESS_MEMORY_COUNTERS_EX mem;
    ZeroMemory(&mem, sizeof mem);
    mem.cb = sizeof mem;
    const bool memOk = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem),
                                            sizeof mem) != 0;

    // 0 is also the failure answer; the error code tells the two apart.
    SetLastError(0);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const bool gdiOk = gdi != 0 || GetLastError() == 0;
    SetLastError(0);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const bool userOk = user != 0 || GetLastError() == 0;
    CloseHandle(process);

    unsigned long long sysHandles = 0;
    const bool sysHandlesOk = handle_table::CountOf(pid, &sysHandles);
    WindowCount windows = {pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));

    PrintCount("handles", handlesOk, handles);
    PrintCount(" private", memOk, mem.PrivateUsage);
    PrintCount(" gdi", gdiOk, gdi);
    PrintCount(" user", userOk, user);
    PrintCount(" pagefile", memOk, mem.PagefileUsage);
    PrintCount(" syshandles", sysHandlesOk, sysHandles);
    PrintCount(" windows", true, windows.count);
    std::printf("\n");
    return 0;
}
