// The shared records' start values, the identity searches and the start-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "core/interval_timer.h"
#include "device/tuner_connection.h"
#include "engine/route.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"

namespace {

TEST(Records, InitialisationResetsEveryRecord) {
    sim::Reset();
    DefaultTVAPP = 9;
    ArcSoftTV5.bActive = 1;
    std::snprintf(ArcSoftTV5.szClassName, sizeof ArcSoftTV5.szClassName, "stale");
    bWatchSavrin = 1;
    KeyRepeatState.nRepeatCount = 7;
    ShutdownDialogOpen = 1;
    InitProcessRecords();
    EXPECT_EQ(6, DefaultTVAPP);
    EXPECT_EQ(0, ArcSoftTV5.bActive);
    EXPECT_STREQ("_MIRACLE_20090309_1", ArcSoftTV5.szClassName);
    EXPECT_EQ(0, bWatchSavrin);
    EXPECT_EQ(0, KeyRepeatState.nRepeatCount);
    EXPECT_EQ(0, ShutdownDialogOpen);
    // Every application code reaches one record through each table.
    for (const TargetAppRow& row : TargetAppTable) {
        ASSERT_NE(nullptr, SlotOfCode(row.nCode)) << row.szLabel;
        AppController* app = SlotOfCode(row.nCode)->pApp;
        ASSERT_NE(nullptr, IdentityOf(*app)) << row.szLabel;
        EXPECT_EQ(row.nCode, IdentityOf(*app)->nTargetAppCode) << row.szLabel;
    }
    EXPECT_EQ(nullptr, FindTargetApp(3));
}

TEST(Records, EachIdentityAloneMeansATvWindowExists) {
    const struct {
        const char* cls;
        const char* title;
        AppController* app;
    } rows[] = {{"TarvelMainPanel_Class", "TVR", &Orbisk},
                {"TarvelMainPanel_Class", "Orbisk Center", &OrbiskCenter},
                {"TForm", "Dravune", &Savrin},
                {"eHome Render Window", "Windows Media Center", &MediaCenter},
                {"ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia", &TotalMedia35},
                {"_MIRACLE_20090309_1", "Arcsoft TV 5.0", &ArcSoftTV5},
                {"Afx:400000", "PowerCinema", &PowerCinema},
                {"TVEnhance", "TV Enhance", &TVEnhance}};
    for (const auto& row : rows) {
        sim::Reset();
        InitProcessRecords();
        sim::WindowDesc near;
        near.className = std::string(row.cls) + "X";
        near.title = std::string(row.title) + " ";
        sim::AddWindow(near);
        EXPECT_TRUE(NoTvAppWindow()) << row.title;
        sim::WindowDesc window;
        window.className = row.cls;
        window.title = row.title;
        os::Hwnd hwnd = sim::AddWindow(window);
        EXPECT_FALSE(NoTvAppWindow()) << row.title;
        EXPECT_EQ(hwnd, FindMainWindow(*row.app)) << row.title;
    }
}

TEST(Records, StartUpMakesTheHiddenWindowAndTheKeyTimer) {
    sim::Reset();
    sim::DriverBoard board;
    board.readyPin = 7;
    sim::SetDriverBoard(board);
    g_Board = BoardAttributes{7, 2, 1};
    sim::FilterDesc capture;
    capture.friendlyName = "713x BDA Analog Capture";
    sim::AddFilterDevice(sim::FilterCategory::Capture, capture);
    ClearRouted();
    os::Hwnd main = ProgramStartUp(0x400000);
    ASSERT_NE(0u, main);
    EXPECT_EQ(main, hMainWindow);
    EXPECT_EQ(main, sim::FindExact("Remote Control", "Remote Control"));
    EXPECT_EQ(0, os::IsWindowVisible(main));

    std::uint32_t before = sim::DriverRequestCount();
    sim::Run(650);
    EXPECT_EQ(10u, sim::DriverRequestCount() - before);
    sim::PressKeyAt(sim::Now() + 10, 30, 100);
    sim::Run(130);
    ASSERT_LE(1u, RoutedCount());
    EXPECT_EQ(30, RoutedAt(0).code);
    EXPECT_EQ(main, RoutedAt(0).owner);

    StartWatchTimer();
    std::string last = sim::EffectTexts().back();
    EXPECT_NE(std::string::npos, last.find("1000")) << last;
}

}  // namespace
