// Settings store over the registry boundary.
#include "config/settings_store.h"

#include <cstring>

#include "core/records.h"
#include "os/registry.h"

const char kSettingsKey[] = "Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi";

std::int32_t PDCounter = 0;

namespace {

enum class Setting { DefaultApp, RemoteOff, KeyLayout, Counter };

struct SettingRow {
    const char* szName;
    Setting what;
};

// In the order they are read.
const SettingRow kSettings[] = {
    {"DefaultTVAPP", Setting::DefaultApp},
    {"AlwaysRemoteOff", Setting::RemoteOff},
    {"Default41keyIR", Setting::KeyLayout},
    {"PDCounter", Setting::Counter},
};

std::uint32_t DefaultOf(Setting what) {
    return what == Setting::DefaultApp ? static_cast<std::uint32_t>(DefaultTVAPP) : 0;
}

void Store(Setting what, std::uint32_t value) {
    std::int32_t v = static_cast<std::int32_t>(value);
    switch (what) {
        case Setting::DefaultApp: DefaultTVAPP = v; break;
        case Setting::RemoteOff: AlwaysRemoteOff = (v == 1); break;
        case Setting::KeyLayout: nIRKEYType = v; break;
        case Setting::Counter: PDCounter = v; break;
    }
}

void WriteDword(os::Hkey key, const char* name, std::uint32_t value) {
    os::RegSetValueExA(key, name, os::REG_DWORD, &value, sizeof value);
    os::RegFlushKey(key);
}

// Reads 4 bytes whatever the type; a shorter value leaves the rest zero.
bool ReadDword(os::Hkey key, const char* name, std::uint32_t* value) {
    unsigned char buffer[4] = {0, 0, 0, 0};
    std::uint32_t size = sizeof buffer;
    std::uint32_t type = 0;
    if (os::RegQueryValueExA(key, name, &type, buffer, &size) != os::ERROR_SUCCESS) return false;
    std::memcpy(value, buffer, sizeof buffer);
    return true;
}

// `writable` is false when only read access was granted: missing values are
// then left missing.
void ReadAll(os::Hkey key, bool writable) {
    for (const SettingRow& row : kSettings) {
        std::uint32_t value = 0;
        if (ReadDword(key, row.szName, &value))
            Store(row.what, value);
        else if (writable)
            WriteDword(key, row.szName, DefaultOf(row.what));
    }
}

}  // namespace

int LoadSettings() {
    os::Hkey key = 0;
    if (os::RegOpenKeyExA(os::HKEY_LOCAL_MACHINE, kSettingsKey, os::KEY_ALL_ACCESS, &key) ==
        os::ERROR_SUCCESS) {
        ReadAll(key, true);
        os::RegCloseKey(key);
        return 1;
    }
    if (os::RegCreateKeyExA(os::HKEY_LOCAL_MACHINE, kSettingsKey, os::KEY_ALL_ACCESS, &key) ==
        os::ERROR_SUCCESS) {
        // Only these two on the first start; the others follow at the next.
        std::uint32_t app = static_cast<std::uint32_t>(DefaultTVAPP);
        std::uint32_t off = 0;
        os::RegSetValueExA(key, "DefaultTVAPP", os::REG_DWORD, &app, sizeof app);
        os::RegSetValueExA(key, "AlwaysRemoteOff", os::REG_DWORD, &off, sizeof off);
        os::RegFlushKey(key);
        os::RegCloseKey(key);
        return 1;
    }
    // A limited account may not write here, but may still read what an
    // administrator stored.
    if (os::RegOpenKeyExA(os::HKEY_LOCAL_MACHINE, kSettingsKey, os::KEY_READ, &key) ==
        os::ERROR_SUCCESS) {
        ReadAll(key, false);
        os::RegCloseKey(key);
    }
    return 1;
}

int SaveDefaultApp() {
    os::Hkey key = 0;
    if (os::RegOpenKeyExA(os::HKEY_LOCAL_MACHINE, kSettingsKey, os::KEY_ALL_ACCESS, &key) !=
        os::ERROR_SUCCESS)
        return 0;
    std::uint32_t old = 0;
    if (!ReadDword(key, "DefaultTVAPP", &old)) {
        os::RegCloseKey(key);
        return 0;
    }
    std::uint32_t app = static_cast<std::uint32_t>(DefaultTVAPP);
    int written = os::RegSetValueExA(key, "DefaultTVAPP", os::REG_DWORD, &app, sizeof app) ==
                  os::ERROR_SUCCESS;
    os::RegFlushKey(key);
    os::RegCloseKey(key);
    return written;
}
