// Media Center probes over the registry and host boundaries. Keys are
// opened for reading only: a limited account must see Media Center too.
#include "config/host_probes.h"

#include <cstdio>
#include <cstring>

#include "core/app_record.h"
#include "core/records.h"
#include "os/host.h"
#include "os/registry.h"

std::int32_t bLegacyMediaCenter = 0;

namespace {

const char kXPMediaCenterKey[] = "System\\WPA\\MediaCenter";
const char kMediaCenterKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

bool QueryVersion(os::OsVersionInfo* info) {
    *info = os::OsVersionInfo{};
    info->dwOSVersionInfoSize = os::OSVERSIONINFOEXA_SIZE;
    if (os::GetVersionExA(info)) return true;
    *info = os::OsVersionInfo{};
    info->dwOSVersionInfoSize = os::OSVERSIONINFOA_SIZE;
    return os::GetVersionExA(info) != 0;
}

int IsVistaMediaCenterPresent() {
    os::Hkey key = 0;
    if (os::RegOpenKeyExA(os::HKEY_LOCAL_MACHINE, kMediaCenterKey, os::KEY_READ, &key) !=
        os::ERROR_SUCCESS)
        return 0;
    unsigned char ident[256];
    std::uint32_t size = sizeof ident;
    std::int32_t rc = os::RegQueryValueExA(key, "Ident", nullptr, ident, &size);
    os::RegCloseKey(key);
    return rc == os::ERROR_SUCCESS;
}

int Found(std::int32_t legacy) {
    bLegacyMediaCenter = legacy;
    MediaCenter.bInstalled = 1;
    bMediaCenterPresent = 1;
    return 1;
}

}  // namespace

int IsMediaCenterAvailable() {
    // Launch reads the latest answer.
    bMediaCenterPresent = 0;
    os::OsVersionInfo v;
    if (!QueryVersion(&v)) return 0;
    if (v.dwPlatformId != os::VER_PLATFORM_WIN32_NT) return 0;
    if (v.dwMajorVersion == 5) {
        if (v.dwMinorVersion != 1) return 0;
        if (!IsXPMediaCenterInstalled() || !IsEhshellPresent()) return 0;
        return Found(1);
    }
    if (v.dwMajorVersion == 6) {
        if (!IsVistaMediaCenterPresent()) return 0;
        return Found(0);
    }
    return 0;
}

int IsXPMediaCenterInstalled() {
    os::Hkey key = 0;
    if (os::RegOpenKeyExA(os::HKEY_LOCAL_MACHINE, kXPMediaCenterKey, os::KEY_READ, &key) !=
        os::ERROR_SUCCESS)
        return 0;
    unsigned char buffer[4] = {0, 0, 0, 0};
    std::uint32_t size = sizeof buffer;
    std::int32_t rc = os::RegQueryValueExA(key, "Installed", nullptr, buffer, &size);
    os::RegCloseKey(key);
    if (rc != os::ERROR_SUCCESS) return 0;
    std::uint32_t installed = 0;
    std::memcpy(&installed, buffer, sizeof buffer);
    return installed == 1;
}

int IsEhshellPresent() {
    char dir[256];
    std::uint32_t len = os::GetWindowsDirectoryA(dir, sizeof dir);
    if (len == 0 || len >= sizeof dir) return 0;
    dir[len] = '\0';
    // Directory, "\ehome", "\" and the file name must all fit the buffer;
    // a longer name means not present rather than a name cut short.
    char path[256];
    int n = std::snprintf(path, sizeof path, "%s\\ehome\\%s", dir, "ehshell.exe");
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof path) return 0;
    return os::OpenFile(path, os::OF_EXIST) != os::HFILE_ERROR;
}
