// Interval timers on the simulated window timers.
#include "core/interval_timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/sim/sim.h"
#include "main_window_world.h"

namespace {

using test_world::Lines;

int g_ticks = 0;
void CountTick(os::Hwnd, std::uint32_t, std::uint32_t, std::uint32_t) { ++g_ticks; }

class IntervalTimers : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = test_world::StartWithMainWindow();
        ASSERT_NE(main_, 0u);
        g_ticks = 0;
    }
    void TearDown() override {
        KeyTimer.Stop();
        WatchTimer.Stop();
    }
    os::Hwnd main_ = 0;
};

TEST_F(IntervalTimers, StartAndStopAreIdempotent) {
    PrepareWatchTimer(main_);
    EXPECT_EQ(Lines("killtimer"), 0) << "binding leaves the platform timer alone";
    StartWatchTimer();
    sim::Run(400);
    StartWatchTimer();  // keeps the running one-second rhythm
    EXPECT_EQ(Lines("settimer id=2 elapse=1000 proc"), 1);
    WatchTimer.Stop();
    WatchTimer.Stop();
    EXPECT_EQ(Lines("killtimer id=2"), 1);
    EXPECT_EQ(WatchTimer.running, 0);
}

TEST_F(IntervalTimers, RefusedSetTimerLeavesTheTimerStoppedForTheNextStart) {
    IntervalTimer t(7, CountTick);
    t.Bind(main_, 100);
    sim::FailNext(sim::Call::SetTimer, 0);
    t.Start();
    EXPECT_EQ(t.running, 0);
    t.Stop();
    EXPECT_EQ(Lines("killtimer"), 0) << "nothing to kill";
    t.Start();
    EXPECT_EQ(t.running, 1);
    sim::Run(350);
    EXPECT_EQ(g_ticks, 3);
}

TEST_F(IntervalTimers, DestroyingARunningTimerStopsIt) {
    {
        IntervalTimer t(7, CountTick);
        t.Bind(main_, 100);
        t.Start();
        sim::Run(150);
    }
    EXPECT_EQ(Lines("killtimer id=7"), 1);
    sim::Run(1000);
    EXPECT_EQ(g_ticks, 1);
}

TEST_F(IntervalTimers, KeyTimerRunsEvery65ms) {
    StartKeyTimer(main_);
    EXPECT_EQ(Lines("settimer id=1 elapse=65 proc"), 1);
    EXPECT_EQ(KeyTimer.owner, main_);
    EXPECT_EQ(KeyTimer.running, 1);
}

TEST_F(IntervalTimers, StartUpResetForgetsEarlierTimers) {
    StartKeyTimer(main_);
    ResetIntervalTimers();
    EXPECT_EQ(KeyTimer.running, 0);
    EXPECT_EQ(KeyTimer.owner, 0u);
    EXPECT_EQ(Lines("killtimer"), 0);
}

}  // namespace
