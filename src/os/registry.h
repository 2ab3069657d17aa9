// Registry calls (advapi32), HKEY_LOCAL_MACHINE only.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

constexpr Hkey HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr std::int32_t ERROR_SUCCESS = 0;
constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
constexpr std::int32_t ERROR_MORE_DATA = 234;
constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_READ = 0x20019;
constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;
constexpr std::uint32_t REG_QWORD = 11;

std::int32_t RegOpenKeyA(Hkey key, const char* subKey, Hkey* result);
std::int32_t RegOpenKeyExA(Hkey key, const char* subKey, std::uint32_t access, Hkey* result);
// Always non-volatile, no class, no security attributes.
std::int32_t RegCreateKeyExA(Hkey key, const char* subKey, std::uint32_t access, Hkey* result);
// `size` in: buffer size; out: bytes stored (or needed on ERROR_MORE_DATA).
// `type` and `data` may be null. An empty or null name is the default value.
std::int32_t RegQueryValueExA(Hkey key, const char* name, std::uint32_t* type, void* data,
                              std::uint32_t* size);
std::int32_t RegSetValueExA(Hkey key, const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size);
std::int32_t RegFlushKey(Hkey key);
std::int32_t RegCloseKey(Hkey key);

}  // namespace os
