// Orbisk Center: its chart row by row, the form rules, and its own close.
#include "controllers/key_maps.h"
#include "controllers/orbisk_center.h"
#include "controller_world.h"

namespace {

using namespace ctlworld;

const CommandRow kChart[] = {
    {0, 8, 10001, 'm', 0},   {9, 9, 4003, 'm', 0},    {10, 10, 10000, 'm', 0},
    {11, 11, 35005, 'f', 0}, {14, 14, 35007, 'f', 0}, {15, 15, 27, 'm', 0},
    {16, 16, 4001, 'm', 0},  {17, 17, 4002, 'm', 0},  {18, 18, 402, 'm', 0},
    {19, 19, 401, 'm', 0},   {20, 20, 403, 'm', 0},   {21, 21, 300, 'm', 0},
    {22, 22, 207, 'm', 0},   {23, 23, 3, 'm', 0},     {24, 24, 32, 'm', 0},
    {25, 25, 2000, 'm', 2000}, {26, 26, 1002, 'n', 0}, {27, 27, 1001, 'm', 2000},
    {28, 28, 1000, 'm', 0},  {29, 29, 26, 'm', 0},    {30, 30, 18, 'm', 0},
    {31, 31, 28, 'm', 0},    {32, 32, 35002, 'f', 0}, {69, 69, 35002, 'f', 0},
    {33, 33, 35004, 'f', 0}, {70, 70, 35004, 'f', 0}, {34, 34, 50, 'm', 0},
    {35, 35, 33, 'm', 0},    {64, 64, 1005, 'a', 0},  {65, 65, 1004, 'a', 0},
    {66, 66, 35001, 'f', 0}, {67, 67, 35003, 'f', 0}, {68, 68, 3000, 'a', 2000},
    {71, 71, 3000, 'a', 2000}, {72, 72, 30, 'm', 0},  {73, 73, 31, 'm', 0},
    {74, 74, 20, 'm', 0},    {75, 75, 24, 'm', 0},
};

class OrbiskCenterTest : public World {
protected:
    void SetUp() override {
        World::SetUp();
        Install(OrbiskCenter, "C:\\Tarvel\\OC", "Kestrin.exe");
    }
    os::Hwnd Main() { return Add("TarvelMainPanel_Class", "Orbisk Center"); }
};

TEST_F(OrbiskCenterTest, EveryCodeSendsItsChartRowWithAndWithoutAForm) {
    const os::Hwnd main = Main();
    CheckCommandMap(OrbiskCenterKeyMap, 4024, kChart, main);
    CheckCommandMap(OrbiskCenterKeyMap, 4024, kChart, main, Add("TPopupForm", "Popup"));
}

TEST_F(OrbiskCenterTest, MissingMainWindowSendsNothingButWaitsAndWarnsOnlyFor35002) {
    sim::AnswerMessageBox(1);
    const std::string box = "messagebox \"can't find the TarvelMainPanel_Class\" (null) "
                            "style=0x00000000 -> 1";
    EXPECT_EQ(Lines{box}, Effects([] { OrbiskCenterKeyMap(32); }));
    sim::AnswerMessageBox(1);
    EXPECT_EQ(Lines{box}, Effects([] { OrbiskCenterKeyMap(69); }));
    EXPECT_EQ(Lines{}, Effects([] { OrbiskCenterKeyMap(33); }));
    EXPECT_EQ(Lines{"sleep 2000"}, Effects([] { OrbiskCenterKeyMap(68); }));
    EXPECT_EQ(0u, OrbiskCenter.hWnd);
}

// Marked active while its window has gone and PowerCinema runs: the flag
// goes at the first key, PowerCinema gets the held key and no box opens.
TEST_F(OrbiskCenterTest, HeldKeyWithMainWindowGoneGoesToTheRunningApplication) {
    StartKeyEngine();
    const os::Hwnd pcm = Add("AnyClass", "PowerCinema");
    OrbiskCenter.bActive = 1;
    sim::PressKeyAt(100, 32, 900);
    sim::Run(2500);
    int boxes = 0;
    int toPowerCinema = 0;
    for (const std::string& line : sim::EffectTexts()) {
        if (line.find("messagebox") == 0) ++boxes;
        if (line.find("post WM_KEYDOWN") == 0 && line.find(sim::DescribeWindow(pcm)) != line.npos)
            ++toPowerCinema;
    }
    EXPECT_EQ(0, boxes);
    EXPECT_LT(0, toPowerCinema);
    EXPECT_EQ(0, OrbiskCenter.bActive);
    EXPECT_EQ(1, PowerCinema.bActive);
}

TEST_F(OrbiskCenterTest, OrbiskMainWindowIsNotOrbiskCenters) {
    Add("TarvelMainPanel_Class", "TVR");
    EXPECT_EQ(Lines{}, Effects([] { OrbiskCenterKeyMap(16); }));
}

TEST_F(OrbiskCenterTest, CloseAsksByCommand25AndWaits) {
    const os::Hwnd main = Main();
    OrbiskCenter.bActive = 1;
    EXPECT_EQ((Lines{Post(4024, 25, main), "sleep 2000"}),
              Effects([] { LaunchOrClose(OrbiskCenter); }));
    EXPECT_EQ(0, OrbiskCenter.bActive);
    EXPECT_EQ(0u, OrbiskCenter.hWnd);  // Close leaves it alone
    sim::RemoveWindow(main);
    OrbiskCenter.bActive = 1;
    EXPECT_EQ(Lines{}, Effects([] { OrbiskCenterClose(OrbiskCenter); }));
    EXPECT_EQ(1, OrbiskCenter.bActive);
}

TEST_F(OrbiskCenterTest, LaunchWaitsBeforeTheWatchTimerAndRaisesTheWatchFlag) {
    Lines log = Effects([] { LaunchOrClose(OrbiskCenter); });
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ("shell \"open\" \"C:\\Tarvel\\OC\\Kestrin.exe\" \"remote\" show=5 -> 42", log[0]);
    EXPECT_EQ("sleep 2000", log[1]);
    EXPECT_EQ(0u, log[2].find("settimer id=2 elapse=1000"));
    EXPECT_EQ(1, bWatchOrbiskCenter);
}

TEST_F(OrbiskCenterTest, LaunchWhileOrbiskRunsBringsOrbiskForwardAndStartsNothing) {
    const os::Hwnd orbisk = Add("TarvelMainPanel_Class", "TVR");
    Lines log = Effects([] { LaunchOrClose(OrbiskCenter); });
    Lines want = Forward(orbisk);
    want.push_back("sleep 2000");
    log.resize(want.size());
    EXPECT_EQ(want, log);
    EXPECT_EQ(0, OrbiskCenter.bActive);
    EXPECT_EQ(0, bWatchOrbiskCenter);
}

}  // namespace
