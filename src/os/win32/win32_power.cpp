// Power-off: the shutdown privilege of the process token and ExitWindowsEx.
#include "os/dialogs.h"
#include "os/os.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace os {

int OpenProcessToken(std::uint32_t access, Htoken* token) {
    if (!token) return 0;
    *token = 0;
    HANDLE h = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), access, &h)) return 0;
    *token = static_cast<Htoken>(reinterpret_cast<std::uintptr_t>(h));
    return 1;
}

int CloseHandle(Htoken token) {
    return ::CloseHandle(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(token))) ? 1 : 0;
}

std::uint32_t AdjustTokenPrivileges(Htoken token, const char* privilege, std::uint32_t attributes) {
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = attributes;
    if (!privilege || !::LookupPrivilegeValueA(nullptr, privilege, &tp.Privileges[0].Luid))
        return privilege ? ::GetLastError() : ERROR_INVALID_PARAMETER;
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(token));
    ::AdjustTokenPrivileges(h, FALSE, &tp, 0, nullptr, nullptr);
    return ::GetLastError();
}

int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) ? 1 : 0;
}

}  // namespace os
