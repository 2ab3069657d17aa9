// For tests of the program's own timers: a fresh simulated desktop with the
// hidden main window (which owns the timers) and a counter of effect lines.
#pragma once
#include <algorithm>
#include <string>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "device/tuner_connection.h"
#include "os/sim/sim.h"

namespace test_world {

inline std::int32_t IdleProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wp, std::int32_t lp) {
    return os::DefWindowProcA(hwnd, msg, wp, lp);
}

// Resets the world and the records; returns the main window, also kept in
// hMainWindow, with the effect log emptied.
inline os::Hwnd StartWithMainWindow() {
    sim::Reset();
    InitProcessRecords();
    os::WindowClass wc = {3, IdleProc, 0, 50, 6, "Remote Control"};
    os::RegisterClassExA(wc);
    hMainWindow = os::CreateWindowExA(0, "Remote Control", "Remote Control", 0, 0, 0, 0, 0, 0, 0, 0);
    sim::ClearEffects();
    return hMainWindow;
}

// The card open on the capture path, its remote on the I2C reader (ready
// pin 6), for tests that press remote keys.
inline void ConnectCard() {
    sim::DriverBoard board;
    board.readyPin = 6;
    sim::SetDriverBoard(board);
    g_Board = BoardAttributes{6, 2, 1};
    g_Tuner = TunerConnection{0, sim::DriverCapturePath(), nullptr, sim::DriverCapturePath(),
                              0x7164, 0, 0};
}

// Effect lines that begin with `prefix`.
inline int Lines(const std::string& prefix) {
    auto texts = sim::EffectTexts();
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const std::string& t) {
        return t.rfind(prefix, 0) == 0;
    }));
}

}  // namespace test_world
