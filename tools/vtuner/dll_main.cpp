// DLL entry points and the class factory of the virtual tuner.
#include "vtuner.h"

namespace vt {

HMODULE g_hModule = nullptr;
volatile LONG g_nObjects = 0;
volatile LONG g_nLocks = 0;

namespace {

// One static factory; its references do not keep the DLL loaded.
class TunerFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return CreateTunerFilter(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) InterlockedIncrement(&g_nLocks);
        else InterlockedDecrement(&g_nLocks);
        return S_OK;
    }
};

TunerFactory g_factory;

} // namespace

} // namespace vt

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vt::g_hModule = instance;
        vt::InitRequestLock();
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        vt::CloseLog();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, vt::CLSID_VirtualTuner)) return CLASS_E_CLASSNOTAVAILABLE;
    return vt::g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return (vt::g_nObjects == 0 && vt::g_nLocks == 0) ? S_OK : S_FALSE;
}
