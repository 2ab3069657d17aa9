// Orbisk: its chart row by row (plain and raised commands, no forms), and
// its own close.
#include "controllers/key_maps.h"
#include "controllers/orbisk.h"
#include "controller_world.h"

namespace {

using namespace ctlworld;

const CommandRow kChart[] = {
    {0, 8, 10001, 'p', 0},   {9, 9, 4003, 'p', 0},    {14, 14, 4003, 'p', 0},
    {10, 10, 10000, 'p', 0}, {11, 11, 10020, 'p', 0}, {15, 15, 27, 'p', 0},
    {16, 16, 4001, 'p', 0},  {32, 32, 4001, 'p', 0},  {69, 69, 4001, 'p', 0},
    {17, 17, 4002, 'p', 0},  {33, 33, 4002, 'p', 0},  {70, 70, 4002, 'p', 0},
    {18, 18, 402, 'p', 0},   {66, 66, 402, 'p', 0},   {19, 19, 401, 'p', 0},
    {67, 67, 401, 'p', 0},   {20, 20, 403, 'p', 0},   {21, 21, 300, 'p', 0},
    {22, 22, 200, 'p', 0},   {23, 23, 3, 'p', 0},     {24, 24, 51, 'p', 0},
    {25, 25, 2000, 'p', 2000}, {26, 26, 1002, 'p', 0}, {27, 27, 1001, 'p', 2000},
    {28, 28, 1000, 'p', 0},  {30, 30, 18, 'p', 0},    {31, 31, 10022, 'p', 0},
    {34, 34, 50, 'p', 0},    {35, 35, 104, 'p', 3000}, {64, 64, 1005, 'p', 0},
    {65, 65, 1004, 'p', 0},  {68, 68, 3000, 'r', 2000}, {71, 71, 3000, 'r', 2000},
    {72, 72, 8, 'p', 0},     {73, 73, 17, 'p', 3000}, {74, 74, 20, 'r', 0},
    {75, 75, 21, 'p', 0},
};

class OrbiskTest : public World {
protected:
    void SetUp() override {
        World::SetUp();
        Install(Orbisk, "C:\\Tarvel\\TVR", "Brisel.exe");
    }
};

TEST_F(OrbiskTest, EveryCodeSendsItsChartRowToTheMainWindowEvenWithAForm) {
    const os::Hwnd main = Add("TarvelMainPanel_Class", "TVR");
    CheckCommandMap(OrbiskKeyMap, 4024, kChart, main);
    Add("TPopupForm", "Popup");
    CheckCommandMap(OrbiskKeyMap, 4024, kChart, main);  // forms are not Orbisk's
}

TEST_F(OrbiskTest, NotRunningRaisedKeysStillMakeTheirCallsAndWaitsStillHappen) {
    const std::string none = sim::DescribeWindow(0);
    EXPECT_EQ((Lines{"top " + none + " failed", "foreground " + none + " failed",
                     "active " + none + " failed", "sleep 2000"}),
              Effects([] { OrbiskKeyMap(68); }));
    EXPECT_EQ(Lines{"sleep 3000"}, Effects([] { OrbiskKeyMap(73); }));
    EXPECT_EQ(Lines{}, Effects([] { OrbiskKeyMap(29); }));
}

TEST_F(OrbiskTest, CloseAsksByCommand1AndWaits3000) {
    const os::Hwnd main = Add("TarvelMainPanel_Class", "TVR");
    Orbisk.bActive = 1;
    EXPECT_EQ((Lines{Post(4024, 1, main), "sleep 3000"}), Effects([] { LaunchOrClose(Orbisk); }));
    EXPECT_EQ(0, Orbisk.bActive);
}

TEST_F(OrbiskTest, LaunchWhileOrbiskCenterRunsBringsItForwardAndStartsNothing) {
    const os::Hwnd center = Add("TarvelMainPanel_Class", "Orbisk Center");
    Lines log = Effects([] { LaunchOrClose(Orbisk); });
    Lines want = Forward(center);
    want.push_back("sleep 2000");
    log.resize(want.size());
    EXPECT_EQ(want, log);
    EXPECT_EQ(0, Orbisk.bActive);
    EXPECT_EQ(0, bWatchOrbisk);
}

}  // namespace
