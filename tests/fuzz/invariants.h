// What must hold between any two steps of a run, whatever the world did:
// the fuzz targets and the soak check the same things. Each check reads what
// the simulated desktop saw; the program's records only say whether a check
// applies.
#pragma once
#include <string>
#include <vector>

#include "app/program.h"
#include "core/interval_timer.h"
#include "device/tuner_connection.h"
#include "os/sim/sim.h"

namespace invariants {

// Empty while everything holds, else what broke.
inline std::string Broken(os::Hwnd main) {
    const auto keyTimer = static_cast<std::uint32_t>(KeyTimer.id);
    // A box up from one tick blocks the next ticks behind it: they must not
    // stack another.
    if (sim::PeakModalsOpenedBy(keyTimer) > 1)
        return "key ticks had " + std::to_string(sim::PeakModalsOpenedBy(keyTimer)) +
               " boxes or dialogs open at once";
    const std::vector<std::uint8_t> down = sim::KeysDown();
    if (!down.empty()) {
        std::string keys;
        for (std::uint8_t vk : down) keys += " " + std::to_string(vk);
        return "synthetic keys left down:" + keys;
    }
    // A card first found after a resume is not polled: start-up found none
    // (bTunerReady 0), and a re-open leaves that as it is.
    if (main != 0 && bTunerReady == 1 && g_Tuner.pKsControl != nullptr &&
        !sim::HasTimer(main, keyTimer) && !sim::HasTimer(main, kKeyTimerRetryId))
        return "the device is open but neither the key timer nor its retry is set";
    return std::string();
}

}  // namespace invariants
