// Application locator over the registry boundary.
#include "config/app_locator.h"

#include <cstring>

#include "os/registry.h"

const LocatorRow LocatorRows[kLocatorRowCount] = {
    {&ArcSoftTV5, "SOFTWARE\\ArcSoft\\ArcSoft TV\\5.0", "AppPath", "TotalMediaTV5.exe",
     "_MIRACLE_20090309_1", "Arcsoft TV 5.0"},
    {&TotalMedia35, "SOFTWARE\\ArcSoft\\TotalMedia", "AppPath", "TotalMedia.exe",
     "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia"},
    {&OrbiskCenter, "Software\\Tarvel Multimedia\\Quessa\\Vorn", "AppPath", "Kestrin.exe",
     "TarvelMainPanel_Class", "Orbisk Center"},
    {&MediaCenter, "SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "", "",
     "eHome Render Window", "eHome Render Window"},
    {&PowerCinema, "SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "PowerCinema.exe", "",
     "PowerCinema"},
    {&TVEnhance, "SOFTWARE\\CyberLink\\TVEnhance", "InstallPath", "TVEnhance.exe", "",
     "TVEnhance"},
    {&Savrin, "Software\\Tarvel Multimedia\\Pelko", "AppPath", "Nolvo.exe", "", "Dravune"},
    {&Orbisk, "Software\\Tarvel Multimedia\\Mirrow\\Vorn", "AppPath", "Brisel.exe",
     "TarvelMainPanel_Class", "TVR"},
};

namespace {

const char kSharedFallbackKey[] = "Software\\Tarvel Multimedia\\Zinder\\Vorn";

// Only these two rows fall back, by the exact text of their key.
bool HasSharedFallback(const char* key) {
    return std::strcmp(key, "Software\\Tarvel Multimedia\\Quessa\\Vorn") == 0 ||
           std::strcmp(key, "Software\\Tarvel Multimedia\\Mirrow\\Vorn") == 0;
}

template <std::size_t N>
void CopyText(char (&dest)[N], const char* text) {
    std::size_t len = std::strlen(text);
    if (len >= N) len = N - 1;
    std::memcpy(dest, text, len);
    dest[len] = '\0';
}

}  // namespace

int ReadInstallLocation(AppController& app, const char* subKey, const char* valueName,
                        const char* exeName) {
    app.bInstalled = 0;
    os::Hkey key = 0;
    if (os::RegOpenKeyA(os::HKEY_LOCAL_MACHINE, subKey, &key) != os::ERROR_SUCCESS) return 0;
    // Read into a zeroed buffer of the field's size so that data without a
    // terminator can be recognised instead of running past the field.
    char buffer[sizeof app.szInstallDir] = {};
    std::uint32_t size = sizeof buffer;
    std::int32_t rc = os::RegQueryValueExA(key, valueName, nullptr, buffer, &size);
    os::RegCloseKey(key);
    if (rc != os::ERROR_SUCCESS) return 0;
    if (std::memchr(buffer, '\0', sizeof buffer) == nullptr) return 0;
    std::memcpy(app.szInstallDir, buffer, sizeof buffer);
    CopyText(app.szExeName, exeName);
    app.bInstalled = 1;
    app.bActive = 0;
    return 1;
}

void LocateApplication(const LocatorRow& row) {
    AppController& app = *row.pApp;
    if (!ReadInstallLocation(app, row.szKey, row.szValue, row.szExeName) &&
        HasSharedFallback(row.szKey))
        ReadInstallLocation(app, kSharedFallbackKey, row.szValue, row.szExeName);
    CopyText(app.szClassName, row.szClassName);
    CopyText(app.szWindowTitle, row.szWindowTitle);
}

void LocateApplications() {
    for (const LocatorRow& row : LocatorRows) LocateApplication(row);
}
