// The filter object: just enough IBaseFilter to join a filter graph, and
// the IKsControl the program sends its property requests through.
#include <strmif.h>

#include <cwchar>
#include <new>

#include "vtuner.h"

namespace vt {

// IKsControl's method table, declared here so the DLL needs no
// kernel-streaming headers.
struct IKsControlShape : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(void* property, ULONG propertyLength, void* data,
                                                 ULONG dataLength, ULONG* bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsMethod(void* method, ULONG methodLength, void* data, ULONG dataLength,
                                               ULONG* bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsEvent(void* event, ULONG eventLength, void* data, ULONG dataLength,
                                              ULONG* bytesReturned) = 0;
};

namespace {

// A filter without pins enumerates nothing.
class EmptyPinEnum : public IEnumPins {
public:
    EmptyPinEnum() { InterlockedIncrement(&g_nObjects); }
    virtual ~EmptyPinEnum() { InterlockedDecrement(&g_nObjects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumPins)) {
            *ppv = static_cast<IEnumPins*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_nRef); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!pins) return E_POINTER;
        return count == 0 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override { return count == 0 ? S_OK : S_FALSE; }
    STDMETHODIMP Reset() override { return S_OK; }
    STDMETHODIMP Clone(IEnumPins** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) EmptyPinEnum();
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    LONG m_nRef = 1;
};

class TunerFilter : public IBaseFilter, public IKsControlShape {
public:
    TunerFilter() {
        InterlockedIncrement(&g_nObjects);
        LoadSettings(&m_settings);
        m_szName[0] = 0;
    }
    virtual ~TunerFilter() {
        if (m_pClock) m_pClock->Release();
        InterlockedDecrement(&g_nObjects);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPersist) ||
            IsEqualIID(riid, IID_IMediaFilter) || IsEqualIID(riid, IID_IBaseFilter)) {
            *ppv = static_cast<IBaseFilter*>(this);
        } else if (IsEqualIID(riid, IID_KsControl)) {
            *ppv = static_cast<IKsControlShape*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_nRef); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0) delete this;
        return n;
    }

    // IPersist
    STDMETHODIMP GetClassID(CLSID* out) override {
        if (!out) return E_POINTER;
        *out = CLSID_VirtualTuner;
        return S_OK;
    }

    // IMediaFilter: a source of nothing, so state changes always complete.
    STDMETHODIMP Stop() override { m_state = State_Stopped; return S_OK; }
    STDMETHODIMP Pause() override { m_state = State_Paused; return S_OK; }
    STDMETHODIMP Run(REFERENCE_TIME) override { m_state = State_Running; return S_OK; }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* out) override {
        if (!out) return E_POINTER;
        *out = m_state;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override {
        if (clock) clock->AddRef();
        if (m_pClock) m_pClock->Release();
        m_pClock = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** out) override {
        if (!out) return E_POINTER;
        *out = m_pClock;
        if (m_pClock) m_pClock->AddRef();
        return S_OK;
    }

    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) EmptyPinEnum();
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP FindPin(LPCWSTR, IPin** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return static_cast<HRESULT>(0x80040216); // VFW_E_NOT_FOUND
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override {
        if (!info) return E_POINTER;
        std::wcsncpy(info->achName, m_szName, MAX_FILTER_NAME - 1);
        info->achName[MAX_FILTER_NAME - 1] = 0;
        info->pGraph = m_pGraph; // the graph holds us; we never hold it
        if (m_pGraph) m_pGraph->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
        m_pGraph = graph;
        m_szName[0] = 0;
        if (graph && name) {
            std::wcsncpy(m_szName, name, MAX_FILTER_NAME - 1);
            m_szName[MAX_FILTER_NAME - 1] = 0;
        }
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR* out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }

    // IKsControl
    STDMETHODIMP KsProperty(void* property, ULONG propertyLength, void* data, ULONG dataLength,
                            ULONG* bytesReturned) override {
        return AnswerKsProperty(m_settings, property, propertyLength, data, dataLength, bytesReturned);
    }
    STDMETHODIMP KsMethod(void*, ULONG, void*, ULONG, ULONG* bytesReturned) override {
        if (bytesReturned) *bytesReturned = 0;
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    }
    STDMETHODIMP KsEvent(void*, ULONG, void*, ULONG, ULONG* bytesReturned) override {
        if (bytesReturned) *bytesReturned = 0;
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    }

private:
    LONG m_nRef = 1;
    Settings m_settings;
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_pClock = nullptr;
    IFilterGraph* m_pGraph = nullptr;
    WCHAR m_szName[MAX_FILTER_NAME];
};

} // namespace

HRESULT CreateTunerFilter(REFIID riid, void** ppv) {
    TunerFilter* f = new (std::nothrow) TunerFilter();
    if (!f) return E_OUTOFMEMORY;
    HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
}

} // namespace vt
