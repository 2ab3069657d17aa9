// Registry calls (advapi32): the boundary's handles are the real HKEY
// values, and its constants have the real values, so they pass through.
#include "os/registry.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

#include <cstdint>

namespace {

HKEY ToHkey(os::Hkey key) { return reinterpret_cast<HKEY>(win32::Widen(key)); }
os::Hkey FromHkey(HKEY key) { return static_cast<os::Hkey>(reinterpret_cast<std::uintptr_t>(key)); }

static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "DWORD is 32 bits");

}  // namespace

namespace os {

std::int32_t RegOpenKeyA(Hkey key, const char* subKey, Hkey* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    HKEY out = nullptr;
    LONG rc = ::RegOpenKeyA(ToHkey(key), subKey, &out);
    *result = rc == ERROR_SUCCESS ? FromHkey(out) : 0;
    return rc;
}

std::int32_t RegOpenKeyExA(Hkey key, const char* subKey, std::uint32_t access, Hkey* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    HKEY out = nullptr;
    LONG rc = ::RegOpenKeyExA(ToHkey(key), subKey, 0, access, &out);
    *result = rc == ERROR_SUCCESS ? FromHkey(out) : 0;
    return rc;
}

std::int32_t RegCreateKeyExA(Hkey key, const char* subKey, std::uint32_t access, Hkey* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    HKEY out = nullptr;
    LONG rc = ::RegCreateKeyExA(ToHkey(key), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                nullptr, &out, nullptr);
    *result = rc == ERROR_SUCCESS ? FromHkey(out) : 0;
    return rc;
}

std::int32_t RegQueryValueExA(Hkey key, const char* name, std::uint32_t* type, void* data,
                              std::uint32_t* size) {
    if (data && !size) return ERROR_INVALID_PARAMETER;
    DWORD realType = 0;
    DWORD realSize = size ? *size : 0;
    LONG rc = ::RegQueryValueExA(ToHkey(key), name, nullptr, &realType, static_cast<LPBYTE>(data),
                                 size ? &realSize : nullptr);
    if (type) *type = realType;
    if (size) *size = realSize;
    return rc;
}

std::int32_t RegSetValueExA(Hkey key, const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size) {
    return ::RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

std::int32_t RegFlushKey(Hkey key) { return ::RegFlushKey(ToHkey(key)); }

std::int32_t RegCloseKey(Hkey key) { return ::RegCloseKey(ToHkey(key)); }

}  // namespace os
