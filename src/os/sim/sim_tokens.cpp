// Buffer addresses for the driver requests on the 64-bit host: a fixed
// ring of 32-bit tokens, each standing for one caller pointer. Handing one
// out never allocates, so an idle key tick stays allocation-free.
#include "os/sim/sim_world.h"

namespace {

constexpr std::uint32_t kSlots = 64;  // a power of two: the slot is the token's low bits

struct Slot {
    void* pointer;
    std::uint32_t token;
};
Slot g_slots[kSlots];
std::uint32_t g_next = 0;
std::uint32_t g_generation = 0;

}  // namespace

namespace sim {
namespace world {

void* ResolveAddress(std::uint32_t token) {
    const Slot& s = g_slots[token & (kSlots - 1)];
    return (token != 0 && s.token == token) ? s.pointer : nullptr;
}

void ResetTokens() {
    for (auto& s : g_slots) s = Slot{nullptr, 0};
    g_next = 0;
    g_generation = 0;
}

}  // namespace world
}  // namespace sim

namespace os {

std::uint32_t BufferAddress(void* buffer) {
    if (!buffer) return 0;
    for (const auto& s : g_slots)
        if (s.pointer == buffer) return s.token;
    const std::uint32_t slot = g_next;
    g_next = (g_next + 1) & (kSlots - 1);
    g_generation = (g_generation + 1) & 0x3FFFFFu;
    // The generation makes a token of a recycled slot stale, not a pointer
    // into someone else's buffer.
    const std::uint32_t token = 0x40000000u | (g_generation << 6) | slot;
    g_slots[slot] = Slot{buffer, token};
    return token;
}

}  // namespace os
