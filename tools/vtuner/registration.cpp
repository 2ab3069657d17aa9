// regsvr32 support: the COM class, and the device entry DirectShow's
// system device enumerator lists under the chosen category and name.
#include <cstdio>
#include <cstring>

#include <olectl.h>

#include "vtuner.h"

namespace vt {

namespace {

constexpr const char* kDefaultName = "713x BDA Analog Capture";
constexpr DWORD kMaxName = 128;

void ChooseName(char* name, DWORD size) {
    DWORD n = GetEnvironmentVariableA("VTUNER_NAME", name, size);
    if (n > 0 && n < size) return;
    if (ReadRegString(HKEY_LOCAL_MACHINE, kSettingsKey, "FriendlyName", name, size)) return;
    std::strncpy(name, kDefaultName, size - 1);
    name[size - 1] = 0;
}

// "capture", "main" or a GUID text; without one the name decides.
bool ChooseCategory(const char* name, char* category, DWORD size) {
    char want[64];
    DWORD n = GetEnvironmentVariableA("VTUNER_CATEGORY", want, sizeof want);
    if (n == 0 || n >= sizeof want) {
        if (!ReadRegString(HKEY_LOCAL_MACHINE, kSettingsKey, "Category", want, sizeof want))
            want[0] = 0;
    }
    const GUID* cat = std::strstr(name, "BDA Main Device") ? &CATEGORY_MainDevice : &CATEGORY_Capture;
    if (_stricmp(want, "main") == 0) cat = &CATEGORY_MainDevice;
    else if (_stricmp(want, "capture") == 0) cat = &CATEGORY_Capture;
    else if (want[0] == '{') {
        if (std::strlen(want) != 38) return false;
        std::strncpy(category, want, size - 1);
        category[size - 1] = 0;
        return true;
    } else if (want[0] != 0) {
        return false;
    }
    GuidToString(*cat, category, size);
    return true;
}

bool SetString(HKEY key, const char* name, const char* value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}

bool WriteKey(const char* path, const char* name, const char* value, HKEY* keep = nullptr) {
    HKEY h;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = SetString(h, name, value);
    if (keep) *keep = h;
    else RegCloseKey(h);
    return ok;
}

void RemoveInstance(const GUID& category, const char* clsid) {
    char cat[40], key[128];
    GuidToString(category, cat, sizeof cat);
    std::snprintf(key, sizeof key, "CLSID\\%s\\Instance\\%s", cat, clsid);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
}

} // namespace

} // namespace vt

extern "C" HRESULT WINAPI DllRegisterServer() {
    using namespace vt;
    char clsid[40], path[MAX_PATH], key[160], name[kMaxName], category[64];
    GuidToString(CLSID_VirtualTuner, clsid, sizeof clsid);
    DWORD n = GetModuleFileNameA(g_hModule, path, sizeof path);
    if (n == 0 || n >= sizeof path) return SELFREG_E_CLASS;
    ChooseName(name, sizeof name);
    if (!ChooseCategory(name, category, sizeof category)) return E_INVALIDARG;

    std::snprintf(key, sizeof key, "CLSID\\%s", clsid);
    if (!WriteKey(key, nullptr, "Virtual Tuner")) return SELFREG_E_CLASS;
    std::snprintf(key, sizeof key, "CLSID\\%s\\InprocServer32", clsid);
    HKEY server;
    if (!WriteKey(key, nullptr, path, &server)) return SELFREG_E_CLASS;
    bool ok = SetString(server, "ThreadingModel", "Both");
    RegCloseKey(server);
    if (!ok) return SELFREG_E_CLASS;

    // One device at a time: a new registration replaces the old one.
    RemoveInstance(CATEGORY_Capture, clsid);
    RemoveInstance(CATEGORY_MainDevice, clsid);
    std::snprintf(key, sizeof key, "CLSID\\%s\\Instance\\%s", category, clsid);
    HKEY inst;
    if (!WriteKey(key, "FriendlyName", name, &inst)) return SELFREG_E_CLASS;
    ok = SetString(inst, "CLSID", clsid);
    RegCloseKey(inst);
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    using namespace vt;
    char clsid[40], key[160];
    GuidToString(CLSID_VirtualTuner, clsid, sizeof clsid);
    RemoveInstance(CATEGORY_Capture, clsid);
    RemoveInstance(CATEGORY_MainDevice, clsid);
    std::snprintf(key, sizeof key, "CLSID\\%s\\InprocServer32", clsid);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    std::snprintf(key, sizeof key, "CLSID\\%s", clsid);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    return S_OK;
}
