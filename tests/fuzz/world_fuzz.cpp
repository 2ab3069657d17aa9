// Any sequence of world events around the running program: TV windows of
// the eight applications and of any class and title bytes coming, going and
// retitled, the foreground refused, codes 0 to 255 with any holds and gaps,
// power and display notices, keyboard layouts, boxes and dialogs answered
// late or never, timers, posts, starts and driver requests failing, tray
// menu choices. The shared invariants are checked after every step.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "invariants.h"
#include "world.h"

namespace {

void Check(const world::World& w, int step) {
    const std::string broken = invariants::Broken(w.main);
    if (broken.empty()) return;
    std::fprintf(stderr, "world fuzz: step %d (%s): %s\n", step, w.step, broken.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    world::World w;
    w.c.data = data;
    w.c.size = size;
    // Some runs cross the wrap of the millisecond counter.
    if (!w.Start(w.c.Byte() & 1 ? 0xFFFFE000u : 0)) return 0;
    sim::ClearEffects();
    Check(w, 0);
    for (int i = 1; i <= 96 && !w.c.Exhausted(); ++i) {
        w.Step();
        Check(w, i);
    }
    return 0;
}
