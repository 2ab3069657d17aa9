// Window class, main window and the message loop. The program's window
// procedures are plain cdecl functions; each registered class gets its own
// stdcall trampoline from a small fixed set, so no lookup runs per message.
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

using win32::FromHwnd;
using win32::ToHinstance;
using win32::ToHwnd;

namespace {

constexpr int kMaxClasses = 8;
os::WndProc g_procs[kMaxClasses];
int g_procCount = 0;

template <int N>
LRESULT CALLBACK WndTrampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_procs[N](FromHwnd(hwnd), msg, static_cast<std::uint32_t>(wParam),
                      static_cast<std::int32_t>(lParam));
}

const WNDPROC kTrampolines[kMaxClasses] = {
    WndTrampoline<0>, WndTrampoline<1>, WndTrampoline<2>, WndTrampoline<3>,
    WndTrampoline<4>, WndTrampoline<5>, WndTrampoline<6>, WndTrampoline<7>,
};

// The last message fetched, so that dispatching it keeps its time and
// cursor position (a timer procedure receives the time).
MSG g_last;

// The fetched message itself when m is it: in a 64-bit build its
// parameters may be wider than the boundary's (Wine's timer procedure
// handles are), and only the original may be dispatched.
MSG ToMsg(const os::Msg& m) {
    if (ToHwnd(m.hwnd) == g_last.hwnd && m.message == g_last.message &&
        m.wParam == static_cast<std::uint32_t>(g_last.wParam) &&
        m.lParam == static_cast<std::int32_t>(g_last.lParam)) {
        return g_last;
    }
    MSG out{};
    out.hwnd = ToHwnd(m.hwnd);
    out.message = m.message;
    out.wParam = m.wParam;
    out.lParam = m.lParam;
    out.time = ::GetMessageTime();
    return out;
}

}  // namespace

namespace os {

int RegisterClassExA(const WindowClass& wc) {
    if (!wc.proc || !wc.className) return 0;
    int slot = g_procCount;
    if (slot >= kMaxClasses) return 0;
    HINSTANCE instance = ToHinstance(wc.instance);
    WNDCLASSEXA real{};
    real.cbSize = sizeof(real);
    real.style = wc.style;
    real.lpfnWndProc = kTrampolines[slot];
    real.hInstance = instance;
    if (wc.iconId) {
        real.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(wc.iconId));
        real.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(wc.iconId), IMAGE_ICON,
                                                       ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), 0));
    }
    real.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    real.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(wc.background));
    real.lpszClassName = wc.className;
    // Claim the slot before registering: nothing is sent to the class yet,
    // but a failed registration must give the slot back.
    g_procs[slot] = wc.proc;
    if (!::RegisterClassExA(&real)) {
        g_procs[slot] = nullptr;
        return 0;
    }
    g_procCount = slot + 1;
    return 1;
}

Hwnd CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                     std::uint32_t style, int x, int y, int width, int height, Hwnd parent,
                     Hmenu menu, Hinstance instance) {
    return FromHwnd(::CreateWindowExA(exStyle, className, title, style, x, y, width, height,
                                      ToHwnd(parent), win32::ToHmenu(menu), ToHinstance(instance),
                                      nullptr));
}

int ShowWindow(Hwnd hwnd, int cmd) { return ::ShowWindow(ToHwnd(hwnd), cmd) ? 1 : 0; }

int UpdateWindow(Hwnd hwnd) { return ::UpdateWindow(ToHwnd(hwnd)) ? 1 : 0; }

int DestroyWindow(Hwnd hwnd) { return ::DestroyWindow(ToHwnd(hwnd)) ? 1 : 0; }

std::int32_t DefWindowProcA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    return static_cast<std::int32_t>(::DefWindowProcA(ToHwnd(hwnd), msg, wParam, lParam));
}

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

int GetMessageA(Msg* msg) {
    MSG m{};
    BOOL r = ::GetMessageA(&m, nullptr, 0, 0);
    if (r == -1) return -1;
    g_last = m;
    if (msg) {
        msg->hwnd = FromHwnd(m.hwnd);
        msg->message = m.message;
        msg->wParam = static_cast<std::uint32_t>(m.wParam);
        msg->lParam = static_cast<std::int32_t>(m.lParam);
    }
    return r ? 1 : 0;
}

std::uint32_t LoadAcceleratorsA(Hinstance instance, std::uint32_t id) {
    HACCEL accel = ::LoadAcceleratorsA(ToHinstance(instance), MAKEINTRESOURCEA(id));
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(accel));
}

int TranslateAcceleratorA(Hwnd hwnd, std::uint32_t accel, Msg* msg) {
    if (!accel || !msg) return 0;
    MSG m = ToMsg(*msg);
    return ::TranslateAcceleratorA(ToHwnd(hwnd), reinterpret_cast<HACCEL>(static_cast<std::uintptr_t>(accel)), &m);
}

int TranslateMessage(const Msg* msg) {
    if (!msg) return 0;
    MSG m = ToMsg(*msg);
    return ::TranslateMessage(&m) ? 1 : 0;
}

std::int32_t DispatchMessageA(const Msg* msg) {
    if (!msg) return 0;
    MSG m = ToMsg(*msg);
    return static_cast<std::int32_t>(::DispatchMessageA(&m));
}

}  // namespace os
