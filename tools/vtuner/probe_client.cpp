// Proves the virtual tuner without the program: lists PCI devices through
// SetupAPI, finds the tuner through DirectShow's device enumerator, adds it
// to a filter graph and sends well-formed and malformed property requests.
//   probe_client devices
//   probe_client capture <name> [code]   code: wait for a fed press
//   probe_client main <name> <chip>
// Prints one line per check; the exit code is the number of failed checks.
#include <windows.h>
#include <dshow.h>
#include <setupapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Outside the anonymous namespace: with no implementation in this file the
// compiler would otherwise take every call through it for unreachable.
struct IKsControlShape : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(void*, ULONG, void*, ULONG, ULONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsMethod(void*, ULONG, void*, ULONG, ULONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsEvent(void*, ULONG, void*, ULONG, ULONG*) = 0;
};

namespace {

const GUID kIIDKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kCapture = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kMainDevice = {0xCC7BFB46, 0xF175, 0x11D1, {0xA3, 0x92, 0x00, 0xE0, 0x29, 0x1F, 0x39, 0x59}};
// Property sets as the bytes that go on the wire.
const std::uint8_t kCapPin[16] = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                  0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
const std::uint8_t kMainPin[16] = {0x65, 0x67, 0xDF, 0x8F, 0xB7, 0x6D, 0x9B, 0x4C,
                                   0x86, 0x0B, 0x2E, 0x8D, 0xE7, 0x2D, 0x42, 0x0C};
const std::uint8_t kCapI2C[16] = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                  0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
const std::uint8_t kProbe[16] = {0xA8, 0xEB, 0xE0, 0x8E, 0xA6, 0x7D, 0xA9, 0x4A,
                                 0xBD, 0x80, 0x87, 0xE7, 0x6B, 0x8A, 0xDB, 0xC8};

const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
int g_nFailed = 0;

void Check(bool ok, const char* what, HRESULT hr) {
    std::printf("%s %s hr=0x%08lX\n", ok ? "ok" : "FAIL", what, static_cast<unsigned long>(hr));
    if (!ok) ++g_nFailed;
}

void Put32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
void Put16(std::uint8_t* p, std::uint16_t v) { std::memcpy(p, &v, 2); }
std::uint32_t Addr(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

void Header(std::uint8_t* req, const std::uint8_t* set, std::uint32_t id) {
    std::memcpy(req, set, 16);
    Put32(req + 16, id);
    Put32(req + 20, 1);
}

int ListDevices() {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) {
        std::printf("FAIL no device list\n");
        return 1;
    }
    SP_DEVINFO_DATA info;
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        char ids[1024] = {};
        if (SetupDiGetDeviceRegistryPropertyA(set, &info, SPDRP_HARDWAREID, nullptr,
                                              reinterpret_cast<BYTE*>(ids), sizeof ids - 2, nullptr))
            std::printf("device %s\n", ids);
    }
    SetupDiDestroyDeviceInfoList(set);
    return 0;
}

IBaseFilter* FindFilter(const GUID& category, const char* want) {
    ICreateDevEnum* devEnum = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devEnum))))
        return nullptr;
    IEnumMoniker* monikers = nullptr;
    HRESULT hr = devEnum->CreateClassEnumerator(category, &monikers, 0);
    devEnum->Release();
    Check(hr == S_OK, "category lists a device", hr);
    if (hr != S_OK) return nullptr;
    IBaseFilter* found = nullptr;
    IMoniker* m = nullptr;
    while (!found && monikers->Next(1, &m, nullptr) == S_OK) {
        IPropertyBag* bag = nullptr;
        if (SUCCEEDED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            VARIANT v;
            VariantInit(&v);
            char name[128] = {};
            if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR)
                WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, name, sizeof name - 1, nullptr, nullptr);
            VariantClear(&v);
            bag->Release();
            std::printf("moniker \"%s\"\n", name);
            if (std::strcmp(name, want) == 0) {
                hr = m->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&found));
                Check(SUCCEEDED(hr), "bind the named device", hr);
            }
        }
        m->Release();
    }
    monikers->Release();
    return found;
}

HRESULT CapPin(IKsControlShape* ks, std::uint8_t pin, std::uint8_t* level, ULONG length = 32,
               std::uint32_t flags = 1) {
    std::uint8_t req[48] = {};
    Header(req, kCapPin, 0);
    Put32(req + 20, flags);
    req[24] = pin;
    *level = pin;
    ULONG got = 0;
    return ks->KsProperty(req, length, level, 1, &got);
}

HRESULT CapI2C(IKsControlShape* ks, std::uint8_t* read4) {
    std::uint8_t req[48] = {}, write = 0, data[8] = {};
    Header(req, kCapI2C, 0);
    req[24] = 0x60;
    Put32(req + 28, Addr(&write));
    Put32(req + 32, 0);
    Put32(req + 36, Addr(read4));
    Put32(req + 40, 4);
    ULONG got = 0;
    return ks->KsProperty(req, 48, data, 8, &got);
}

