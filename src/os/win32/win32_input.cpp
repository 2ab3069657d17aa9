// Pointer input and screen metrics for the mouse emulation.
#include "os/input.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace os {

int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

int GetCursorPos(Point* point) {
    if (!point) return 0;
    POINT p{};
    if (!::GetCursorPos(&p)) return 0;
    point->x = p.x;
    point->y = p.y;
    return 1;
}

int SetCursorPos(int x, int y) { return ::SetCursorPos(x, y) ? 1 : 0; }

void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                 std::uint32_t extraInfo) {
    ::mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), data, extraInfo);
}

std::uint32_t GetMessageExtraInfo() { return static_cast<std::uint32_t>(::GetMessageExtraInfo()); }

}  // namespace os
