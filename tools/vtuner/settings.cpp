// Settings of the virtual tuner and the identifiers it is known by.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vtuner.h"

namespace vt {

const GUID CLSID_VirtualTuner = {0xA7C3E1F2, 0x5B64, 0x4D8E, {0x9F, 0x10, 0x2C, 0x3B, 0x4D, 0x5E, 0x6F, 0x70}};
const GUID CATEGORY_Capture = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID CATEGORY_MainDevice = {0xCC7BFB46, 0xF175, 0x11D1, {0xA3, 0x92, 0x00, 0xE0, 0x29, 0x1F, 0x39, 0x59}};
const GUID IID_KsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

void GuidToString(const GUID& g, char* buf, size_t size) {
    std::snprintf(buf, size, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}

bool ReadRegString(HKEY root, const char* key, const char* name, char* buf, DWORD size) {
    buf[0] = 0;
    HKEY h;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD len = size - 1; // room for a terminator the value may lack
    LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &len);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ || len >= size) {
        buf[0] = 0;
        return false;
    }
    buf[len] = 0;
    return buf[0] != 0;
}

// A number given as REG_DWORD, or as REG_SZ text ("0x7162", "6").
static DWORD ReadRegNumber(HKEY h, const char* name, DWORD fallback) {
    BYTE raw[64];
    DWORD type = 0;
    DWORD len = sizeof raw - 1;
    if (RegQueryValueExA(h, name, nullptr, &type, raw, &len) != ERROR_SUCCESS) return fallback;
    if (type == REG_DWORD && len == 4) {
        DWORD v;
        std::memcpy(&v, raw, 4);
        return v;
    }
    if (type == REG_SZ && len < sizeof raw) {
        raw[len] = 0;
        char* end = nullptr;
        unsigned long v = std::strtoul(reinterpret_cast<char*>(raw), &end, 0);
        if (end != reinterpret_cast<char*>(raw)) return static_cast<DWORD>(v);
    }
    return fallback;
}

static bool RegisteredUnder(const GUID& category) {
    char cat[40], clsid[40], key[128];
    GuidToString(category, cat, sizeof cat);
    GuidToString(CLSID_VirtualTuner, clsid, sizeof clsid);
    std::snprintf(key, sizeof key, "CLSID\\%s\\Instance\\%s", cat, clsid);
    HKEY h;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void LoadSettings(Settings* s) {
    std::strcpy(s->szFeedFile, "C:\\vtuner\\feed.txt");
    std::strcpy(s->szLogFile, "C:\\vtuner\\requests.log");
    s->nReadyPin = 6;
    s->nChipId = 0x7162;
    s->bRefuse = 0;
    s->bMainDevice = RegisteredUnder(CATEGORY_MainDevice);

    char buf[MAX_PATH];
    if (ReadRegString(HKEY_LOCAL_MACHINE, kSettingsKey, "FeedFile", buf, sizeof buf))
        std::strcpy(s->szFeedFile, buf);
    if (ReadRegString(HKEY_LOCAL_MACHINE, kSettingsKey, "LogFile", buf, sizeof buf))
        std::strcpy(s->szLogFile, buf);
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &h) == ERROR_SUCCESS) {
        s->nReadyPin = ReadRegNumber(h, "ReadyPin", s->nReadyPin);
        s->nChipId = ReadRegNumber(h, "ChipId", s->nChipId) & 0xFFFF;
        s->bRefuse = ReadRegNumber(h, "Refuse", 0);
        RegCloseKey(h);
    }
}

} // namespace vt
