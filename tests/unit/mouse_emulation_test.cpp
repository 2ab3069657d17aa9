// The remote as a mouse: bounds, acceleration, the strict bounds test, the
// button hold and the clicks, read back from the simulated pointer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "engine/mouse_emulation.h"
#include "os/sim/sim.h"
#include "os/sim/sim_input.h"

namespace {

class Mouse : public ::testing::Test {
protected:
    void SetUp() override { Screen(1024, 740); }
    static void Screen(int width, int height) {
        sim::Reset();
        InitProcessRecords();
        bMouseButtonHeld = 0;
        sim::SetScreen(width, height);
        SetUpMouseBounds();
        sim::SetCursor(width / 2, height / 2);
    }
    // The x distance of each of `moves` events of key 6, as one held press.
    static std::vector<int> StepsOfHold(int moves) {
        PointerAccelCount = 0;
        std::vector<int> steps;
        for (int i = 0; i < moves; ++i) {
            const int before = sim::CursorX();
            EmulateMouse(6);
            steps.push_back(sim::CursorX() - before);
        }
        return steps;
    }
};

TEST_F(Mouse, StepsGrowOverOnePressWithTheScreenWidth) {
    const struct {
        int width, small, large;
    } rows[] = {{1024, 6, 12}, {1280, 8, 16}, {800, 5, 10}};
    for (const auto& row : rows) {
        Screen(row.width, 740);
        const int s = row.small, l = row.large;
        // Four single pixels, five small steps, then large ones.
        EXPECT_EQ((std::vector<int>{1, 1, 1, 1, s, s, s, s, s, l, l, l}), StepsOfHold(12))
            << row.width;
        // A new press starts again at one pixel.
        EXPECT_EQ((std::vector<int>{1, 1}), StepsOfHold(2)) << row.width;
    }
}

TEST_F(Mouse, KeysMoveLikeATelephoneKeypad) {
    const struct {
        int code, dx, dy;
    } rows[] = {{1, -1, -1}, {2, 0, -1}, {3, 1, -1}, {4, -1, 0},
                {6, 1, 0},   {7, -1, 1}, {8, 0, 1},  {9, 1, 1}};
    for (const auto& row : rows) {
        sim::SetCursor(500, 300);
        PointerAccelCount = 0;
        EmulateMouse(row.code);
        EXPECT_EQ(500 + row.dx, sim::CursorX()) << row.code;
        EXPECT_EQ(300 + row.dy, sim::CursorY()) << row.code;
        EXPECT_EQ(1, PointerAccelCount) << row.code;
    }
}

TEST_F(Mouse, MoveOntoOrPastTheEdgeIsRefusedAndResetsAcceleration) {
    const struct {
        int x, y, code, accel;
    } rows[] = {
        {1, 300, 4, 0},     // onto x = 0
        {1022, 300, 6, 0},  // onto the maximum x, 1023
        {500, 1, 2, 0},     // onto y = 0
        {500, 738, 8, 0},   // onto the maximum y, 739
        {1015, 300, 6, 9},  // the large step would pass the edge
        {3, 300, 4, 4},     // so would the small one
    };
    for (const auto& row : rows) {
        sim::SetCursor(row.x, row.y);
        PointerAccelCount = row.accel;
        sim::ClearEffects();
        EmulateMouse(row.code);
        EXPECT_TRUE(sim::EffectTexts().empty()) << row.x << "," << row.y;
        EXPECT_EQ(0, PointerAccelCount) << row.x << "," << row.y;
    }
    // Away from the edge, the next move is one pixel again.
    sim::SetCursor(1015, 300);
    PointerAccelCount = 9;
    EmulateMouse(6);
    EmulateMouse(4);
    EXPECT_EQ(1014, sim::CursorX());
}

TEST_F(Mouse, BoundsFromStartUpAndFromADisplayChange) {
    Screen(1024, 739);  // odd: 19 more
    EXPECT_EQ(757, ScreenBounds.nMaxY);
    EXPECT_EQ(1023, ScreenBounds.nMaxX);
    Screen(1024, 740);
    EXPECT_EQ(739, ScreenBounds.nMaxY);
    EXPECT_EQ(6, ScreenBounds.nSmallStep);
    EXPECT_EQ(12, ScreenBounds.nLargeStep);
    UpdateMouseBounds(800, 601);  // no odd-height adjustment here
    EXPECT_EQ(0, ScreenBounds.nMinX);
    EXPECT_EQ(0, ScreenBounds.nMinY);
    EXPECT_EQ(799, ScreenBounds.nMaxX);
    EXPECT_EQ(600, ScreenBounds.nMaxY);
    EXPECT_EQ(5, ScreenBounds.nSmallStep);
    EXPECT_EQ(10, ScreenBounds.nLargeStep);
}

TEST_F(Mouse, ButtonsHoldAndClickAtTheCursor) {
    const struct {
        bool swapped;
        std::vector<int> codes;
        std::vector<std::string> want;
    } rows[] = {
        {false, {5, 5}, {"mouse LEFTDOWN at 40,50", "mouse LEFTUP at 40,50"}},
        {true, {5, 5}, {"mouse RIGHTDOWN at 40,50", "mouse RIGHTUP at 40,50"}},
        // Clicks ignore the swap setting.
        {true, {0, 10},
         {"mouse LEFTDOWN at 40,50", "mouse LEFTUP at 40,50", "mouse RIGHTDOWN at 40,50",
          "mouse RIGHTUP at 40,50"}},
        // The hold survives other keys; only 5 lets go.
        {false, {5, 0, 11, 5},
         {"mouse LEFTDOWN at 40,50", "mouse LEFTDOWN at 40,50", "mouse LEFTUP at 40,50",
          "mouse LEFTUP at 40,50"}},
    };
    for (const auto& row : rows) {
        Screen(1024, 740);
        sim::SetSwapButtons(row.swapped);
        sim::SetCursor(40, 50);
        sim::ClearEffects();
        for (int code : row.codes) EmulateMouse(code);
        EXPECT_EQ(row.want, sim::EffectTexts()) << row.swapped;
        EXPECT_EQ(0, bMouseButtonHeld);
    }
}

TEST_F(Mouse, HeldButtonKeysActOnANewPressOnlyWhileMovesRepeat) {
    for (int code : {0, 5, 10}) {
        Screen(1024, 740);
        sim::ClearEffects();
        EmulateMouse(code);
        const std::vector<std::string> once = sim::EffectTexts();
        KeyRepeatState.bRepeat = 1;  // the same key, still held
        for (int i = 0; i < 5; ++i) EmulateMouse(code);
        EXPECT_EQ(once, sim::EffectTexts()) << code;
        EXPECT_EQ(code == 5 ? 1 : 0, bMouseButtonHeld) << code;
    }
    EXPECT_EQ((std::vector<int>{1, 1, 1}), StepsOfHold(3)) << "moves keep repeating";
}

TEST_F(Mouse, CodesAboveTenChangeNothing) {
    bMouseButtonHeld = 1;
    PointerAccelCount = 3;
    sim::ClearEffects();
    for (int code : {11, 30, 3852, -1}) EmulateMouse(code);
    EXPECT_TRUE(sim::EffectTexts().empty());
    EXPECT_EQ(1, bMouseButtonHeld);
    EXPECT_EQ(3, PointerAccelCount);
    EXPECT_EQ(512, sim::CursorX());
}

}  // namespace
