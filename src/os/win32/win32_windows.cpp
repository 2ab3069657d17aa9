// Top-level window search, text and activation.
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

using win32::FromHwnd;
using win32::ToHwnd;

namespace os {

Hwnd GetDesktopWindow() { return FromHwnd(::GetDesktopWindow()); }

Hwnd GetWindow(Hwnd hwnd, std::uint32_t cmd) { return FromHwnd(::GetWindow(ToHwnd(hwnd), cmd)); }

int GetWindowTextA(Hwnd hwnd, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    buffer[0] = '\0';
    int n = ::GetWindowTextA(ToHwnd(hwnd), buffer, maxCount);
    // Keep the promise of a terminated buffer even if the call misbehaves.
    if (n < 0) n = 0;
    if (n >= maxCount) n = maxCount - 1;
    buffer[n] = '\0';
    return n;
}

int GetClassNameA(Hwnd hwnd, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    buffer[0] = '\0';
    int n = ::GetClassNameA(ToHwnd(hwnd), buffer, maxCount);
    if (n < 0) n = 0;
    if (n >= maxCount) n = maxCount - 1;
    buffer[n] = '\0';
    return n;
}

Hwnd FindWindowA(const char* className, const char* title) {
    return FromHwnd(::FindWindowA(className, title));
}

Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* title) {
    return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(childAfter), className, title));
}

int IsWindowVisible(Hwnd hwnd) { return ::IsWindowVisible(ToHwnd(hwnd)) ? 1 : 0; }

int IsWindow(Hwnd hwnd) { return ::IsWindow(ToHwnd(hwnd)) ? 1 : 0; }

int SetForegroundWindow(Hwnd hwnd) { return ::SetForegroundWindow(ToHwnd(hwnd)) ? 1 : 0; }

Hwnd SetActiveWindow(Hwnd hwnd) { return FromHwnd(::SetActiveWindow(ToHwnd(hwnd))); }

Hwnd GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

int BringWindowToTop(Hwnd hwnd) { return ::BringWindowToTop(ToHwnd(hwnd)) ? 1 : 0; }

std::uint32_t GetWindowThreadProcessId(Hwnd hwnd, std::uint32_t* processId) {
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(hwnd), &process);
    if (processId) *processId = thread != 0 ? process : 0;
    return thread;
}

std::uint32_t GetCurrentThreadId() { return ::GetCurrentThreadId(); }

int AttachThreadInput(std::uint32_t thread, std::uint32_t toThread, int attach) {
    return ::AttachThreadInput(thread, toThread, attach ? TRUE : FALSE) ? 1 : 0;
}

}  // namespace os
