// The shared records' start values, the identity searches and the start-up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/program.h"
#include "controllers/records.h"
#include "device/tuner_connection.h"
#include "engine/route.h"
#include "os/sim/sim.h"

namespace {

TEST(Records, StartValues) {
    sim::Reset();
    DefaultTVAPP = 9;
    ArcSoftTV5.bActive = 1;
    bWatchSavrin = 1;
    KeyRepeatState.nRepeatCount = 7;
    InitProcessRecords();
    EXPECT_EQ(6, DefaultTVAPP);
    EXPECT_EQ(0, nIRKEYType);
    EXPECT_EQ(0, AlwaysRemoteOff);
    EXPECT_EQ(0, ArcSoftTV5.bActive);
    EXPECT_EQ(0, bWatchSavrin);
    EXPECT_EQ(0, KeyRepeatState.nRepeatCount);
    EXPECT_STREQ("_MIRACLE_20090309_1", ArcSoftTV5.szClassName);
    EXPECT_STREQ("ArcSoft TotalMedia", TotalMedia35.szWindowTitle);
    EXPECT_STREQ("", Savrin.szClassName);
    EXPECT_STREQ("Dravune", Savrin.szWindowTitle);
    EXPECT_STREQ("", ArcSoftTV5.szExeName);

    const std::int32_t codes[] = {2, 4, 5, 6, 7, 8, 9, 10};
    const std::uint32_t commands[] = {1107, 1104, 1103, 1101, 1106, 1105, 1102, 1108};
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(nullptr, FindTargetApp(codes[i]));
        EXPECT_EQ(commands[i], FindTargetApp(codes[i])->nMenuCommand);
        ASSERT_NE(nullptr, SlotOfCode(codes[i]));
        EXPECT_EQ(SlotOfCode(codes[i])->pApp, IdentityOf(*SlotOfCode(codes[i])->pApp)->pApp);
    }
    for (std::int32_t unused : {0, 1, 3, 11})
        EXPECT_EQ(nullptr, FindTargetApp(unused)) << unused;
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
        sim::WindowSpec near;
        near.className = std::string(row.cls) + "X";
        near.title = std::string(row.title) + " ";
        sim::AddWindow(near);
        EXPECT_TRUE(NoTvAppWindow()) << row.title;
        sim::WindowSpec spec;
        spec.className = row.cls;
        spec.title = row.title;
        os::Hwnd hwnd = sim::AddWindow(spec);
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
    g_Tuner = TunerConnection{0, sim::DriverCapturePath(), nullptr, sim::DriverCapturePath(),
                              0x7164, 0, 0};
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
