// The world of the per-application controller tests: a fresh desktop with
// the program's hidden window, helpers to add windows, and checks that run
// a key map over every code and compare what it sent with a table written
// out from the application's chart.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/interval_timer.h"
#include "app/program.h"
#include "controllers/controller_table.h"
#include "device/tuner_connection.h"
#include "main_window_world.h"
#include "os/sim/sim.h"

namespace ctlworld {

using Lines = std::vector<std::string>;
using KeyMapFn = void (*)(std::uint32_t);

// Codes every map is tried with: 0..100, the 35-key remote's 3852 and the
// suppressed-repeat marker -1.
inline std::vector<std::uint32_t> AllCodes() {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t c = 0; c <= 100; ++c) codes.push_back(c);
    codes.push_back(3852);
    codes.push_back(0xFFFFFFFFu);
    return codes;
}

inline std::string Hex2(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", v);
    return text;
}

// One row of a command chart: codes first..last send command (counting up
// over the range), delivered by rule m(ain), a(lways), n(ot-viewer),
// f(orm), p(lain) or r(aised), then wait.
struct CommandRow {
    std::uint32_t nFirst, nLast, nCommand;
    char rule;
    std::uint32_t nWaitMs;
};

// One row of a keystroke chart: c(hord) of the keys named in `keys`
// (blank-separated), k(ey-down posted) with wParam `keys`, or n(othing).
struct KeyRowExp {
    std::uint32_t nCode;
    char kind;
    const char* keys;
    std::uint32_t nWaitMs;
};

class World : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        hMainWindow = Add("Remote Control", "Remote Control", false);
    }
    static os::Hwnd Add(const char* cls, const char* title, bool visible = true,
                        bool closable = false) {
        sim::WindowDesc w;
        w.className = cls;
        w.title = title;
        w.visible = visible;
        w.closable = closable;
        return sim::AddWindow(w);
    }
    static void Install(AppController& app, const char* dir, const char* exe) {
        app.bInstalled = 1;
        std::snprintf(app.szInstallDir, sizeof app.szInstallDir, "%s", dir);
        std::snprintf(app.szExeName, sizeof app.szExeName, "%s", exe);
        sim::SetFileExists(std::string(dir) + "\\" + exe);
    }
    // A card on the capture path and the key timer running on a window of
    // the program's own, for tests that hold remote keys.
    static void StartKeyEngine() {
        test_world::ConnectCard();
        os::WindowClass wc{0, [](os::Hwnd h, std::uint32_t m, std::uint32_t w, std::int32_t l) {
                               return os::DefWindowProcA(h, m, w, l);
                           }, 0, 0, 0, "Remote Control"};
        os::RegisterClassExA(wc);
        hMainWindow = os::CreateWindowExA(0, "Remote Control", "Remote Control", 0, 0, 0, 0, 0, 0,
                                          0, 0);
        StartKeyTimer(hMainWindow);
    }
    // What one call sent, from a cleared log.
    template <typename F>
    static Lines Effects(F&& f) {
        sim::ClearEffects();
        f();
        return sim::EffectTexts();
    }
    static std::string Post(std::uint32_t msg, std::uint32_t w, os::Hwnd to) {
        return "post " + std::to_string(msg) + " wParam=" + Hex2(w) + " lParam=0x0 to " +
               sim::DescribeWindow(to);
    }
    // Bringing another program's window forward: SetActiveWindow fails for
    // a window of another thread, as on Windows.
    static Lines Forward(os::Hwnd h) {
        return {"foreground " + sim::DescribeWindow(h), "active " + sim::DescribeWindow(h) + " failed"};
    }

    // Runs `map` over every code, with `form` (0: none) visible beside
    // `main`, and compares each code's effects with the chart.
    static void CheckCommandMap(KeyMapFn map, std::uint32_t msg, const CommandRow* rows,
                                std::size_t count, os::Hwnd main, os::Hwnd form) {
        for (std::uint32_t code : AllCodes()) {
            Lines want;
            for (std::size_t i = 0; i < count; ++i) {
                const CommandRow& r = rows[i];
                if (code < r.nFirst || code > r.nLast) continue;
                const std::uint32_t cmd = r.nCommand + (code - r.nFirst);
                if (r.rule == 'r') want.push_back("top " + sim::DescribeWindow(main));
                if (r.rule == 'r') Append(want, Forward(main));
                if (r.rule == 'f' && form != 0) {
                    Append(want, Forward(form));
                    want.push_back(Post(msg, cmd, form));
                } else if (r.rule != 'm' || form == 0) {
                    want.push_back(Post(msg, cmd, main));
                }
                if (r.nWaitMs) want.push_back("sleep " + std::to_string(r.nWaitMs));
            }
            EXPECT_EQ(want, Effects([&] { map(code); })) << "code " << code;
        }
    }
    template <std::size_t N>
    static void CheckCommandMap(KeyMapFn map, std::uint32_t msg, const CommandRow (&rows)[N],
                                os::Hwnd main, os::Hwnd form = 0) {
        CheckCommandMap(map, msg, rows, N, main, form);
    }

    // A synthetic key event: the modifiers as left keys, the rest extended.
    static std::string KeyLine(const std::string& key, const char* dir) {
        const bool modifier = key == "VK_SHIFT" || key == "VK_CONTROL" || key == "VK_MENU";
        return "keybd " + key + " " + dir + (modifier ? "" : " ext");
    }

    // The effects a keystroke row must have on `main`.
    static Lines KeyEffects(const KeyRowExp& r, os::Hwnd main) {
        Lines want;
        if (r.kind != 'n') want = Forward(main);
        std::vector<std::string> keys;
        std::istringstream in(r.keys);
        for (std::string k; in >> k;) keys.push_back(k);
        if (r.kind == 'k')
            want.push_back("post WM_KEYDOWN wParam=" + keys.at(0) + " lParam=0x01500001 to " +
                           sim::DescribeWindow(main));
        if (r.kind == 'c') {
            for (const std::string& k : keys) want.push_back(KeyLine(k, "down"));
            want.push_back(KeyLine(keys.back(), "up"));
            for (std::size_t i = keys.size() - 1; i > 0; --i)
                want.push_back(KeyLine(keys[i - 1], "up"));
        }
        if (r.nWaitMs) want.push_back("sleep " + std::to_string(r.nWaitMs));
        return want;
    }
    static void Append(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }
};

}  // namespace ctlworld
