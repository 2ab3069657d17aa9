// One fault switch per boundary call: the next N calls fail with a result.
#include "os/sim/sim_world.h"

namespace {

constexpr int kMaxCalls = 64;  // room for the calls later subsystems add

struct Fault {
    int remaining = 0;
    std::int64_t result = 0;
};
Fault g_faults[kMaxCalls];

}  // namespace

namespace sim {

void FailNext(Call call, std::int64_t result, int count) {
    const int i = static_cast<int>(call);
    if (i < 0 || i >= kMaxCalls) return;
    g_faults[i].remaining = count < 0 ? 0 : count;
    g_faults[i].result = result;
}

namespace world {

bool TakeFault(Call call, std::int64_t* result) {
    const int i = static_cast<int>(call);
    if (i < 0 || i >= kMaxCalls || g_faults[i].remaining == 0) return false;
    --g_faults[i].remaining;
    if (result) *result = g_faults[i].result;
    return true;
}

void ResetFaults() {
    for (auto& f : g_faults) f = Fault();
}

}  // namespace world
}  // namespace sim
