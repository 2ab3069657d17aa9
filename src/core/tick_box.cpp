// State of the one-box-per-tick guard.
#include "core/tick_box.h"

#include "os/os.h"

namespace {

int g_nRouteDepth = 0;  // ticks inside the router, nested ones included
int g_nTickBoxDepth = 0;  // route depth at which the tick's box that is up opened; 0: none

}  // namespace

void EnterRouteTick() { ++g_nRouteDepth; }
void LeaveRouteTick() { --g_nRouteDepth; }

int TickMessageBox(const char* text, const char* caption, std::uint32_t style) {
    if (g_nRouteDepth == 0) return os::MessageBoxA(0, text, caption, style);
    // Only a tick nested in the box's modal loop is deeper; a menu command
    // handled in that loop is the user's own and gets its box.
    if (g_nTickBoxDepth != 0 && g_nRouteDepth > g_nTickBoxDepth) return 0;
    const int outer = g_nTickBoxDepth;
    g_nTickBoxDepth = g_nRouteDepth;
    int result = os::MessageBoxA(0, text, caption, style);
    g_nTickBoxDepth = outer;
    return result;
}

bool TickMessageBoxUp() { return g_nTickBoxDepth != 0; }
