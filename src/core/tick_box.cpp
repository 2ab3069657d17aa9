// State of the one-box-per-tick guard.
#include "core/tick_box.h"

#include "os/os.h"

namespace {

int g_nRouteDepth = 0;  // ticks inside the router, nested ones included
bool g_bTickBoxUp = false;

}  // namespace

void EnterRouteTick() { ++g_nRouteDepth; }
void LeaveRouteTick() { --g_nRouteDepth; }

int TickMessageBox(const char* text, const char* caption, std::uint32_t style) {
    if (g_nRouteDepth == 0) return os::MessageBoxA(0, text, caption, style);
    if (g_bTickBoxUp) return 0;
    g_bTickBoxUp = true;
    int result = os::MessageBoxA(0, text, caption, style);
    g_bTickBoxUp = false;
    return result;
}

bool TickMessageBoxUp() { return g_bTickBoxUp; }
