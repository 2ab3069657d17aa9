// rcbench [--ticks N] [--key CODE] WORLD.scn: plays a scenario's world and
// timeline, then calls the key timer's procedure N times, as Windows does
// every 65 ms. Idle, no key is held at any tick; with --key each tick reads
// a fresh press of CODE. Nothing else runs the program in between, so
// callgrind with --toggle-collect on MeasuredTick counts these ticks alone
// (scripts/bench.sh, docs/performance.md).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/program.h"
#include "core/interval_timer.h"
#include "os/sim/sim.h"
#include "tools/rcsim/scenario.h"

namespace {

// Past the 250 ms repeat window: every press reads as a new key.
constexpr std::uint32_t kPressGapMs = 400;

int Usage() {
    std::fprintf(stderr, "usage: rcbench [--ticks N] [--key CODE] WORLD.scn\n");
    return 2;
}

bool ReadNumber(const char* text, long low, long high, long* out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 0);
    if (end == text || *end != '\0' || v < low || v > high) return false;
    *out = v;
    return true;
}

bool LoadWorld(const char* file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "rcbench: cannot read %s\n", file);
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    rcsim::Scenario scenario;
    std::string error;
    if (!rcsim::ReadStart(text, &scenario.start, &error)) {
        std::fprintf(stderr, "rcbench: %s:%s\n", file, error.c_str());
        return false;
    }
    sim::Reset(scenario.start);
    if (!rcsim::Apply(text, &scenario, &error)) {
        std::fprintf(stderr, "rcbench: %s:%s\n", file, error.c_str());
        return false;
    }
    ProgramStartUp(os::GetModuleHandleA(nullptr));
    if (scenario.runs.empty()) scenario.runs.push_back(scenario.lastEvent + 1000);
    for (std::uint32_t ms : scenario.runs) sim::Run(ms);
    return true;
}

// One tick as Windows makes it: the procedure SetTimer was given. Only these
// calls are measured (callgrind --toggle-collect), not the ticks that played
// the world's timeline.
__attribute__((noinline)) void MeasuredTick() {
    KeyTimer.callback(KeyTimer.owner, os::WM_TIMER, 1, sim::Now());
}

bool IsDebugLine(const std::string& text) { return text.compare(0, 6, "debug ") == 0; }

}  // namespace

int main(int argc, char** argv) {
    long ticks = 1000;
    long key = -1;
    const char* world = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) {
            if (!ReadNumber(argv[++i], 1, 10000000, &ticks)) return Usage();
        } else if (std::strcmp(argv[i], "--key") == 0 && i + 1 < argc) {
            if (!ReadNumber(argv[++i], 0, 254, &key)) return Usage();
        } else if (world == nullptr && argv[i][0] != '-') {
            world = argv[i];
        } else {
            return Usage();
        }
    }
    if (world == nullptr) return Usage();
    if (!LoadWorld(world)) return 2;
    if (!KeyTimer.running || KeyTimer.callback == nullptr) {
        std::fprintf(stderr, "rcbench: %s: the program did not start its key timer\n", world);
        return 1;
    }

    // Each tick must do what is measured: nothing when idle, the key's
    // effect when pressed. A world that routes nowhere is a wrong figure.
    sim::ClearEffects();
    std::string firstTick;
    for (long i = 0; i < ticks; ++i) {
        if (key >= 0) sim::PressKey(static_cast<std::uint8_t>(key), 60);
        MeasuredTick();
        bool acted = false;
        for (const sim::Effect& e : sim::Effects()) {
            if (i == 0) firstTick += "  " + e.text + "\n";
            if (!IsDebugLine(e.text)) acted = true;
        }
        if ((key >= 0) != acted) {
            std::fprintf(stderr, "rcbench: %s: tick %ld %s\n%s", world, i + 1,
                         key >= 0 ? "did nothing with the key" : "acted with no key held",
                         firstTick.c_str());
            return 1;
        }
        sim::ClearEffects();
        // Sleep moves the clock without running timers: no tick but ours.
        os::Sleep(key >= 0 ? kPressGapMs : static_cast<std::uint32_t>(KeyTimer.interval));
        sim::ClearEffects();
    }
    std::printf("%s: %ld %s ticks, first tick's effects:\n%s", world, ticks,
                key >= 0 ? ("key " + std::to_string(key)).c_str() : "idle",
                firstTick.empty() ? "  (none)\n" : firstTick.c_str());
    return 0;
}
