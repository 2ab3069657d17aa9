// The card's driver: buffer addresses and IKsControl::KsProperty.
#include <cstdint>

#include "os/os.h"
#include "os/win32/win32_ks_control.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace os {

// The driver reads and writes through plain 32-bit pointers. A 64-bit
// build (Wine only) passes 0 for a buffer above 4 GB: the request fails
// instead of writing somewhere else.
std::uint32_t BufferAddress(void* buffer) {
    auto address = reinterpret_cast<std::uintptr_t>(buffer);
    return address >> 16 >> 16 ? 0 : static_cast<std::uint32_t>(address);
}

HResult KsProperty(ComPtr ksControl, void* property, std::uint32_t propertyLength, void* data,
                   std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    if (!ksControl) return E_POINTER;
    auto* control = reinterpret_cast<win32::IKsControl*>(ksControl);
    ULONG returned = 0;
    HRESULT hr = control->KsProperty(property, propertyLength, data, dataLength, &returned);
    if (bytesReturned) *bytesReturned = returned;
    return hr;
}

}  // namespace os
