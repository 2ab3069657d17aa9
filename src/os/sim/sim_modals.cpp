// What is running now (a timer procedure, a message, a world event), and
// the boxes and dialogs open with what opened each: enough to tell a box a
// key tick opened from one a resume or a menu command opened inside it.
#include <algorithm>
#include <map>
#include <vector>

#include "os/sim/sim_world.h"

namespace {

struct Modal {
    std::uint64_t key;
    std::uint32_t opener;  // timer id, 0: not a timer procedure
};

struct Modals {
    std::vector<std::uint32_t> running;  // innermost last
    std::vector<Modal> open;             // oldest first
    std::map<std::uint32_t, int> peak;
};
Modals g_modals;

}  // namespace

namespace sim {

std::vector<std::uint32_t> OpenModalOpeners() {
    std::vector<std::uint32_t> openers;
    for (const Modal& m : g_modals.open) openers.push_back(m.opener);
    return openers;
}

int PeakModalsOpenedBy(std::uint32_t timerId) {
    const auto it = g_modals.peak.find(timerId);
    return it == g_modals.peak.end() ? 0 : it->second;
}

namespace world {

void EnterCallback(std::uint32_t timerId) { g_modals.running.push_back(timerId); }
void LeaveCallback() {
    if (!g_modals.running.empty()) g_modals.running.pop_back();
}

void ModalOpened(std::uint64_t key) {
    const std::uint32_t opener = g_modals.running.empty() ? 0 : g_modals.running.back();
    g_modals.open.push_back(Modal{key, opener});
    const int now = static_cast<int>(std::count_if(g_modals.open.begin(), g_modals.open.end(),
                                                   [opener](const Modal& m) { return m.opener == opener; }));
    int& peak = g_modals.peak[opener];
    peak = std::max(peak, now);
}

void ModalClosed(std::uint64_t key) {
    auto& open = g_modals.open;
    open.erase(std::remove_if(open.begin(), open.end(), [key](const Modal& m) { return m.key == key; }),
               open.end());
}

void ResetModals() { g_modals = Modals(); }

}  // namespace world
}  // namespace sim
