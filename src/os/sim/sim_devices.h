// The simulated device world: the Setup API device list with hardware-ID
// lists, the DirectShow device categories with friendly names, the COM
// objects handed out for them, and a fault switch for every call that can
// fail. sim::Reset clears all of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "os/os.h"

namespace sim {

// ---- Setup API
struct DeviceDesc {
    // The hardware-ID list, most specific first. Empty: the device has no
    // hardware ID, and the read fails with ERROR_INVALID_DATA.
    std::vector<std::string> hardwareIds;
    // Nonzero: every read of the hardware IDs fails with this error.
    std::uint32_t readError = 0;
    // Nonzero: a read into too small a buffer asks for this many bytes
    // instead of the list's true size (a device that misreports).
    std::uint32_t reportedSize = 0;
};
void AddDevice(const DeviceDesc& desc);
void AddDevice(const std::vector<std::string>& hardwareIds);

// ---- DirectShow device categories
enum class FilterCategory { Capture, MainDevice };
struct FilterDesc {
    std::string friendlyName;
    bool nameIsString = true;  // false: the FriendlyName variant holds a number
    bool hasName = true;       // false: reading FriendlyName fails
    bool bagOpens = true;      // false: BindToStorage fails
    bool binds = true;         // false: BindToObject fails
    bool hasKsControl = true;  // false: the filter has no IKsControl
};
// Adds a device at the end of its category; returns its id (0, 1, ...).
int AddFilterDevice(FilterCategory category, const FilterDesc& desc);
// The device id behind a filter the program holds, or -1.
int FilterDeviceId(os::ComPtr filter);

// ---- faults
enum class DeviceCall {
    SetupDiGetClassDevsA,
    LocalAlloc,
    CreateDeviceEnumerator,  // CoCreateInstance of the system device enumerator
    CreateFilterGraph,       // CoCreateInstance of the filter graph
    CreateClassEnumerator,
    BindToStorage,
    PropertyBagRead,
    BindToObject,
    AddFilter,
    QueryInterface,
};
// After `after` calls of `call` have gone through, the next `count` fail
// with `result` (an HRESULT; ignored for the Setup API and LocalAlloc).
void FailDeviceCall(DeviceCall call, std::int64_t result, int count = 1, int after = 0);
// How often `call` was made since the reset.
int DeviceCallCount(DeviceCall call);

// ---- what the program holds
// COM objects (enumerators, monikers, bags, filters, graphs and IKsControl
// references) handed out and not yet released.
int LiveComObjects();
int LiveFilters();
// Release calls on an object whose count was already 0, or on a pointer
// the simulation never handed out.
int BadReleases();
// CoInitialize calls minus CoUninitialize calls.
int ComInitDepth();
// Device lists not destroyed, LocalAlloc blocks not freed.
int OpenDeviceLists();
int LiveLocalAllocs();
// The graph names of the filters added to graphs, in call order, with the
// device id: "7160 BDA Main Device0 #0".
std::vector<std::string> GraphAdds();

}  // namespace sim
