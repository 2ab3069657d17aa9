// The kernel-streaming control interface of the card's capture driver.
// Declared here so the build does not depend on which DDK headers the
// toolchain ships; the vtable order is QueryInterface, AddRef, Release,
// KsProperty, KsMethod, KsEvent. Include it after the boundary headers.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace win32 {

struct IKsControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(void* property, ULONG propertyLength, void* data,
                                                 ULONG dataLength, ULONG* bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsMethod(void* method, ULONG methodLength, void* data,
                                               ULONG dataLength, ULONG* bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsEvent(void* event, ULONG eventLength, void* data,
                                              ULONG dataLength, ULONG* bytesReturned) = 0;
};

// {28F54685-06FD-11D2-B27A-00A0C9223196}
constexpr GUID kIID_IKsControl = {0x28F54685, 0x06FD, 0x11D2,
                                  {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

}  // namespace win32
