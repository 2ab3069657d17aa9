// What the program asks about the host system (kernel32): its version and
// whether a file exists.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

constexpr std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;
constexpr std::uint32_t OSVERSIONINFOEXA_SIZE = 156;
constexpr std::uint32_t OSVERSIONINFOA_SIZE = 148;

// The fields of OSVERSIONINFO(EX)A the program reads. The caller sets
// dwOSVersionInfoSize (156 or 148); the backend passes a zeroed platform
// record of that size and copies the answer back.
struct OsVersionInfo {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
};
// Nonzero on success.
int GetVersionExA(OsVersionInfo* info);

constexpr std::uint32_t OF_EXIST = 0x4000;
constexpr std::int32_t HFILE_ERROR = -1;
// OpenFile with an OFSTRUCT of the backend's own; only OF_EXIST is used.
std::int32_t OpenFile(const char* fileName, std::uint32_t style);

}  // namespace os
