// Host questions: the Windows version and whether a file exists.
#include "os/host.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace os {

int GetVersionExA(OsVersionInfo* info) {
    if (!info) return 0;
    OSVERSIONINFOEXA real{};
    // Only the two sizes the system knows; anything else is refused here
    // rather than letting the call write past our record.
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA) &&
        info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
        return 0;
    real.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&real))) return 0;
    info->dwMajorVersion = real.dwMajorVersion;
    info->dwMinorVersion = real.dwMinorVersion;
    info->dwBuildNumber = real.dwBuildNumber;
    info->dwPlatformId = real.dwPlatformId;
    return 1;
}

std::int32_t OpenFile(const char* fileName, std::uint32_t style) {
    if (!fileName) return HFILE_ERROR;
    OFSTRUCT of{};
    of.cBytes = sizeof(of);
    return static_cast<std::int32_t>(::OpenFile(fileName, &of, style));
}

}  // namespace os