HRESULT Probe(IKsControlShape* ks, std::uint16_t chip, std::uint8_t* found) {
    std::uint8_t req[40] = {}, data = 0xFE;
    Header(req, kProbe, 0);
    Put32(req + 24, 2);
    Put16(req + 28, chip);
    Put32(req + 32, Addr(found));
    ULONG got = 0;
    return ks->KsProperty(req, 40, &data, 1, &got);
}

HRESULT MainPin(IKsControlShape* ks, std::uint16_t chip, std::uint8_t pin, std::uint8_t* level) {
    std::uint8_t req[32] = {};
    Header(req, kMainPin, 1);
    Put32(req + 24, 2);
    Put16(req + 28, chip);
    req[30] = 1;
    req[31] = pin;
    *level = 0;
    ULONG got = 0;
    return ks->KsProperty(req, 32, level, 1, &got);
}

void CaptureChecks(IKsControlShape* ks, int waitCode) {
    std::uint8_t level = 0xEE, read4[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    HRESULT hr = CapPin(ks, 6, &level);
    Check(hr == S_OK && level == 0, "ready pin low while idle", hr);
    hr = CapI2C(ks, read4);
    Check(hr == S_OK && read4[0] == 0xFF, "i2c reads no key while idle", hr);
    Check(CapPin(ks, 6, &level, 31) == E_INVALIDARG, "short request refused", E_INVALIDARG);
    Check(CapPin(ks, 6, &level, 32, 2) == E_INVALIDARG, "set-property flags refused", E_INVALIDARG);
    std::uint8_t found = 0;
    hr = Probe(ks, 0x7162, &found);
    Check(hr == kNotFound && found == 0, "main-device probe unknown to the capture driver", hr);
    std::uint8_t req[32] = {}, data = 0;
    Header(req, kCapPin, 0);
    req[0] ^= 1;
    ULONG got = 0;
    hr = ks->KsProperty(req, 32, &data, 1, &got);
    Check(hr == kNotFound, "unknown property set refused", hr);
    Header(req, kCapPin, 3);
    hr = ks->KsProperty(req, 32, &data, 1, &got);
    Check(hr == kNotFound, "unknown property id refused", hr);
    if (waitCode < 0) return;
    DWORD start = GetTickCount();
    bool seen = false;
    while (!seen && GetTickCount() - start < 5000) {
        if (CapPin(ks, 6, &level) == S_OK && level == 1 && CapI2C(ks, read4) == S_OK && read4[0] == waitCode)
            seen = true;
        else
            Sleep(20);
    }
    Check(seen, "fed press read back through the ready pin and i2c", S_OK);
    bool bits = true;
    for (std::uint8_t pin = 0; pin < 6 && seen; ++pin)
        if (CapPin(ks, pin, &level) != S_OK || level != ((waitCode >> pin) & 1)) bits = false;
    Check(bits, "pins 0..5 carry the code bits", S_OK);
}

void MainChecks(IKsControlShape* ks, std::uint16_t chip) {
    std::uint8_t found = 0;
    std::uint16_t id = 0x7164;
    for (; id >= 0x7160 && !found; --id) Probe(ks, id, &found);
    Check(found == 1 && id + 1 == chip, "probe finds the configured chip", S_OK);
    std::uint8_t level = 0xEE;
    HRESULT hr = MainPin(ks, chip, 6, &level);
    Check(hr == S_OK && level == 0, "main-device pin read with the found chip", hr);
    hr = MainPin(ks, static_cast<std::uint16_t>(chip ^ 1), 6, &level);
    Check(hr == kNotFound, "pin read for another chip refused", hr);
    hr = CapPin(ks, 6, &level);
    Check(hr == kNotFound, "capture pin read unknown to the main device", hr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "devices") == 0) return ListDevices();
    if (argc < 3) {
        std::printf("usage: probe_client devices | capture <name> [code] | main <name> <chip>\n");
        return 2;
    }
    bool main = std::strcmp(argv[1], "main") == 0;
    CoInitialize(nullptr);
    IGraphBuilder* graph = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&graph));
    Check(SUCCEEDED(hr), "filter graph", hr);
    IBaseFilter* filter = FindFilter(main ? kMainDevice : kCapture, argv[2]);
    Check(filter != nullptr, "named device found", S_OK);
    if (graph && filter) {
        hr = graph->AddFilter(filter, L"7160 BDA Main Device0");
        Check(SUCCEEDED(hr), "AddFilter", hr);
        IKsControlShape* ks = nullptr;
        hr = filter->QueryInterface(kIIDKsControl, reinterpret_cast<void**>(&ks));
        Check(SUCCEEDED(hr) && ks, "IKsControl", hr);
        if (ks) {
            if (main)
                MainChecks(ks, static_cast<std::uint16_t>(std::strtoul(argc > 3 ? argv[3] : "0x7162", nullptr, 0)));
            else
                CaptureChecks(ks, argc > 3 ? std::atoi(argv[3]) : -1);
            ks->Release();
        }
        graph->RemoveFilter(filter);
    }
    if (filter) filter->Release();
    if (graph) graph->Release();
    CoUninitialize();
    std::printf("%d failed\n", g_nFailed);
    return g_nFailed;
}
