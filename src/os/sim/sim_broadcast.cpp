// System broadcasts (power notices) reaching the program's own windows at a
// scripted time, as Windows sends them to every top-level window.
#include <vector>

#include "os/sim/sim.h"
#include "os/sim/sim_world.h"

namespace {

struct Broadcast {
    std::uint32_t msg;
    std::uint32_t wParam;
    std::int32_t lParam;
};
std::vector<Broadcast> g_broadcasts;

void Deliver(std::uint32_t index) {
    if (index >= g_broadcasts.size()) return;
    const Broadcast b = g_broadcasts[index];
    for (os::Hwnd hwnd : sim::TopLevelWindows())
        if (sim::world::ProcOf(hwnd) != nullptr) os::SendMessageA(hwnd, b.msg, b.wParam, b.lParam);
}

const bool g_registered = (sim::AddResetHook([] { g_broadcasts.clear(); }), true);

}  // namespace

namespace sim {

void BroadcastAt(std::uint32_t time, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    g_broadcasts.push_back({msg, wParam, lParam});
    world::Schedule(world::ElapsedAt(time), Deliver, static_cast<std::uint32_t>(g_broadcasts.size() - 1));
}

}  // namespace sim
