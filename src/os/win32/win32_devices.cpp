// Device calls: the Setup API device list and the COM methods of the
// DirectShow device walk, each passed straight to the real call.
#include "os/devices.h"
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <setupapi.h>
#include <strmif.h>

#include <cstdint>
#include <cstring>

namespace {

static_assert(sizeof(os::Guid) == sizeof(GUID), "GUID layout");
static_assert(sizeof(char16_t) == sizeof(WCHAR), "UTF-16 text");

const GUID& ToGuid(const os::Guid& g) { return *reinterpret_cast<const GUID*>(&g); }
LPCWSTR ToWide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }

HDEVINFO ToDevinfo(os::Hdevinfo h) { return reinterpret_cast<HDEVINFO>(win32::Widen(h)); }

template <typename T>
T* As(os::ComPtr p) { return reinterpret_cast<T*>(p); }

os::ComPtr FromCom(void* p) { return reinterpret_cast<os::ComPtr>(p); }

// The boundary's SP_DEVINFO_DATA is the 32-bit one. A 64-bit build (Wine
// only) widens the size it names and gets the last enumerated entry's
// full-width Reserved field back, which is SetupAPI's own pointer.
SP_DEVINFO_DATA g_lastEnumerated;

void ToReal(const os::SpDevinfoData& in, SP_DEVINFO_DATA* out) {
    out->cbSize = in.cbSize == os::kSpDevinfoDataSize ? sizeof(SP_DEVINFO_DATA) : in.cbSize;
    std::memcpy(&out->ClassGuid, &in.classGuid, sizeof(GUID));
    out->DevInst = in.devInst;
    out->Reserved = static_cast<ULONG_PTR>(in.reserved);
    if (in.devInst == g_lastEnumerated.DevInst &&
        in.reserved == static_cast<std::uint32_t>(g_lastEnumerated.Reserved))
        out->Reserved = g_lastEnumerated.Reserved;
}

void FromReal(const SP_DEVINFO_DATA& in, os::SpDevinfoData* out) {
    out->cbSize = in.cbSize == sizeof(SP_DEVINFO_DATA) ? os::kSpDevinfoDataSize : in.cbSize;
    std::memcpy(&out->classGuid, &in.ClassGuid, sizeof(GUID));
    out->devInst = in.DevInst;
    out->reserved = static_cast<std::uint32_t>(in.Reserved);
    g_lastEnumerated = in;
}

// IMoniker::BindToStorage or BindToObject, without bind context.
HRESULT Bind(os::ComPtr moniker, const os::Guid& iid, os::ComPtr* object, bool storage) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!moniker) return E_POINTER;
    void* bound = nullptr;
    IMoniker* m = As<IMoniker>(moniker);
    HRESULT hr = storage ? m->BindToStorage(nullptr, nullptr, ToGuid(iid), &bound)
                         : m->BindToObject(nullptr, nullptr, ToGuid(iid), &bound);
    *object = SUCCEEDED(hr) ? FromCom(bound) : nullptr;
    return hr;
}

}  // namespace

namespace os {

// ---- Setup API

Hdevinfo SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator, Hwnd parent,
                              std::uint32_t flags) {
    HDEVINFO set = ::SetupDiGetClassDevsA(classGuid ? &ToGuid(*classGuid) : nullptr, enumerator,
                                          win32::ToHwnd(parent), flags);
    return static_cast<Hdevinfo>(reinterpret_cast<std::uintptr_t>(set));
}

int SetupDiEnumDeviceInfo(Hdevinfo set, std::uint32_t memberIndex, SpDevinfoData* data) {
    if (!data) return 0;
    SP_DEVINFO_DATA real;
    ToReal(*data, &real);
    BOOL ok = ::SetupDiEnumDeviceInfo(ToDevinfo(set), memberIndex, &real);
    if (ok) FromReal(real, data);
    return ok ? 1 : 0;
}

int SetupDiGetDeviceRegistryPropertyA(Hdevinfo set, SpDevinfoData* data, std::uint32_t property,
                                      std::uint32_t* regType, std::uint8_t* buffer,
                                      std::uint32_t bufferSize, std::uint32_t* requiredSize) {
    if (!data) return 0;
    SP_DEVINFO_DATA real;
    ToReal(*data, &real);
    DWORD type = 0;
    DWORD required = 0;
    BOOL ok = ::SetupDiGetDeviceRegistryPropertyA(ToDevinfo(set), &real, property, &type, buffer,
                                                  bufferSize, &required);
    if (regType) *regType = type;
    if (requiredSize) *requiredSize = required;
    return ok ? 1 : 0;
}

