// ArcSoft TV 5.0: both key maps against the chart, the board-variant rows
// sent to its own window, and its class-and-title window search.
#include <string>
#include <vector>

#include "key_chart.h"
#include "controllers/key_maps.h"
#include "device/tuner_connection.h"

namespace {

using ctlworld::KeyRowExp;
using ctlworld::Lines;

using keychart::WithDigits;

// Shared map with nBoardVariant 9.
const std::vector<KeyRowExp> kSharedChart = WithDigits(
    10, {{9, 'c', "VK_F11", 0},          {11, 'c', "VK_RETURN", 0},
         {14, 'c', "VK_BACK", 0},        {15, 'c', "VK_F12", 0},
         {16, 'c', "VK_CONTROL VK_SHIFT L", 0}, {17, 'c', "VK_CONTROL VK_SHIFT K", 0},
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
         {17, 'c', "VK_CONTROL VK_SHIFT L", 0},  {18, 'c', "VK_F10", 0},
         {19, 'c', "VK_BACK", 0},                {25, 'c', "VK_CONTROL P", 0},
         {26, 'c', "VK_CONTROL R", 0},           {27, 'c', "VK_CONTROL VK_SHIFT K", 0},
         {28, 'c', "VK_CONTROL VK_SHIFT F", 0},  {30, 'c', "VK_CONTROL VK_SHIFT D", 0},
         {32, 'c', "VK_UP", 0},                  {33, 'c', "VK_DOWN", 0},
         {64, 'c', "VK_CONTROL S", 0},           {65, 'c', "VK_CONTROL VK_SHIFT P", 0},
         {66, 'c', "VK_LEFT", 0},                {67, 'c', "VK_RIGHT", 0},
         {68, 'c', "VK_F8", 0},                  {72, 'c', "VK_F9", 0}});

class ArcSoft : public keychart::Chart {
protected:
    void SetUp() override {
        Chart::SetUp();
        g_Board = BoardAttributes{6, 2, 9};
        tv = Add("_MIRACLE_20090309_1", "Arcsoft TV 5.0");
    }
    os::Hwnd tv = 0;
};

TEST_F(ArcSoft, SharedMapFollowsTheChart) { CheckChart(ArcSoftTV5KeyMapShared, kSharedChart, tv); }

TEST_F(ArcSoft, Map35FollowsTheChart) { CheckChart(ArcSoftTV5KeyMap35, kChart35, tv); }

// The other boards get TotalMedia's chords, in this application's window,
// even with a TotalMedia window beside it; TotalMedia's record is untouched.
TEST_F(ArcSoft, OtherBoardVariantsSendTotalMediasChordsHere) {
    Add("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia");
    const struct {
        std::uint8_t variant;
        const char* code30;
        const char* code72;
    } rows[] = {{1, "VK_CONTROL VK_SHIFT S", "VK_CONTROL J"},
                {3, "VK_CONTROL VK_SHIFT S", "VK_CONTROL J"},
                {8, "VK_CONTROL VK_TAB", "VK_CONTROL VK_SHIFT W"},
                {9, "VK_CONTROL VK_SHIFT S", "VK_CONTROL VK_SHIFT W"}};
    for (const auto& row : rows) {
        g_Board.nBoardVariant = row.variant;
        EXPECT_EQ(KeyEffects({30, 'c', row.code30, 0}, tv),
                  Effects([] { ArcSoftTV5KeyMapShared(30); }))
            << int(row.variant);
        EXPECT_EQ(KeyEffects({72, 'c', row.code72, 0}, tv),
                  Effects([] { ArcSoftTV5KeyMapShared(72); }))
            << int(row.variant);
    }
    EXPECT_EQ(0u, TotalMedia35.hWnd);
}

TEST_F(ArcSoft, KeysNeedClassAndTitle) {
    sim::RemoveWindow(tv);
    os::Hwnd other = Add("OtherFrame", "Arcsoft TV 5.0");
    EXPECT_EQ(0u, FindMainWindow(ArcSoftTV5));
    EXPECT_EQ(Lines{"sleep 2000"}, Effects([] { ArcSoftTV5KeyMapShared(27); }));
    EXPECT_EQ(other, FindWindowByTitle(ArcSoftTV5));
    Install(ArcSoftTV5, "C:\\ATV", "TotalMediaTV5.exe");
    Lines started = Effects([] { ActivateOrLaunch(ArcSoftTV5); });
    EXPECT_EQ(ctlworld::World::Forward(other), started);  // found by title, nothing started
}

}  // namespace
