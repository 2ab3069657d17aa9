// PowerCinema: its chart row by row, codes 15 and 25, and its close.
#include "controllers/key_maps.h"
#include "controller_world.h"

namespace {

using namespace ctlworld;

const KeyRowExp kChart[] = {
    {0, 'k', "0x61", 0},  {1, 'k', "0x62", 0},  {2, 'k', "0x63", 0},  {3, 'k', "0x64", 0},
    {4, 'k', "0x65", 0},  {5, 'k', "0x66", 0},  {6, 'k', "0x67", 0},  {7, 'k', "0x68", 0},
    {8, 'k', "0x69", 0},  {9, 'c', "VK_CONTROL L", 0},                {10, 'k', "0x60", 0},
    {11, 'k', "0x0D", 0}, {14, 'k', "0x08", 0}, {15, 'n', "", 0},     {16, 'k', "0x6B", 0},
    {17, 'k', "0x6D", 0}, {18, 'k', "0x78", 0}, {19, 'k', "0x79", 0}, {20, 'k', "0x77", 0},
    {21, 'c', "VK_CONTROL VK_SHIFT C", 0},      {22, 'c', "VK_CONTROL V", 0},
    {23, 'k', "0x7A", 0}, {24, 'c', "VK_CONTROL E", 0},               {25, 'n', "", 2000},
    {26, 'c', "VK_CONTROL S", 0},               {27, 'c', "VK_CONTROL R", 2000},
    {28, 'c', "VK_CONTROL VK_SHIFT Z", 0},      {30, 'c', "VK_CONTROL O", 0},
    {31, 'c', "VK_CONTROL VK_SHIFT VK_MENU VK_HOME", 0},
    {32, 'k', "0x26", 0}, {69, 'k', "0x26", 0}, {33, 'k', "0x28", 0}, {70, 'k', "0x28", 0},
    {34, 'c', "VK_CONTROL T", 0},               {35, 'c', "VK_CONTROL I", 0},
    {64, 'c', "VK_CONTROL VK_SHIFT D", 0},      {65, 'c', "VK_CONTROL VK_SHIFT F", 0},
    {66, 'k', "0x25", 0}, {67, 'k', "0x27", 0}, {68, 'c', "VK_CONTROL P", 0},
    {71, 'c', "VK_CONTROL P", 0},               {72, 'c', "VK_CONTROL VK_SHIFT E", 0},
    {73, 'c', "VK_CONTROL VK_SHIFT X", 0},      {75, 'c', "VK_CONTROL G", 0},
};

class PowerCinemaTest : public World {};

TEST_F(PowerCinemaTest, EveryCodeSendsItsChartRow) {
    const os::Hwnd main = Add("AnyClass", "PowerCinema");
    for (std::uint32_t code : AllCodes()) {
        Lines want;
        for (const KeyRowExp& r : kChart)
            if (r.nCode == code) want = KeyEffects(r, main);
        EXPECT_EQ(want, Effects([&] { PowerCinemaKeyMap(code); })) << "code " << code;
    }
    EXPECT_EQ(main, PowerCinema.hWnd);
}

TEST_F(PowerCinemaTest, NotRunningSendsNothingButTheWaitsOf25And27) {
    EXPECT_EQ(Lines{}, Effects([] { PowerCinemaKeyMap(9); }));
    EXPECT_EQ(0u, PowerCinema.hWnd);
    EXPECT_EQ(Lines{"sleep 2000"}, Effects([] { PowerCinemaKeyMap(27); }));
    EXPECT_EQ(Lines{"sleep 2000"}, Effects([] { PowerCinemaKeyMap(25); }));
}

TEST_F(PowerCinemaTest, PowerKeyClosesByAltF4WithoutWaiting) {
    const os::Hwnd main = Add("AnyClass", "PowerCinema", true, true);
    PowerCinema.bActive = 1;
    Lines want = Forward(main);
    Append(want, {"keybd VK_MENU down", "keybd VK_F4 down ext",
                  "world close " + sim::DescribeWindow(main), "keybd VK_F4 up ext",
                  "keybd VK_MENU up"});
    EXPECT_EQ(want, Effects([] { LaunchOrClose(PowerCinema); }));
    EXPECT_EQ(0, PowerCinema.bActive);
    EXPECT_EQ(0, bWatchPowerCinema);
}

}  // namespace
