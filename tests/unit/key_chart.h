// Keystroke charts of the ArcSoft family and Media Center: digit rows and a
// check of a key map over every code against the chart's rows.
#pragma once
#include <string>
#include <vector>

#include "controller_world.h"

namespace keychart {

using ctlworld::KeyRowExp;

// The charts' "0-8: digit 1-9" and their digit-0 key, as numpad taps or,
// with `posted`, as posted key-downs.
inline std::vector<KeyRowExp> WithDigits(std::uint32_t zeroCode, std::vector<KeyRowExp> rows,
                                         bool posted = false) {
    static const char* const kNumpad[] = {"VK_NUMPAD0", "VK_NUMPAD1", "VK_NUMPAD2", "VK_NUMPAD3",
                                          "VK_NUMPAD4", "VK_NUMPAD5", "VK_NUMPAD6", "VK_NUMPAD7",
                                          "VK_NUMPAD8", "VK_NUMPAD9"};
    static const char* const kPosted[] = {"0x60", "0x61", "0x62", "0x63", "0x64",
                                          "0x65", "0x66", "0x67", "0x68", "0x69"};
    const char* const* keys = posted ? kPosted : kNumpad;
    const char kind = posted ? 'k' : 'c';
    for (std::uint32_t n = 0; n <= 8; ++n) rows.push_back({n, kind, keys[n + 1], 0});
    rows.push_back({zeroCode, kind, keys[0], 0});
    return rows;
}

class Chart : public ctlworld::World {
protected:
    // Every code of AllCodes() but `skip`: what the map sends to `window`
    // is what the chart's row says, and nothing for codes it does not list.
    void CheckChart(ctlworld::KeyMapFn map, const std::vector<KeyRowExp>& chart, os::Hwnd window,
                    const std::vector<std::uint32_t>& skip = {}) {
        for (std::uint32_t code : ctlworld::AllCodes()) {
            bool skipped = false;
            for (std::uint32_t s : skip) skipped = skipped || s == code;
            if (skipped) continue;
            KeyRowExp row{code, 'n', "", 0};
            for (const KeyRowExp& r : chart)
                if (r.nCode == code) row = r;
            EXPECT_EQ(KeyEffects(row, window), Effects([&] { map(code); })) << "code " << code;
        }
    }
};

}  // namespace keychart
