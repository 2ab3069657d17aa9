// Kernel services and module resources: the clock, sleeping, debugger
// output, the Windows directory, the module handle and the string table.
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace os {

std::uint32_t GetTickCount() { return ::GetTickCount(); }

void Sleep(std::uint32_t ms) { ::Sleep(ms); }

void OutputDebugStringA(const char* text) { ::OutputDebugStringA(text ? text : ""); }

std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    if (!buffer && size) return 0;
    return ::GetWindowsDirectoryA(buffer, size);
}

Hinstance GetModuleHandleA(const char* name) { return win32::FromHinstance(::GetModuleHandleA(name)); }

int LoadStringA(Hinstance instance, std::uint32_t id, char* buffer, int maxCount) {
    // A zero count would make the real call hand back a read-only pointer
    // into the resource instead of copying.
    if (!buffer || maxCount <= 0) return 0;
    return ::LoadStringA(win32::ToHinstance(instance), id, buffer, maxCount);
}

}  // namespace os
