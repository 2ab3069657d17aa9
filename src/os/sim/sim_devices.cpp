// The simulated device world behind os/devices.h: a device list for the
// Setup API, DirectShow categories, and small reference-counted COM objects.
// The identifiers are written out here on their own, apart from the
// program's, so a wrong identifier there finds nothing here.
#include "os/sim/sim_devices.h"

#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "os/devices.h"
#include "os/sim/sim.h"

namespace {

using os::Guid;

constexpr Guid kSystemDeviceEnum = {0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr Guid kCreateDevEnum = {0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr Guid kPropertyBag = {0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
constexpr Guid kBaseFilter = {0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kFilterGraph = {0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kGraphBuilder = {0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr Guid kCaptureCategory = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr Guid kMainDeviceCategory = {0xCC7BFB46, 0xF175, 0x11D1, {0xA3, 0x92, 0x00, 0xE0, 0x29, 0x1F, 0x39, 0x59}};

constexpr os::HResult kClassNotRegistered = static_cast<os::HResult>(0x80040154u);
constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorInvalidUserBuffer = 1784;
constexpr std::uint32_t kDevinfoHandle = 0x00D1F000u;

bool Same(const Guid& a, const Guid& b) { return std::memcmp(&a, &b, sizeof(Guid)) == 0; }

enum class Kind { DevEnum, EnumMoniker, Moniker, PropertyBag, Filter, Graph };

struct Object {
    Kind kind;
    int refs = 1;
    int device = -1;                 // moniker, bag, filter: the category device
    std::vector<int> devices;        // enumerator: the snapshot it walks
    std::size_t next = 0;
    std::vector<Object*> members;    // graph: the filters it holds
};

struct FilterDevice { sim::FilterCategory category; sim::FilterDesc desc; };
struct Fault { std::int64_t result = 0; int after = 0; int count = 0; };

struct World {
    std::vector<sim::DeviceDesc> devices;
    std::vector<FilterDevice> filters;
    std::vector<std::unique_ptr<Object>> objects;
    std::unordered_map<os::ComPtr, Object*> byHandle;  // every object ever handed out
    std::map<os::ComPtr, int> ksRefs;  // IKsControl references of the driver
    std::map<sim::DeviceCall, Fault> faults;
    std::map<sim::DeviceCall, int> calls;
    std::vector<std::string> graphAdds;
    std::uint32_t lastError = 0;
    int openLists = 0;
    int localAllocs = 0;
    int comInit = 0;
    int badReleases = 0;
};

World& W() {
    static World world;
    return world;
}

void ResetDevices() { W() = World(); }
const bool kHooked = (sim::AddResetHook(&ResetDevices), true);

// Counts the call; true (with `result`) when it is to fail.
bool Fails(sim::DeviceCall call, std::int64_t* result) {
    ++W().calls[call];
    auto it = W().faults.find(call);
    if (it == W().faults.end() || it->second.count == 0) return false;
    if (it->second.after > 0) {
        --it->second.after;
        return false;
    }
    --it->second.count;
    *result = it->second.result;
    return true;
}

os::ComPtr Hand(Object* object) { return reinterpret_cast<os::ComPtr>(object); }

Object* New(Kind kind, int device = -1) {
    W().objects.push_back(std::make_unique<Object>());
    Object* object = W().objects.back().get();
    W().byHandle[Hand(object)] = object;
    object->kind = kind;
    object->device = device;
    return object;
}

// The live object behind a pointer the simulation handed out, or null.
Object* Lookup(os::ComPtr p, Kind kind) {
    const auto it = W().byHandle.find(p);
    if (it == W().byHandle.end()) return nullptr;
    return it->second->kind == kind && it->second->refs > 0 ? it->second : nullptr;
}

// Converts a UTF-16 name of plain ASCII; anything longer than a path is cut.
std::string Narrow(const char16_t* text) {
    std::string out;
    for (int i = 0; text && text[i] && i < 260; ++i) out += static_cast<char>(text[i]);
    return out;
}

std::vector<std::uint8_t> MultiString(const std::vector<std::string>& ids) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& id : ids) {
        bytes.insert(bytes.end(), id.begin(), id.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

void ReleaseObject(Object* object) {
    if (--object->refs > 0) return;
    for (Object* member : object->members) ReleaseObject(member);
    object->members.clear();
}

bool ListOpen(os::Hdevinfo set) { return set == kDevinfoHandle && W().openLists > 0; }

int SetupError(std::uint32_t error) {
    W().lastError = error;
    return 0;
}

// IMoniker::BindToStorage (a property bag) and BindToObject (a filter).
os::HResult BindMoniker(os::ComPtr moniker, const Guid& iid, os::ComPtr* object, sim::DeviceCall call) {
    if (!object) return os::E_POINTER;
    *object = nullptr;
    Object* m = Lookup(moniker, Kind::Moniker);
    if (!m) return os::E_POINTER;
    std::int64_t result = 0;
    if (Fails(call, &result)) return static_cast<os::HResult>(result);
    const sim::FilterDesc& desc = W().filters[m->device].desc;
    const bool storage = call == sim::DeviceCall::BindToStorage;
    if (!(storage ? desc.bagOpens : desc.binds)) return os::E_FAIL;
    if (!Same(iid, storage ? kPropertyBag : kBaseFilter)) return os::E_NOINTERFACE;
    *object = Hand(New(storage ? Kind::PropertyBag : Kind::Filter, m->device));
    return os::S_OK;
}

}  // namespace

namespace sim {

void AddDevice(const DeviceDesc& desc) { W().devices.push_back(desc); }
void AddDevice(const std::vector<std::string>& hardwareIds) { AddDevice(DeviceDesc{hardwareIds}); }

int AddFilterDevice(FilterCategory category, const FilterDesc& desc) {
    W().filters.push_back({category, desc});
    return static_cast<int>(W().filters.size()) - 1;
}

int FilterDeviceId(os::ComPtr filter) {
    Object* object = Lookup(filter, Kind::Filter);
    return object ? object->device : -1;
}

void FailDeviceCall(DeviceCall call, std::int64_t result, int count, int after) {
    W().faults[call] = Fault{result, after, count};
}

int DeviceCallCount(DeviceCall call) { return W().calls[call]; }

int LiveComObjects() {
    int live = 0;
    for (auto& object : W().objects) live += object->refs > 0 ? 1 : 0;
    for (auto& ks : W().ksRefs) live += ks.second;
    return live;
}

int LiveFilters() {
    int live = 0;
    for (auto& o : W().objects) live += (o->kind == Kind::Filter && o->refs > 0) ? 1 : 0;
    return live;
}

int BadReleases() { return W().badReleases; }
int ComInitDepth() { return W().comInit; }
int OpenDeviceLists() { return W().openLists; }
int LiveLocalAllocs() { return W().localAllocs; }
std::vector<std::string> GraphAdds() { return W().graphAdds; }

}  // namespace sim

namespace os {

// ---- Setup API

Hdevinfo SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator, Hwnd parent,
                              std::uint32_t flags) {
    std::int64_t result = 0;
    // Only the walk over every present device of every class is modelled.
    if (Fails(sim::DeviceCall::SetupDiGetClassDevsA, &result) || classGuid || enumerator ||
        flags != (DIGCF_PRESENT | DIGCF_ALLCLASSES)) {
        W().lastError = kErrorInvalidParameter;
        return INVALID_HANDLE_VALUE;
    }
    ++W().openLists;
    return kDevinfoHandle;
}

int SetupDiEnumDeviceInfo(Hdevinfo set, std::uint32_t memberIndex, SpDevinfoData* data) {
    if (!ListOpen(set)) return SetupError(kErrorInvalidHandle);
    if (!data || data->cbSize != kSpDevinfoDataSize) return SetupError(kErrorInvalidUserBuffer);
    if (memberIndex >= W().devices.size()) return SetupError(ERROR_NO_MORE_ITEMS);
    data->devInst = memberIndex + 1;
    return 1;
}

int SetupDiGetDeviceRegistryPropertyA(Hdevinfo set, SpDevinfoData* data, std::uint32_t property,
                                      std::uint32_t* regType, std::uint8_t* buffer,
                                      std::uint32_t bufferSize, std::uint32_t* requiredSize) {
    if (!ListOpen(set)) return SetupError(kErrorInvalidHandle);
    if (!data || data->devInst == 0 || data->devInst > W().devices.size())
        return SetupError(kErrorInvalidParameter);
    const sim::DeviceDesc& device = W().devices[data->devInst - 1];
    if (property != SPDRP_HARDWAREID || device.hardwareIds.empty())
        return SetupError(ERROR_INVALID_DATA);
    if (device.readError) return SetupError(device.readError);
    std::vector<std::uint8_t> bytes = MultiString(device.hardwareIds);
    if (!buffer || bufferSize < bytes.size()) {
        if (requiredSize) {
            *requiredSize = device.reportedSize ? device.reportedSize
                                                : static_cast<std::uint32_t>(bytes.size());
        }
        return SetupError(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    if (regType) *regType = 7;  // REG_MULTI_SZ
    if (requiredSize) *requiredSize = static_cast<std::uint32_t>(bytes.size());
    return 1;
}

int SetupDiDestroyDeviceInfoList(Hdevinfo set) {
    if (!ListOpen(set)) return SetupError(kErrorInvalidHandle);
    --W().openLists;
    return 1;
}

std::uint32_t GetLastError() { return W().lastError; }

void* LocalAllocZeroed(std::uint32_t size) {
    std::int64_t result = 0;
    if (Fails(sim::DeviceCall::LocalAlloc, &result)) return nullptr;
    ++W().localAllocs;
    return new std::uint8_t[size == 0 ? 1 : size]();
}

void LocalFree(void* memory) {
    if (!memory) return;
    --W().localAllocs;
    delete[] static_cast<std::uint8_t*>(memory);
}

// ---- COM

HResult CoInitialize(void* reserved) { return W().comInit++ == 0 ? S_OK : S_FALSE; }
void CoUninitialize() { --W().comInit; }

HResult CoCreateInstance(const Guid& clsid, ComPtr outer, std::uint32_t context, const Guid& iid,
                         ComPtr* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const bool devEnum = Same(clsid, kSystemDeviceEnum);
    if (!devEnum && !Same(clsid, kFilterGraph)) return kClassNotRegistered;
    std::int64_t result = 0;
    if (Fails(devEnum ? sim::DeviceCall::CreateDeviceEnumerator : sim::DeviceCall::CreateFilterGraph, &result))
        return static_cast<HResult>(result);
    if (!Same(iid, devEnum ? kCreateDevEnum : kGraphBuilder)) return E_NOINTERFACE;
    *object = Hand(New(devEnum ? Kind::DevEnum : Kind::Graph));
    return S_OK;
}

HResult CreateClassEnumerator(ComPtr devEnum, const Guid& category, ComPtr* enumMoniker,
                              std::uint32_t flags) {
    if (!enumMoniker) return E_POINTER;
    *enumMoniker = nullptr;
    if (!Lookup(devEnum, Kind::DevEnum)) return E_POINTER;
    std::int64_t result = 0;
    if (Fails(sim::DeviceCall::CreateClassEnumerator, &result)) return static_cast<HResult>(result);
    Object* walk = New(Kind::EnumMoniker);
    for (std::size_t i = 0; i < W().filters.size(); ++i) {
        sim::FilterCategory c = W().filters[i].category;
        if ((c == sim::FilterCategory::Capture && Same(category, kCaptureCategory)) ||
            (c == sim::FilterCategory::MainDevice && Same(category, kMainDeviceCategory))) {
            walk->devices.push_back(static_cast<int>(i));
        }
    }
    // As the real enumerator does, an empty category gives S_FALSE and no object.
    if (walk->devices.empty()) {
        walk->refs = 0;
        return S_FALSE;
    }
    *enumMoniker = Hand(walk);
    return S_OK;
}

HResult EnumMonikerReset(ComPtr enumMoniker) {
    Object* walk = Lookup(enumMoniker, Kind::EnumMoniker);
    if (!walk) return E_POINTER;
    walk->next = 0;
    return S_OK;
}

HResult EnumMonikerNext(ComPtr enumMoniker, ComPtr* moniker) {
    if (!moniker) return E_POINTER;
    *moniker = nullptr;
    Object* walk = Lookup(enumMoniker, Kind::EnumMoniker);
    if (!walk) return E_POINTER;
    if (walk->next >= walk->devices.size()) return S_FALSE;
    *moniker = Hand(New(Kind::Moniker, walk->devices[walk->next++]));
    return S_OK;
}

HResult BindToStorage(ComPtr moniker, const Guid& iid, ComPtr* object) {
    return BindMoniker(moniker, iid, object, sim::DeviceCall::BindToStorage);
}

HResult BindToObject(ComPtr moniker, const Guid& iid, ComPtr* object) {
    return BindMoniker(moniker, iid, object, sim::DeviceCall::BindToObject);
}

HResult PropertyBagRead(ComPtr propertyBag, const char16_t* name, char* buffer,
                        std::uint32_t bufferSize) {
    Object* bag = Lookup(propertyBag, Kind::PropertyBag);
    if (!bag || !buffer || bufferSize == 0) return E_POINTER;
    std::int64_t result = 0;
    if (Fails(sim::DeviceCall::PropertyBagRead, &result)) return static_cast<HResult>(result);
    const sim::FilterDesc& desc = W().filters[bag->device].desc;
    if (Narrow(name) != "FriendlyName" || !desc.hasName) return E_FAIL;
    if (!desc.nameIsString || desc.friendlyName.size() + 1 > bufferSize) {
        buffer[0] = 0;
        return S_OK;
    }
    std::memcpy(buffer, desc.friendlyName.c_str(), desc.friendlyName.size() + 1);
    return S_OK;
}

HResult AddFilter(ComPtr graph, ComPtr filter, const char16_t* name) {
    Object* g = Lookup(graph, Kind::Graph);
    Object* f = Lookup(filter, Kind::Filter);
    if (!g || !f || !name) return E_POINTER;
    std::int64_t result = 0;
    if (Fails(sim::DeviceCall::AddFilter, &result)) return static_cast<HResult>(result);
    ++f->refs;
    g->members.push_back(f);
    W().graphAdds.push_back(Narrow(name) + " #" + std::to_string(f->device));
    return S_OK;
}

HResult QueryInterface(ComPtr object, const Guid& iid, ComPtr* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    std::int64_t fault = 0;
    if (Fails(sim::DeviceCall::QueryInterface, &fault)) return static_cast<HResult>(fault);
    Object* filter = Lookup(object, Kind::Filter);
    if (!filter) return object ? E_NOINTERFACE : E_POINTER;
    if (Same(iid, kBaseFilter)) {
        ++filter->refs;
        *result = object;
        return S_OK;
    }
    const FilterDevice& device = W().filters[filter->device];
    if (!Same(iid, kKsControl) || !device.desc.hasKsControl) return E_NOINTERFACE;
    ComPtr ks = device.category == sim::FilterCategory::Capture ? sim::DriverCapturePath()
                                                                : sim::DriverMainPath();
    if (W().ksRefs[ks]++ == 0)
        sim::Log(ks == sim::DriverCapturePath() ? "ks open capture" : "ks open main");
    *result = ks;
    return S_OK;
}

std::uint32_t Release(ComPtr object) {
    auto ks = W().ksRefs.find(object);
    if (object && ks != W().ksRefs.end() && ks->second > 0) {
        if (--ks->second == 0)
            sim::Log(object == sim::DriverCapturePath() ? "ks close capture" : "ks close main");
        return static_cast<std::uint32_t>(ks->second);
    }
    const auto it = W().byHandle.find(object);
    if (it != W().byHandle.end() && it->second->refs > 0) {
        ReleaseObject(it->second);
        return static_cast<std::uint32_t>(it->second->refs);
    }
    ++W().badReleases;
    return 0;
}

}  // namespace os
