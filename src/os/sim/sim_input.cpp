#include "os/sim/sim_input.h"

#include <cstdio>

#include "os/input.h"
#include "os/sim/sim.h"

namespace {

struct Pointer {
    int width = 1024;
    int height = 740;
    bool swapped = false;
    int x = 512;
    int y = 384;
};
Pointer g_pointer;

const char* MouseFlagName(std::uint32_t flags) {
    switch (flags) {
    case os::MOUSEEVENTF_LEFTDOWN: return "LEFTDOWN";
    case os::MOUSEEVENTF_LEFTUP: return "LEFTUP";
    case os::MOUSEEVENTF_RIGHTDOWN: return "RIGHTDOWN";
    case os::MOUSEEVENTF_RIGHTUP: return "RIGHTUP";
    default: return nullptr;
    }
}

const bool g_registered = (sim::AddResetHook([] { g_pointer = Pointer(); }), true);

}  // namespace

namespace sim {

void SetScreen(int fullScreenWidth, int fullScreenHeight) {
    g_pointer.width = fullScreenWidth;
    g_pointer.height = fullScreenHeight;
}
void SetSwapButtons(bool swapped) { g_pointer.swapped = swapped; }
void SetCursor(int x, int y) {
    g_pointer.x = x;
    g_pointer.y = y;
}
int CursorX() { return g_pointer.x; }
int CursorY() { return g_pointer.y; }

}  // namespace sim

namespace os {

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXFULLSCREEN: return g_pointer.width;
    case SM_CYFULLSCREEN: return g_pointer.height;
    case SM_SWAPBUTTON: return g_pointer.swapped ? 1 : 0;
    default: return 0;
    }
}

int GetCursorPos(Point* point) {
    point->x = g_pointer.x;
    point->y = g_pointer.y;
    return 1;
}

int SetCursorPos(int x, int y) {
    g_pointer.x = x;
    g_pointer.y = y;
    char line[64];
    std::snprintf(line, sizeof line, "cursor %d,%d", x, y);
    sim::Log(line);
    return 1;
}

void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                 std::uint32_t extraInfo) {
    char line[96];
    const char* name = MouseFlagName(flags);
    if (name != nullptr)
        std::snprintf(line, sizeof line, "mouse %s at %d,%d", name, dx, dy);
    else
        std::snprintf(line, sizeof line, "mouse 0x%X at %d,%d", flags, dx, dy);
    sim::Log(line);
}

std::uint32_t GetMessageExtraInfo() { return 0; }

}  // namespace os
