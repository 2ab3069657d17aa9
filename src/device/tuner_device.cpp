// Finding the card's driver filter among the DirectShow devices and
// getting its IKsControl, on the main-device path or the capture path.
#include "device/tuner_device.h"

#include <cstdint>
#include <cstring>

#include "device/tuner_connection.h"
#include "os/devices.h"

namespace {

using os::Guid;

constexpr Guid CLSID_SystemDeviceEnum = {0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr Guid IID_ICreateDevEnum = {0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr Guid IID_IPropertyBag = {0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
constexpr Guid IID_IBaseFilter = {0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid CLSID_FilterGraph = {0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid IID_IGraphBuilder = {0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid IID_IKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr Guid KSCATEGORY_CAPTURE = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr Guid kMainDeviceCategory = {0xCC7BFB46, 0xF175, 0x11D1, {0xA3, 0x92, 0x00, 0xE0, 0x29, 0x1F, 0x39, 0x59}};
// The chip probe's property set.
constexpr Guid kChipProbeSet = {0x8EE0EBA8, 0x7DA6, 0x4AA9, {0xBD, 0x80, 0x87, 0xE7, 0x6B, 0x8A, 0xDB, 0xC8}};

constexpr std::uint32_t MB_ICONERROR = 0x00000010;
constexpr std::uint16_t kLowestChipID = 0x7160;
constexpr std::uint32_t kNameSize = 80;
// An enumerator that never runs dry must not hold the window procedure.
constexpr int kMaxMonikers = 1024;

const char* const kMainDeviceName = "7160 BDA Main Device0";
const char* const kMainDeviceName7162 = "7162 BDA Main Device0";
const char16_t* const kMainDeviceGraphName = u"7160 BDA Main Device0";
const char* const kCaptureNames[] = {
    "Philips Silicon (7171-35) WDM Video Capture",
    "Philips Cap713x Video Capture",
    "713x BDA Analog Capture",
    "7231 BDA Analog Capture",
    "7231 BDA Analog Capture0",
};
const char16_t* const kCaptureGraphNames[] = {
    u"Philips Silicon (7171-35) WDM Video Capture",
    u"7231 BDA Analog Capture",
};

bool Failed(os::HResult hr) { return hr < 0; }

void ReleaseAndClear(os::ComPtr* p) {
    if (*p) os::Release(*p);
    *p = nullptr;
}

// Every store into g_Tuner goes through here. The newest reference wins: it
// comes from the open that ran last, after the latest resume, and the one
// it replaces would otherwise be held for the life of the process. The same
// pointer again is a reference of its own, so the held one is let go too.
void Hold(os::ComPtr* slot, os::ComPtr p) {
    ReleaseAndClear(slot);
    *slot = p;
}

// A message box shown by an open runs a modal loop, and the resume timer
// can come due inside it. That open is never entered again: the request
// waits until it has finished and is then carried out.
bool bOpenRunning = false;
bool bOpenAgain = false;

// The device's friendly name as ANSI text; "" when it has none that fits.
// False when the device cannot be asked at all.
bool ReadFriendlyName(os::ComPtr moniker, char (&szName)[kNameSize]) {
    szName[0] = 0;
    os::ComPtr bag = nullptr;
    if (Failed(os::BindToStorage(moniker, IID_IPropertyBag, &bag)) || !bag) return false;
    os::HResult hr = os::PropertyBagRead(bag, u"FriendlyName", szName, kNameSize);
    os::Release(bag);
    szName[kNameSize - 1] = 0;
    return !Failed(hr);
}

// Each path attempt initialises COM and makes a graph of its own.
os::ComPtr NewFilterGraph() {
    os::CoInitialize(nullptr);
    os::ComPtr graph = nullptr;
    if (Failed(os::CoCreateInstance(CLSID_FilterGraph, nullptr, os::CLSCTX_INPROC_SERVER,
                                    IID_IGraphBuilder, &graph))) {
        return nullptr;
    }
    return graph;
}

void WriteU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void WriteGuid(std::uint8_t* at, const Guid& g) {
    WriteU32(at, g.data1);
    at[4] = static_cast<std::uint8_t>(g.data2);
    at[5] = static_cast<std::uint8_t>(g.data2 >> 8);
    at[6] = static_cast<std::uint8_t>(g.data3);
    at[7] = static_cast<std::uint8_t>(g.data3 >> 8);
    std::memcpy(at + 8, g.data4, 8);
}

void SendChipProbe(os::ComPtr ksControl, std::uint16_t nChipID) {
    std::uint8_t request[40];
    WriteGuid(request, kChipProbeSet);
    WriteU32(request + 16, 0);  // property id
    WriteU32(request + 20, 1);  // KSPROPERTY_TYPE_GET
    WriteU32(request + 24, 2);
    request[28] = static_cast<std::uint8_t>(nChipID);
    request[29] = static_cast<std::uint8_t>(nChipID >> 8);
    WriteU32(request + 32, os::BufferAddress(&g_Tuner.bChipFound));
    std::uint8_t data = 0xFE;
    std::uint32_t returned = 0;
    os::KsProperty(ksControl, request, sizeof request, &data, 1, &returned);
}

}  // namespace

os::ComPtr FindDeviceFilter(const Guid& category, const char* name) {
    if (!name) return nullptr;
    os::ComPtr devEnum = nullptr;
    if (Failed(os::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, os::CLSCTX_INPROC_SERVER,
                                    IID_ICreateDevEnum, &devEnum)) ||
        !devEnum) {
        return nullptr;
    }
    os::ComPtr enumMoniker = nullptr;
    os::HResult hr = os::CreateClassEnumerator(devEnum, category, &enumMoniker, 0);
    os::Release(devEnum);
    if (hr != os::S_OK || !enumMoniker) return nullptr;

    os::EnumMonikerReset(enumMoniker);
    os::ComPtr result = nullptr;
    os::ComPtr moniker = nullptr;
    for (int n = 0; n < kMaxMonikers && os::EnumMonikerNext(enumMoniker, &moniker) == os::S_OK; ++n) {
        if (!moniker) break;
        char szName[kNameSize];
        // A device that cannot be asked its name (a broken webcam, say) is
        // passed over; it must not hide the card listed after it.
        if (ReadFriendlyName(moniker, szName) && std::strcmp(szName, name) == 0) {
            os::ComPtr filter = nullptr;
            if (Failed(os::BindToObject(moniker, IID_IBaseFilter, &filter)) || !filter) {
                os::Release(moniker);
                os::Release(enumMoniker);
                ReleaseAndClear(&result);
                return nullptr;
            }
            // A later device of the same name wins; the earlier one is let go.
            ReleaseAndClear(&result);
            result = filter;
        }
        os::Release(moniker);
        moniker = nullptr;
    }
    os::Release(enumMoniker);
    return result;
}

bool OpenMainDevicePath(os::ComPtr* ppKsControl) {
    if (!ppKsControl) return false;
    *ppKsControl = nullptr;
    os::ComPtr graph = NewFilterGraph();
    if (!graph) return false;
    os::ComPtr filter = FindDeviceFilter(kMainDeviceCategory, kMainDeviceName);
    if (!filter) {
        g_Tuner.nDeviceSelector = 1;
        filter = FindDeviceFilter(kMainDeviceCategory, kMainDeviceName7162);
    }
    bool opened = false;
    if (!filter) {
        // nothing of the 7160 family here; the capture path comes next
    } else if (Failed(os::AddFilter(graph, filter, kMainDeviceGraphName))) {
        os::MessageBoxA(0, "Couldn't add the MainDeviceFilter to the graph object!", nullptr,
                        MB_ICONERROR);
        os::Release(filter);
    } else if (Failed(os::QueryInterface(filter, IID_IKsControl, ppKsControl)) || !*ppKsControl) {
        *ppKsControl = nullptr;
        os::MessageBoxA(0, "Couldn't get interface handle!", nullptr, MB_ICONERROR);
        os::Release(filter);
    } else {
        Hold(&g_Tuner.pMainDeviceFilter, filter);
        opened = true;
    }
    // Nothing uses the graph later; the filter keeps its own reference.
    os::Release(graph);
    return opened;
}

bool OpenCapturePath(os::ComPtr* ppKsControl) {
    if (!ppKsControl) return false;
    *ppKsControl = nullptr;
    os::ComPtr graph = NewFilterGraph();
    if (!graph) return false;
    os::ComPtr filter = nullptr;
    for (const char* name : kCaptureNames) {
        filter = FindDeviceFilter(KSCATEGORY_CAPTURE, name);
        if (filter) break;
    }
    bool opened = false;
    if (filter) {
        bool added = false;
        for (const char16_t* graphName : kCaptureGraphNames) {
            if (!Failed(os::AddFilter(graph, filter, graphName))) {
                added = true;
                break;
            }
        }
        if (added && !Failed(os::QueryInterface(filter, IID_IKsControl, ppKsControl)) && *ppKsControl) {
            Hold(&g_Tuner.pCaptureFilter, filter);
            opened = true;
        } else {
            *ppKsControl = nullptr;
            os::Release(filter);
        }
    }
    os::Release(graph);
    return opened;
}

int ProbeMainDeviceChip() {
    os::ComPtr ksControl = nullptr;
    if (!Failed(os::QueryInterface(g_Tuner.pMainDeviceFilter, IID_IKsControl, &ksControl)) && ksControl) {
        while (g_Tuner.nChipID >= kLowestChipID && !g_Tuner.bChipFound) {
            SendChipProbe(ksControl, g_Tuner.nChipID);
            if (g_Tuner.bChipFound) break;
            --g_Tuner.nChipID;
        }
        os::Release(ksControl);
    }
    if (g_Tuner.bChipFound) return 1;
    g_Tuner.nChipID = 0;
    os::MessageBoxA(0, "Could not find any suitable devices", "Info", MB_ICONERROR);
    return 0;
}

namespace {

int OpenTunerDeviceOnce() {
    // Opening over an open connection must not strand its references.
    ReleaseAndClear(&g_Tuner.pCaptureFilter);
    ReleaseAndClear(&g_Tuner.pMainDeviceFilter);
    ReleaseAndClear(&g_Tuner.pKsControl);
    os::ComPtr ksControl = nullptr;
    if (OpenMainDevicePath(&ksControl)) {
        Hold(&g_Tuner.pKsControl, ksControl);
        g_Tuner.bMainDevicePath = 1;
        ProbeMainDeviceChip();
    } else {
        g_Tuner.bMainDevicePath = 0;
        if (!OpenCapturePath(&ksControl)) return 0;
        Hold(&g_Tuner.pKsControl, ksControl);
    }
    return g_Tuner.pKsControl ? 1 : 0;
}

}  // namespace

int OpenTunerDevice() {
    if (bOpenRunning) {
        bOpenAgain = true;
        return 0;
    }
    bOpenRunning = true;
    int opened = 0;
    do {
        bOpenAgain = false;
        opened = OpenTunerDeviceOnce();
    } while (bOpenAgain);
    bOpenRunning = false;
    return opened;
}

void CloseTunerDevice() {
    ReleaseAndClear(&g_Tuner.pCaptureFilter);
    ReleaseAndClear(&g_Tuner.pMainDeviceFilter);
    ReleaseAndClear(&g_Tuner.pKsControl);
    os::CoUninitialize();
}
