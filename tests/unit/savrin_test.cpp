// Savrin: its four charts row by row, with and without a form, and its own
// close and launch.
#include "controllers/key_maps.h"
#include "controllers/savrin.h"
#include "controller_world.h"

namespace {

using namespace ctlworld;

const CommandRow kChart44[] = {
    {0, 8, 10001, 'm', 0},   {9, 9, 4003, 'm', 0},    {10, 10, 10000, 'm', 0},
    {11, 11, 35005, 'f', 0}, {14, 14, 5, 'p', 0},     {15, 15, 27, 'm', 0},
    {16, 16, 4001, 'm', 0},  {17, 17, 4002, 'm', 0},  {18, 18, 402, 'm', 0},
    {19, 19, 401, 'm', 0},   {20, 20, 403, 'm', 0},   {21, 21, 303, 'm', 0},
    {22, 22, 207, 'm', 0},   {23, 23, 3, 'm', 0},     {24, 24, 32, 'm', 0},
    {25, 25, 2000, 'm', 2000}, {26, 26, 1002, 'a', 0}, {27, 27, 1001, 'm', 2000},
    {28, 28, 1000, 'm', 0},  {30, 30, 18, 'p', 0},    {31, 31, 22, 'p', 0},
    {32, 32, 35002, 'f', 0}, {69, 69, 35002, 'f', 0}, {33, 33, 35004, 'f', 0},
    {70, 70, 35004, 'f', 0}, {34, 34, 50, 'm', 0},    {35, 35, 33, 'm', 0},
    {64, 64, 1005, 'a', 0},  {65, 65, 1004, 'a', 0},  {66, 66, 35001, 'f', 0},
    {67, 67, 35003, 'f', 0}, {68, 68, 3000, 'a', 2000}, {71, 71, 3000, 'a', 2000},
    {72, 72, 30, 'm', 0},    {73, 73, 31, 'm', 0},    {74, 74, 500, 'm', 0},
    {75, 75, 24, 'm', 0},
};

const CommandRow kChart41[] = {
    {0, 8, 10001, 'm', 0},   {9, 9, 4003, 'm', 0},    {10, 10, 10000, 'm', 0},
    {11, 11, 35005, 'f', 0}, {14, 14, 35005, 'f', 0}, {13, 13, 500, 'm', 0},
    {16, 16, 4001, 'm', 0},  {17, 17, 4002, 'm', 0},  {18, 18, 402, 'm', 0},
    {19, 19, 401, 'm', 0},   {20, 20, 403, 'm', 0},   {21, 21, 303, 'm', 0},
    {22, 22, 207, 'm', 0},   {23, 23, 3, 'm', 0},     {24, 24, 5, 'p', 0},
    {25, 25, 2000, 'm', 0},  {26, 26, 1002, 'a', 0},  {69, 69, 1002, 'a', 0},
    {27, 27, 1001, 'm', 0},  {28, 28, 1000, 'm', 0},  {30, 30, 17, 'p', 0},
    {31, 31, 8, 'p', 0},     {64, 64, 1005, 'a', 0},  {65, 65, 1004, 'a', 0},
    {66, 66, 1008, 'p', 0},  {67, 67, 1009, 'p', 0},  {68, 68, 3000, 'a', 0},
    {72, 72, 27, 'm', 0},    {73, 73, 50, 'm', 0},    {74, 74, 24, 'm', 0},
    {75, 75, 22, 'p', 0},
};

const CommandRow kChart36[] = {
    {0, 0, 1001, 'm', 0},    {1, 1, 10001, 'm', 0},   {2, 2, 10000, 'm', 0},
    {4, 4, 1005, 'a', 0},    {5, 5, 10004, 'm', 0},   {6, 6, 10007, 'm', 0},
    {7, 7, 207, 'm', 0},     {8, 8, 1002, 'a', 0},    {9, 9, 10005, 'm', 0},
    {10, 10, 10008, 'm', 0}, {11, 11, 10002, 'm', 0}, {12, 12, 1004, 'a', 0},
    {13, 13, 303, 'm', 0},   {14, 14, 2000, 'm', 0},  {15, 15, 5, 'p', 0},
    {16, 16, 35005, 'f', 0}, {17, 17, 3000, 'a', 0},  {18, 18, 10009, 'm', 0},
    {19, 19, 35007, 'f', 0}, {20, 20, 402, 'm', 0},   {21, 21, 10006, 'm', 0},
    {22, 22, 401, 'm', 0},   {23, 23, 4002, 'm', 0},  {24, 24, 403, 'm', 0},
    {25, 25, 3, 'm', 0},     {26, 26, 1000, 'm', 0},  {27, 27, 10003, 'm', 0},
    {28, 28, 4004, 'a', 0},  {29, 29, 27, 'm', 0},    {31, 31, 4001, 'm', 0},
};

const CommandRow kChart35[] = {
    {0, 0, 10001, 'm', 0},   {3852, 3852, 10001, 'm', 0}, {1, 8, 10002, 'm', 0},
    {10, 10, 3, 'm', 0},     {11, 11, 35005, 'f', 0}, {14, 14, 4003, 'm', 0},
    {19, 19, 4003, 'm', 0},  {16, 16, 1000, 'm', 0},  {17, 17, 4001, 'm', 0},
    {18, 18, 401, 'm', 0},   {20, 20, 10000, 'm', 0}, {23, 23, 2000, 'm', 0},
    {25, 25, 3000, 'a', 0},  {65, 65, 3000, 'a', 0},  {26, 26, 1001, 'm', 0},
    {27, 27, 4002, 'm', 0},  {28, 28, 1004, 'a', 0},  {29, 29, 27, 'm', 0},
    {30, 30, 1005, 'a', 0},  {31, 31, 303, 'm', 0},   {32, 32, 35002, 'f', 0},
    {33, 33, 35004, 'f', 0}, {64, 64, 1002, 'a', 0},  {66, 66, 35001, 'f', 0},
    {67, 67, 35003, 'f', 0}, {68, 68, 403, 'm', 0},   {72, 72, 402, 'm', 0},
};

class SavrinTest : public World {
protected:
    void SetUp() override {
        World::SetUp();
        Install(Savrin, "C:\\Tarvel\\Pelko", "Nolvo.exe");
    }
};

TEST_F(SavrinTest, EveryLayoutSendsItsChartRowWithAndWithoutAForm) {
    const os::Hwnd main = Add("AnyClass", "Dravune");
    const struct {
        KeyMapFn map;
        const CommandRow* rows;
        std::size_t count;
    } layouts[] = {
        {SavrinKeyMap44, kChart44, std::size(kChart44)},
        {SavrinKeyMap41, kChart41, std::size(kChart41)},
        {SavrinKeyMap36, kChart36, std::size(kChart36)},
        {SavrinKeyMap35, kChart35, std::size(kChart35)},
    };
    for (const auto& l : layouts) CheckCommandMap(l.map, 3000, l.rows, l.count, main, 0);
    // A picture viewer of Savrin's own class is a form (step 5).
    const os::Hwnd viewer = Add("Dravune", "PictureView");
    for (const auto& l : layouts) CheckCommandMap(l.map, 3000, l.rows, l.count, main, viewer);
}

TEST_F(SavrinTest, NotRunningEveryMapSendsNothingAndOnlyThe44KeyMapWaits) {
    EXPECT_EQ(Lines{"sleep 2000"}, Effects([] { SavrinKeyMap44(25); }));
    EXPECT_EQ(Lines{}, Effects([] { SavrinKeyMap41(25); }));
    EXPECT_EQ(Lines{}, Effects([] { SavrinKeyMap44(32); }));  // no message box here
    EXPECT_EQ(0u, Savrin.hWnd);
}

TEST_F(SavrinTest, CloseAsksByCommand25WithoutWaiting) {
    const os::Hwnd main = Add("AnyClass", "Dravune");
    Savrin.bActive = 1;
    EXPECT_EQ(Lines{Post(3000, 25, main)}, Effects([] { LaunchOrClose(Savrin); }));
    EXPECT_EQ(0, Savrin.bActive);
}

TEST_F(SavrinTest, LaunchStartsNolvoAndRaisesTheWatchFlag) {
    Lines log = Effects([] { LaunchOrClose(Savrin); });
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("shell \"open\" \"C:\\Tarvel\\Pelko\\Nolvo.exe\" \"remote\" show=5 -> 42", log[0]);
    EXPECT_EQ(0u, log[1].find("settimer id=2 elapse=1000"));
    EXPECT_EQ(1, bWatchSavrin);
}

}  // namespace
