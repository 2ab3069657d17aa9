// The soak: the world of the world fuzz target driven by a seeded generator
// until the remote has been pressed PRESSES times (default 100000), with
// the same invariants checked after every step. Prints the seed, what was
// played and the wall time; on a broken invariant, the step and what broke.
// usage: world_soak [PRESSES [SEED]]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "invariants.h"
#include "world.h"

int main(int argc, char** argv) {
    const unsigned long presses = argc > 1 ? std::strtoul(argv[1], nullptr, 0) : 100000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 0x5EED0001ull;
    std::printf("soak: %lu presses, seed 0x%llX\n", presses, seed);
    std::fflush(stdout);
    const auto began = std::chrono::steady_clock::now();

    world::World w;
    w.c.state = seed == 0 ? 1 : seed;  // xorshift never leaves 0
    if (!w.Start(0)) {
        std::printf("soak: the program did not start\n");
        return 1;
    }
    unsigned long steps = 0;
    std::string broken = invariants::Broken(w.main);
    while (broken.empty() && w.presses < presses) {
        w.Step();
        ++steps;
        broken = invariants::Broken(w.main);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (!broken.empty()) {
        std::printf("soak: seed 0x%llX, step %lu (%s, then time to t=%u): %s\n", seed, steps, w.step,
                    sim::Now(), broken.c_str());
        return 1;
    }
    std::printf("soak: %u presses in %lu steps, %.0f s of virtual time, wall time %.1f s\n",
                w.presses, steps, sim::Now() / 1000.0, seconds);
    return 0;
}
