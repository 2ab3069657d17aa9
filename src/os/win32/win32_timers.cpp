// Window timers. The program's timer procedures are plain cdecl functions;
// one stdcall trampoline looks up which one belongs to (window, id).
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

using win32::FromHwnd;
using win32::ToHwnd;

namespace {

struct TimerSlot {
    os::Hwnd hwnd;
    UINT_PTR id;
    os::TimerProc proc;  // null: free slot
};

// The program runs a handful of timers at most.
constexpr int kMaxTimers = 16;
TimerSlot g_timers[kMaxTimers];

TimerSlot* FindSlot(os::Hwnd hwnd, UINT_PTR id) {
    for (TimerSlot& s : g_timers)
        if (s.proc && s.hwnd == hwnd && s.id == id) return &s;
    return nullptr;
}

TimerSlot* FreeSlot() {
    for (TimerSlot& s : g_timers)
        if (!s.proc) return &s;
    return nullptr;
}

VOID CALLBACK TimerTrampoline(HWND hwnd, UINT msg, UINT_PTR id, DWORD time) {
    TimerSlot* slot = FindSlot(FromHwnd(hwnd), id);
    // Copy out first: the procedure may kill or reset its own timer.
    if (slot) {
        os::TimerProc proc = slot->proc;
        proc(FromHwnd(hwnd), msg, static_cast<std::uint32_t>(id), time);
    }
}

}  // namespace

namespace os {

std::uint32_t SetTimer(Hwnd hwnd, std::uint32_t id, std::uint32_t elapseMs, TimerProc proc) {
    TimerSlot* slot = FindSlot(hwnd, id);
    if (!proc) {
        // No procedure: WM_TIMER goes to the window procedure.
        if (slot) slot->proc = nullptr;
        return static_cast<std::uint32_t>(::SetTimer(ToHwnd(hwnd), id, elapseMs, nullptr));
    }
    if (!slot) slot = FreeSlot();
    if (!slot) return 0;
    UINT_PTR result = ::SetTimer(ToHwnd(hwnd), id, elapseMs, TimerTrampoline);
    if (!result) return 0;
    // Without a window the system picks the id; that id is what arrives.
    slot->hwnd = hwnd;
    slot->id = hwnd ? id : result;
    slot->proc = proc;
    return static_cast<std::uint32_t>(result);
}

int KillTimer(Hwnd hwnd, std::uint32_t id) {
    if (TimerSlot* slot = FindSlot(hwnd, id)) slot->proc = nullptr;
    return ::KillTimer(ToHwnd(hwnd), id) ? 1 : 0;
}

}  // namespace os
