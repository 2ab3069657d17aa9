// opencost <rounds> <searches> "<device name>": the handles the system's own
// DirectShow keeps for one open of the card's driver, with no program of
// ours in the way, so that a soak can tell the system's share of a growth
// from the program's. One round makes the calls one open makes and then
// releases everything: a filter graph and two searches of the main-device
// category (the main-device path), a second graph, <searches> walks of the
// capture category reading every friendly name (one per name the open
// tries), and the device named <device name> bound, added to the graph and
// asked for IKsControl. Prints the process's handle count after each round:
//   round=N handles=N
// then per-open=N, the growth in the last round (the first ones load DLLs).
// Exit code: 0 printed, 2 usage, 3 no such device, 4 no handle count.
#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "handle_table.h"

namespace {

const GUID kCaptureCategory = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kMainDeviceCategory = {0xCC7BFB46, 0xF175, 0x11D1, {0xA3, 0x92, 0x00, 0xE0, 0x29, 0x1F, 0x39, 0x59}};
const GUID kIKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// Walks a category reading every device's friendly name; binds the first
// one named `name` when asked to. False when the walk could not be made.
bool Search(const GUID& category, const wchar_t* name, IBaseFilter** bound) {
    ICreateDevEnum* devEnum = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devEnum))))
        return false;
    IEnumMoniker* walk = nullptr;
    const HRESULT hr = devEnum->CreateClassEnumerator(category, &walk, 0);
    devEnum->Release();
    if (hr != S_OK || !walk) return hr == S_FALSE;  // S_FALSE: an empty category
    walk->Reset();
    IMoniker* moniker = nullptr;
    while (walk->Next(1, &moniker, nullptr) == S_OK && moniker) {
        IPropertyBag* bag = nullptr;
        bool match = false;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            VARIANT value;
            VariantInit(&value);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR)
                match = std::wcscmp(value.bstrVal, name) == 0;
            VariantClear(&value);
            bag->Release();
        }
        if (match && bound && !*bound)
            moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(bound));
        moniker->Release();
        moniker = nullptr;
    }
    walk->Release();
    return true;
}

IGraphBuilder* NewGraph() {
    IGraphBuilder* graph = nullptr;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     reinterpret_cast<void**>(&graph));
    return graph;
}

// One open, everything released after it. False when the device is absent.
bool OpenOnce(int searches, const wchar_t* name) {
    if (IGraphBuilder* graph = NewGraph()) {
        Search(kMainDeviceCategory, L"7160 BDA Main Device0", nullptr);
        Search(kMainDeviceCategory, L"7162 BDA Main Device0", nullptr);
        graph->Release();
    }
    IGraphBuilder* graph = NewGraph();
    IBaseFilter* filter = nullptr;
    for (int i = 0; i < searches; ++i) Search(kCaptureCategory, name, i + 1 == searches ? &filter : nullptr);
    if (filter && graph && SUCCEEDED(graph->AddFilter(filter, name))) {
        IUnknown* control = nullptr;
        if (SUCCEEDED(filter->QueryInterface(kIKsControl, reinterpret_cast<void**>(&control))) && control)
            control->Release();
    }
    if (graph) graph->Release();
    if (!filter) return false;
    filter->Release();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc == 4 ? std::atoi(argv[1]) : 0;
    const int searches = argc == 4 ? std::atoi(argv[2]) : 0;
    wchar_t name[128];
    if (rounds < 2 || searches < 1 ||
        MultiByteToWideChar(CP_ACP, 0, argv[3], -1, name, sizeof name / sizeof name[0]) == 0) {
        std::fprintf(stderr, "usage: opencost <rounds, 2 or more> <searches> \"<device name>\"\n");
        return 2;
    }
    CoInitialize(nullptr);
    unsigned long long before = 0;
    unsigned long long after = 0;
    int result = 0;
    for (int round = 1; round <= rounds && result == 0; ++round) {
        before = after;
        if (!OpenOnce(searches, name)) {
            std::printf("opencost: no capture device \"%s\"\n", argv[3]);
            result = 3;
        } else if (!handle_table::CountOf(GetCurrentProcessId(), &after)) {
            std::printf("opencost: the system gives no handle table\n");
            result = 4;
        } else {
            std::printf("round=%d handles=%llu\n", round, after);
        }
    }
    if (result == 0) std::printf("per-open=%lld\n", static_cast<long long>(after - before));
    CoUninitialize();
    return result;
}