int SetupDiDestroyDeviceInfoList(Hdevinfo set) {
    return ::SetupDiDestroyDeviceInfoList(ToDevinfo(set)) ? 1 : 0;
}

std::uint32_t GetLastError() { return ::GetLastError(); }

void* LocalAllocZeroed(std::uint32_t size) { return ::LocalAlloc(LMEM_ZEROINIT, size); }
void LocalFree(void* memory) {
    if (memory) ::LocalFree(memory);
}

// ---- COM

HResult CoInitialize(void* reserved) { return ::CoInitialize(reserved); }
void CoUninitialize() { ::CoUninitialize(); }

HResult CoCreateInstance(const Guid& clsid, ComPtr outer, std::uint32_t context, const Guid& iid,
                         ComPtr* object) {
    if (!object) return E_POINTER;
    void* created = nullptr;
    HRESULT hr = ::CoCreateInstance(ToGuid(clsid), As<IUnknown>(outer), context, ToGuid(iid), &created);
    *object = SUCCEEDED(hr) ? FromCom(created) : nullptr;
    return hr;
}

HResult CreateClassEnumerator(ComPtr devEnum, const Guid& category, ComPtr* enumMoniker,
                              std::uint32_t flags) {
    if (!enumMoniker) return E_POINTER;
    *enumMoniker = nullptr;
    if (!devEnum) return E_POINTER;
    IEnumMoniker* walk = nullptr;
    HRESULT hr = As<ICreateDevEnum>(devEnum)->CreateClassEnumerator(ToGuid(category), &walk, flags);
    *enumMoniker = hr == S_OK ? FromCom(walk) : nullptr;
    if (hr != S_OK && walk) walk->Release();
    return hr;
}

HResult EnumMonikerReset(ComPtr enumMoniker) {
    if (!enumMoniker) return E_POINTER;
    return As<IEnumMoniker>(enumMoniker)->Reset();
}

HResult EnumMonikerNext(ComPtr enumMoniker, ComPtr* moniker) {
    if (!moniker) return E_POINTER;
    *moniker = nullptr;
    if (!enumMoniker) return E_POINTER;
    IMoniker* next = nullptr;
    HRESULT hr = As<IEnumMoniker>(enumMoniker)->Next(1, &next, nullptr);
    if (hr == S_OK) {
        *moniker = FromCom(next);
    } else if (next) {
        next->Release();
    }
    return hr;
}

HResult BindToStorage(ComPtr moniker, const Guid& iid, ComPtr* object) {
    return Bind(moniker, iid, object, true);
}

HResult BindToObject(ComPtr moniker, const Guid& iid, ComPtr* object) {
    return Bind(moniker, iid, object, false);
}

HResult PropertyBagRead(ComPtr propertyBag, const char16_t* name, char* buffer,
                        std::uint32_t bufferSize) {
    if (!propertyBag || !buffer || bufferSize == 0) return E_POINTER;
    buffer[0] = 0;
    VARIANT value;
    ::VariantInit(&value);
    HRESULT hr = As<IPropertyBag>(propertyBag)->Read(ToWide(name), &value, nullptr);
    // Only a string that fits, NUL included, is a name; the call writes
    // nothing past bufferSize and returns 0 when it would not fit.
    if (SUCCEEDED(hr) && value.vt == VT_BSTR && value.bstrVal) {
        int copied = ::WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, buffer,
                                           static_cast<int>(bufferSize), nullptr, nullptr);
        if (copied == 0) buffer[0] = 0;
    }
    buffer[bufferSize - 1] = 0;
    ::VariantClear(&value);
    return hr;
}

HResult AddFilter(ComPtr graph, ComPtr filter, const char16_t* name) {
    if (!graph || !filter) return E_POINTER;
    return As<IGraphBuilder>(graph)->AddFilter(As<IBaseFilter>(filter), ToWide(name));
}

HResult QueryInterface(ComPtr object, const Guid& iid, ComPtr* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!object) return E_POINTER;
    void* found = nullptr;
    HRESULT hr = As<IUnknown>(object)->QueryInterface(ToGuid(iid), &found);
    *result = SUCCEEDED(hr) ? FromCom(found) : nullptr;
    return hr;
}

std::uint32_t Release(ComPtr object) {
    if (!object) return 0;
    return As<IUnknown>(object)->Release();
}

}  // namespace os
