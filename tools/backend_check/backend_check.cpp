// Runs the real Win32 backend under Wine the way the program uses it: the
// class and timer trampolines, the message loop, window search and the
// driver call through a hand-made IKsControl. Then checks the stand-in.
// Prints one "ok"/"FAIL" line per check; the exit code counts failures.
#include <cstdio>
#include <cstring>

#include "os/input.h"
#include "os/os.h"
#include "os/win32/win32_ks_control.h"
#include "tools/backend_check/check.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

int g_failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    if (!ok) ++g_failures;
}

namespace {

// Records what reaches the driver slot; a wrong vtable order would land in
// KsMethod or KsEvent instead.
struct FakeKsControl : win32::IKsControl {
    void* property = nullptr;
    ULONG propertyLength = 0, dataLength = 0;
    int wrongSlot = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE KsProperty(void* p, ULONG pl, void* d, ULONG dl, ULONG* returned) override {
        property = p, propertyLength = pl, dataLength = dl;
        static_cast<unsigned char*>(d)[0] = 0x5A;
        *returned = 1;
        return pl == 32 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE KsMethod(void*, ULONG, void*, ULONG, ULONG*) override { return ++wrongSlot, E_FAIL; }
    HRESULT STDMETHODCALLTYPE KsEvent(void*, ULONG, void*, ULONG, ULONG*) override { return ++wrongSlot, E_FAIL; }
};

void CheckDriverCall() {
    FakeKsControl ks;
    auto com = reinterpret_cast<os::ComPtr>(static_cast<win32::IKsControl*>(&ks));
    unsigned char request[48] = {};
    unsigned char data[8] = {};
    std::uint32_t returned = 0;
    Check(os::KsProperty(com, request, 32, data, 1, &returned) == 0 && ks.wrongSlot == 0 &&
              ks.property == request && ks.propertyLength == 32 && ks.dataLength == 1 &&
              data[0] == 0x5A && returned == 1,
          "KsProperty reaches the driver's KsProperty slot with every argument");
    Check(os::KsProperty(com, request, 48, data, 8, nullptr) == 1, "S_FALSE comes back unchanged");
    Check(os::KsProperty(nullptr, request, 32, data, 1, &returned) < 0, "no interface is a failure, not a crash");
    Check(os::BufferAddress(data) == reinterpret_cast<std::uintptr_t>(data), "buffer address is the pointer");
}

os::Hwnd g_main = 0;
int g_procTicks = 0, g_windowTicks = 0, g_otherProcCalls = 0;
std::uint32_t g_tickId = 0, g_tickMsg = 0;

void KeyTick(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t id, std::uint32_t) {
    g_tickId = id, g_tickMsg = msg;
    if (hwnd != g_main) return;
    if (++g_procTicks == 3) {
        os::KillTimer(hwnd, 1);
        // Same id again without a procedure: WM_TIMER must reach the window.
        os::SetTimer(hwnd, 1, 20, nullptr);
    }
}

void OtherTick(os::Hwnd, std::uint32_t, std::uint32_t, std::uint32_t) { ++g_otherProcCalls; }

std::int32_t MainProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    if (msg == WM_TIMER && wParam == 1) {
        if (++g_windowTicks == 2) {
            os::KillTimer(hwnd, 1);
            os::PostMessageA(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    if (msg == WM_DESTROY) {
        os::PostQuitMessage(7);
        return 0;
    }
    return os::DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::int32_t SpareProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    return os::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A broken timer path must fail the check, not hang it.
VOID CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

void CheckWindowsAndLoop() {
    os::Hinstance instance = os::GetModuleHandleA(nullptr);
    os::WindowClass wc = {3, MainProc, instance, 0, 6, "Backend Check"};
    Check(os::RegisterClassExA(wc) == 1, "class registers");
    Check(os::RegisterClassExA(wc) == 0, "a second registration of one class fails");
    g_main = os::CreateWindowExA(0, "Backend Check", "Backend Check Title", 0x00CF0000, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, 0, instance);
    Check(g_main != 0, "window is created through the trampoline");
    Check(os::FindWindowA("BACKEND CHECK", nullptr) == g_main &&
              os::FindWindowExA(os::GetDesktopWindow(), 0, nullptr, "backend check title") == g_main,
          "FindWindowA and FindWindowExA ignore letter case");
    bool walked = false;
    for (os::Hwnd w = os::GetWindow(os::GetDesktopWindow(), 5); w; w = os::GetWindow(w, 2))
        walked = walked || w == g_main;
    Check(walked, "the top-level walk reaches the window");
    char text[8];
    std::memset(text, 'x', sizeof text);
    Check(os::GetWindowTextA(g_main, text, 8) == 7 && std::strcmp(text, "Backend") == 0,
          "GetWindowTextA stops at maxCount-1 and terminates");
    Check(os::GetWindowTextA(g_main, text, 0) == 0 && text[0] == 'B', "GetWindowTextA with no room writes nothing");
    Check(os::IsWindow(g_main) == 1 && os::IsWindowVisible(g_main) == 0, "hidden window exists, not visible");

    // The class table is bounded: registrations past it fail cleanly.
    char name[32];
    int registered = 1;
    for (int i = 0; i < 12; ++i) {
        std::snprintf(name, sizeof name, "Backend Spare %d", i);
        os::WindowClass spare = {0, SpareProc, instance, 0, 6, name};
        registered += os::RegisterClassExA(spare);
    }
    Check(registered == 8, "eight classes fit, the ninth is refused");

    // The timer table is bounded too, and a killed timer frees its slot.
    int timers = 0;
    for (std::uint32_t id = 100; id < 120; ++id) timers += os::SetTimer(g_main, id, 60000, OtherTick) != 0;
    Check(timers == 16, "sixteen timer procedures fit, more are refused");
    os::KillTimer(g_main, 100);
    Check(os::SetTimer(g_main, 200, 60000, OtherTick) != 0, "a killed timer's slot is reused");
    for (std::uint32_t id = 101; id < 116; ++id) os::KillTimer(g_main, id);
    os::KillTimer(g_main, 200);

    Check(os::SetTimer(g_main, 1, 30, KeyTick) != 0, "timer with a procedure starts");
    UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, Watchdog);
    std::uint32_t start = os::GetTickCount();
    os::Msg msg = {};
    int r;
    while ((r = os::GetMessageA(&msg)) > 0) {
        os::TranslateMessage(&msg);
        os::DispatchMessageA(&msg);
    }
    KillTimer(nullptr, watchdog);
    Check(g_procTicks == 3 && g_tickId == 1 && g_tickMsg == WM_TIMER, "timer procedure gets its window, id and WM_TIMER");
    Check(g_windowTicks == 2, "timer without a procedure reaches the window procedure");
    Check(g_otherProcCalls == 0, "killed timers never fire");
    Check(r == 0 && msg.message == WM_QUIT && msg.wParam == 7, "WM_QUIT ends the loop with its exit code");
    Check(os::GetTickCount() - start >= 3 * 20, "the clock moved while the timers ran");
    Check(os::IsWindow(g_main) == 0, "WM_CLOSE destroyed the window");
}

void CheckHostCalls() {
    char small[4];
    std::uint32_t need = os::GetWindowsDirectoryA(small, sizeof small);
    char dir[260];
    Check(need > sizeof small && os::GetWindowsDirectoryA(dir, sizeof dir) == need - 1,
          "GetWindowsDirectoryA reports the size needed when the buffer is short");
    char s[16];
    Check(os::LoadStringA(os::GetModuleHandleA(nullptr), 22, s, 0) == 0, "LoadStringA with no room copies nothing");
    os::Point p = {};
    Check(os::SetCursorPos(12, 34) == 1 && os::GetCursorPos(&p) == 1 && p.x == 12 && p.y == 34,
          "cursor position round-trips");
}

}  // namespace

int main(int argc, char** argv) {
    CheckDriverCall();
    CheckHostCalls();
    CheckWindowsAndLoop();
    CheckDialog();
    if (argc > 1) CheckStandIn(argv[1]);
    std::printf("%d failure(s)\n", g_failures);
    return g_failures;
}
