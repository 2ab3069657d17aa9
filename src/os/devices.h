// Device calls: the Setup API device list (setupapi) and the COM methods of
// the DirectShow device walk (ole32). One function per call or COM method;
// every out pointer is cleared when the call fails.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

// A GUID in its Windows memory layout.
struct Guid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

// ---- Setup API
using Hdevinfo = std::uint32_t;
constexpr Hdevinfo INVALID_HANDLE_VALUE = 0xFFFFFFFFu;
constexpr std::uint32_t DIGCF_PRESENT = 0x2;
constexpr std::uint32_t DIGCF_ALLCLASSES = 0x4;
constexpr std::uint32_t SPDRP_HARDWAREID = 1;
constexpr std::uint32_t ERROR_INVALID_DATA = 13;
constexpr std::uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
constexpr std::uint32_t ERROR_NO_MORE_ITEMS = 259;

struct SpDevinfoData {  // SP_DEVINFO_DATA on 32-bit Windows
    std::uint32_t cbSize;
    Guid classGuid;
    std::uint32_t devInst;
    std::uint32_t reserved;
};
constexpr std::uint32_t kSpDevinfoDataSize = 28;

Hdevinfo SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator, Hwnd parent,
                              std::uint32_t flags);
int SetupDiEnumDeviceInfo(Hdevinfo set, std::uint32_t memberIndex, SpDevinfoData* data);
int SetupDiGetDeviceRegistryPropertyA(Hdevinfo set, SpDevinfoData* data, std::uint32_t property,
                                      std::uint32_t* regType, std::uint8_t* buffer,
                                      std::uint32_t bufferSize, std::uint32_t* requiredSize);
int SetupDiDestroyDeviceInfoList(Hdevinfo set);
std::uint32_t GetLastError();

// LocalAlloc(LMEM_ZEROINIT) and LocalFree: null when out of memory.
void* LocalAllocZeroed(std::uint32_t size);
void LocalFree(void* memory);

// ---- COM
constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
constexpr HResult E_POINTER = static_cast<HResult>(0x80004003u);

HResult CoInitialize(void* reserved);
void CoUninitialize();
HResult CoCreateInstance(const Guid& clsid, ComPtr outer, std::uint32_t context, const Guid& iid,
                         ComPtr* object);
// ICreateDevEnum::CreateClassEnumerator
HResult CreateClassEnumerator(ComPtr devEnum, const Guid& category, ComPtr* enumMoniker,
                              std::uint32_t flags);
// IEnumMoniker::Reset and IEnumMoniker::Next(1)
HResult EnumMonikerReset(ComPtr enumMoniker);
HResult EnumMonikerNext(ComPtr enumMoniker, ComPtr* moniker);
// IMoniker::BindToStorage and IMoniker::BindToObject, no bind context
HResult BindToStorage(ComPtr moniker, const Guid& iid, ComPtr* object);
HResult BindToObject(ComPtr moniker, const Guid& iid, ComPtr* object);
// IPropertyBag::Read of a string property into `buffer` as ANSI text
// (VariantInit, Read, WideCharToMultiByte, VariantClear). The result is the
// Read's; a value that is not a string or does not fit leaves buffer[0] 0.
HResult PropertyBagRead(ComPtr propertyBag, const char16_t* name, char* buffer,
                        std::uint32_t bufferSize);
// IFilterGraph::AddFilter
HResult AddFilter(ComPtr graph, ComPtr filter, const char16_t* name);
// IUnknown
HResult QueryInterface(ComPtr object, const Guid& iid, ComPtr* result);
std::uint32_t Release(ComPtr object);

}  // namespace os
