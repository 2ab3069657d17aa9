// TotalMedia 3.5: both key maps row by row against the chart, the board
// variant rows, waits without a window, and the two window searches.
#include <string>
#include <vector>

#include "key_chart.h"
#include "controllers/key_maps.h"
#include "device/tuner_connection.h"

namespace {

using ctlworld::KeyRowExp;
using ctlworld::Lines;

using keychart::WithDigits;

// Shared map with nBoardVariant 9: 30 sends Ctrl+Shift+S, 72 Ctrl+Shift+W.
const std::vector<KeyRowExp> kSharedChart = WithDigits(
    10, {{9, 'c', "VK_F11", 0},          {11, 'c', "VK_RETURN", 0},
         {14, 'f', "", 0},               {15, 'c', "VK_F12", 0},
         {16, 'c', "VK_ADD", 0},         {17, 'c', "VK_SUBTRACT", 0},
         {18, 'c', "VK_F9", 0},          {19, 'c', "VK_F10", 0},
         {20, 'c', "VK_F8", 0},          {21, 'c', "VK_F6", 0},
         {22, 'c', "VK_F4", 0},          {23, 'c', "VK_MENU VK_RETURN", 0},
         {24, 'c', "VK_CONTROL E", 0},   {25, 'c', "VK_F2", 2000},
         {26, 'c', "VK_CONTROL S", 0},   {27, 'c', "VK_CONTROL R", 2000},
         {28, 'c', "VK_F5", 0},          {30, 'c', "VK_CONTROL VK_SHIFT S", 0},
         {31, 'c', "VK_CONTROL Q", 0},   {32, 'c', "VK_UP", 0},
         {33, 'c', "VK_DOWN", 0},        {34, 'c', "VK_CONTROL L", 0},
         {35, 'c', "VK_CONTROL I", 0},   {64, 'c', "VK_CONTROL VK_SHIFT D", 0},
         {65, 'c', "VK_CONTROL VK_SHIFT F", 0}, {66, 'c', "VK_LEFT", 0},
         {67, 'c', "VK_RIGHT", 0},       {68, 'c', "VK_CONTROL P", 0},
         {69, 'c', "VK_UP", 0},          {70, 'c', "VK_DOWN", 0},
         {71, 'c', "VK_CONTROL P", 0},   {72, 'c', "VK_CONTROL VK_SHIFT W", 0},
         {73, 'c', "VK_CONTROL T", 0},   {74, 'c', "VK_CONTROL K", 0},
         {75, 'c', "VK_CONTROL G", 0}});

const std::vector<KeyRowExp> kChart35 = WithDigits(
    20, {{10, 'c', "VK_MENU VK_RETURN", 0},      {11, 'c', "VK_RETURN", 0},
         {14, 'c', "VK_F11", 0},                 {16, 'c', "VK_F5", 0},
         {17, 'c', "VK_ADD", 0},                 {18, 'c', "VK_F10", 0},
         {19, 'f', "", 0},                       {25, 'c', "VK_CONTROL P", 0},
         {26, 'c', "VK_CONTROL R", 0},           {27, 'c', "VK_SUBTRACT", 0},
         {28, 'c', "VK_CONTROL VK_SHIFT F", 0},  {30, 'c', "VK_CONTROL VK_SHIFT D", 0},
         {32, 'c', "VK_UP", 0},                  {33, 'c', "VK_DOWN", 0},
         {64, 'c', "VK_CONTROL S", 0},           {65, 'c', "VK_CONTROL VK_SHIFT P", 0},
         {66, 'c', "VK_LEFT", 0},                {67, 'c', "VK_RIGHT", 0},
         {68, 'c', "VK_F8", 0},                  {72, 'c', "VK_F9", 0}});

class TotalMedia : public keychart::Chart {
protected:
    void SetUp() override {
        Chart::SetUp();
        g_Board = BoardAttributes{6, 2, 9};
        tm = Add("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia");
    }
    os::Hwnd tm = 0;
};

TEST_F(TotalMedia, SharedMapFollowsTheChart) {
    CheckChart(TotalMedia35KeyMapShared, kSharedChart, tm);
}

TEST_F(TotalMedia, Map35FollowsTheChart) { CheckChart(TotalMedia35KeyMap35, kChart35, tm); }

TEST_F(TotalMedia, BoardVariantChoosesCodes30And72) {
    const struct {
        std::uint8_t variant;
        const char* code30;
        const char* code72;
    } rows[] = {{1, "VK_CONTROL VK_SHIFT S", "VK_CONTROL J"},
                {8, "VK_CONTROL VK_TAB", "VK_CONTROL VK_SHIFT W"},
                {9, "VK_CONTROL VK_SHIFT S", "VK_CONTROL VK_SHIFT W"},
                {5, "VK_CONTROL VK_SHIFT S", "VK_CONTROL J"},
                {2, "VK_CONTROL VK_SHIFT S", "VK_CONTROL VK_SHIFT W"},
                {0, "VK_CONTROL VK_TAB", "VK_CONTROL VK_SHIFT W"},
                {255, "VK_CONTROL VK_TAB", "VK_CONTROL VK_SHIFT W"}};
    for (const auto& row : rows) {
        g_Board.nBoardVariant = row.variant;
        EXPECT_EQ(KeyEffects({30, 'c', row.code30, 0}, tm),
                  Effects([] { TotalMedia35KeyMapShared(30); }))
            << int(row.variant);
        EXPECT_EQ(KeyEffects({72, 'c', row.code72, 0}, tm),
                  Effects([] { TotalMedia35KeyMapShared(72); }))
            << int(row.variant);
    }
}

TEST_F(TotalMedia, WaitsEvenWithoutItsWindow) {
    sim::RemoveWindow(tm);
    for (std::uint32_t code : {25u, 27u})
        EXPECT_EQ(Lines{"sleep 2000"}, Effects([&] { TotalMedia35KeyMapShared(code); })) << code;
    EXPECT_EQ(Lines{}, Effects([] { TotalMedia35KeyMapShared(24); }));
}

TEST_F(TotalMedia, KeysNeedTheTitleButLaunchKnowsTheClass) {
    sim::RemoveWindow(tm);
    // Its class, another title: Launch sees it running, the keys do not.
    os::Hwnd other = Add("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "TotalMedia Theatre");
    Install(TotalMedia35, "C:\\TM", "TotalMedia.exe");
    EXPECT_EQ(other, Launch(TotalMedia35));
    EXPECT_EQ(Lines{}, Effects([] { TotalMedia35KeyMapShared(24); }));
    // The title under any class is its window.
    os::Hwnd titled = Add("SomeFrame", "Arcsoft TotalMedia");
    EXPECT_EQ(titled, FindMainWindow(TotalMedia35));
}

}  // namespace
