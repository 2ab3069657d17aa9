// The card's driver: buffer addresses and IKsControl::KsProperty.
#include <cstdint>

#include "os/os.h"
#include "os/win32/win32_ks_control.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace os {

// On 32-bit Windows the driver reads and writes through plain pointers.
std::uint32_t BufferAddress(void* buffer) {
    static_assert(sizeof(void*) == sizeof(std::uint32_t), "32-bit build only");
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(buffer));
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
