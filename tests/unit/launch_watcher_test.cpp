// Launch watcher: watched applications, the sweep, and the timer's life.
#include "engine/launch_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/interval_timer.h"
#include "app/program.h"
#include "controllers/controller_table.h"
#include "controllers/keymap_load.h"
#include "controllers/user_apps.h"
#include "os/sim/sim.h"
#include "main_window_world.h"

namespace {

using test_world::Lines;

sim::WindowDesc Desc(const char* className, const char* title) {
    sim::WindowDesc desc;
    desc.className = className;
    desc.title = title;
    return desc;
}

const sim::WindowDesc kTotalMedia = Desc("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia");
const sim::WindowDesc kSavrin = Desc("Dravune_Class", "Dravune");
const sim::WindowDesc kPowerCinema = Desc("PCMainWnd", "PowerCinema");

class LaunchWatcher : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(test_world::StartWithMainWindow(), 0u);
        PrepareWatchTimer(hMainWindow);
    }
    void TearDown() override { WatchTimer.Stop(); }
};

TEST_F(LaunchWatcher, WatchedApplicationClosedIsNoticedWithinASecond) {
    os::Hwnd tm = sim::AddWindow(kTotalMedia);
    TotalMedia35.bActive = 1;
    bWatchTotalMedia35 = 1;
    Orbisk.bActive = 1;  // closed behind our back, not watched
    StartWatchTimer();
    sim::Run(30000);
    EXPECT_EQ(TotalMedia35.bActive, 1) << "still running after 30 s";
    EXPECT_EQ(Orbisk.bActive, 0) << "a stale mark goes with the watch";
    EXPECT_EQ(WatchTimer.running, 1);
    sim::RemoveWindow(tm);
    sim::Run(1000);
    EXPECT_EQ(TotalMedia35.bActive, 0);
    EXPECT_EQ(bWatchTotalMedia35, 0);
    EXPECT_EQ(WatchTimer.running, 0);
    EXPECT_EQ(Lines("killtimer id=2"), 1);
    EXPECT_EQ(Lines("sleep"), 0) << "watching never sweeps";
}

TEST_F(LaunchWatcher, LaunchedUserAppIsWatchedUntilItCloses) {
    sim::SetFileContent("C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini",
                        "[app:Player]\r\nclass = PlayerWnd\r\nexe = C:\\p.exe\r\n");
    LoadKeymapFile();
    sim::SetLaunchWindow("C:\\p.exe", Desc("PlayerWnd", "P"), 500);
    sim::SetShellExecuteResult(42);
    LaunchOrCloseUserApp(0);
    sim::Run(10000);
    EXPECT_EQ(UserApps[0].bActive, 1) << "its window came up before the first tick";
    EXPECT_EQ(WatchTimer.running, 1);
    sim::RemoveWindowAt(sim::Now() + 100, "PlayerWnd", "P");
    sim::Run(1200);
    EXPECT_EQ(UserApps[0].bActive, 0);
    EXPECT_EQ(UserApps[0].bWatch, 0);
    EXPECT_EQ(WatchTimer.running, 0);
}

TEST_F(LaunchWatcher, FailedLaunchSweepsStaleMarksAfterTwoSeconds) {
    sim::AddWindow(kPowerCinema);
    PowerCinema.bActive = 1;   // its window is there: kept
    Orbisk.bActive = 1;        // stale
    TVEnhance.bActive = 1;     // stale
    Savrin.bActive = 1;        // stale: our choice is to clear it too
    StartWatchTimer();
    sim::Run(1000);
    auto texts = sim::EffectTexts();
    auto sleep = std::find(texts.begin(), texts.end(), "sleep 2000");
    ASSERT_NE(sleep, texts.end());
    EXPECT_NE(std::find(sleep, texts.end(), "killtimer id=2 on " + sim::DescribeWindow(hMainWindow)),
              texts.end())
        << "the timer stops after the wait";
    EXPECT_EQ(PowerCinema.bActive, 1);
    EXPECT_EQ(Orbisk.bActive, 0);
    EXPECT_EQ(TVEnhance.bActive, 0);
    EXPECT_EQ(Savrin.bActive, 0);
    EXPECT_EQ(WatchTimer.running, 0);
    sim::Run(5000);
    EXPECT_EQ(Lines("sleep 2000"), 1) << "one sweep, then idle";
}

TEST_F(LaunchWatcher, OnlyTheFirstWatchedApplicationIsHandledPerTick) {
    Savrin.bActive = 1;
    TotalMedia35.bActive = 1;
    bWatchSavrin = 1;
    bWatchTotalMedia35 = 1;
    StartWatchTimer();
    sim::Run(1000);
    EXPECT_EQ(Savrin.bActive, 0);
    EXPECT_EQ(bWatchSavrin, 0);
    EXPECT_EQ(bWatchTotalMedia35, 1) << "left for the next start of the timer";
    EXPECT_EQ(TotalMedia35.bActive, 1);
    EXPECT_EQ(WatchTimer.running, 0);
    StartWatchTimer();
    sim::Run(1000);
    EXPECT_EQ(TotalMedia35.bActive, 0);
    EXPECT_EQ(bWatchTotalMedia35, 0);
}

TEST_F(LaunchWatcher, WatchedSavrinStaysActiveWhileItsWindowIsUp) {
    os::Hwnd s = sim::AddWindow(kSavrin);
    Savrin.bActive = 1;
    bWatchSavrin = 1;
    StartWatchTimer();
    sim::Run(5000);
    EXPECT_EQ(Savrin.bActive, 1);
    sim::RemoveWindow(s);
    sim::Run(1000);
    EXPECT_EQ(Savrin.bActive, 0);
}

TEST_F(LaunchWatcher, StoppedFromItsOwnTickAndRestartedWithAFreshPeriod) {
    bWatchOrbisk = 1;
    StartWatchTimer();
    sim::Run(1000);  // window absent: stops itself on this tick
    EXPECT_EQ(WatchTimer.running, 0);
    sim::Run(500);
    bWatchOrbisk = 1;
    StartWatchTimer();
    sim::Run(999);
    EXPECT_EQ(bWatchOrbisk, 1) << "no tick before a full second";
    sim::Run(1);
    EXPECT_EQ(bWatchOrbisk, 0);
}

}  // namespace
