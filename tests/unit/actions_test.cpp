// The action vocabulary: what each term sends, in order, with its flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controllers/actions.h"
#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/sim/sim.h"

namespace {

using Lines = std::vector<std::string>;

const KeyRow kMap[] = {
    {3, 3, Chord(VK_CONTROL, VK_SHIFT, VK_F4)},
    {5, 5, Tap(VK_RETURN).ThenWait(2000)},
    {16, 25, NumpadDigit(0)},
    {30, 31, PostDigit(8)},
    {40, 40, Post(4024, 12, 0)},
    {41, 41, PostKeyDown(0x1B)},
    {42, 42, BringForward()},
};

class Actions : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        sim::WindowDesc window;
        window.className = "TVEnhance";
        window.title = "TV Enhance";
        hwnd = sim::AddWindow(window);
        target = sim::DescribeWindow(hwnd);
    }
    // The effects of one key, after the preamble's two lines.
    Lines Press(std::uint32_t code) {
        sim::ClearEffects();
        RunKeyMap(TVEnhance, kMap, code);
        Lines texts = sim::EffectTexts();
        if (texts.size() >= 2 && texts[0] == "foreground " + target &&
            texts[1] == "active " + target + " failed")
            texts.erase(texts.begin(), texts.begin() + 2);
        else
            ADD_FAILURE() << "no preamble for " << code;
        return texts;
    }
    os::Hwnd hwnd = 0;
    std::string target;
};

TEST_F(Actions, ChordPressesInOrderAndReleasesInReverse) {
    EXPECT_EQ((Lines{"keybd VK_CONTROL down", "keybd VK_SHIFT down", "keybd VK_F4 down ext",
                     "keybd VK_F4 up ext", "keybd VK_SHIFT up", "keybd VK_CONTROL up"}),
              Press(3));
    EXPECT_EQ((Lines{"keybd VK_RETURN down ext", "keybd VK_RETURN up ext", "sleep 2000"}), Press(5));
    EXPECT_EQ(hwnd, TVEnhance.hWnd);
}

TEST_F(Actions, DigitRowsCountFromTheirFirstCode) {
    EXPECT_EQ((Lines{"keybd VK_NUMPAD0 down ext", "keybd VK_NUMPAD0 up ext"}), Press(16));
    EXPECT_EQ((Lines{"keybd VK_NUMPAD9 down ext", "keybd VK_NUMPAD9 up ext"}), Press(25));
    EXPECT_EQ((Lines{"post WM_KEYDOWN wParam=0x69 lParam=0x01500001 to " + target}), Press(31));
}

TEST_F(Actions, PostsGoToTheFoundWindow) {
    EXPECT_EQ((Lines{"post 4024 wParam=0x0C lParam=0x0 to " + target}), Press(40));
    EXPECT_EQ((Lines{"post WM_KEYDOWN wParam=0x1B lParam=0x01500001 to " + target}), Press(41));
    EXPECT_EQ(Lines{}, Press(42));
}

TEST_F(Actions, UnlistedCodesAndMissingWindowsDoNothing) {
    for (std::uint32_t code : {0u, 4u, 26u, 43u, 3852u, static_cast<std::uint32_t>(-1)})
        EXPECT_EQ(nullptr, LookupKey(kMap, code)) << code;
    sim::RemoveWindow(hwnd);
    sim::ClearEffects();
    RunKeyMap(TVEnhance, kMap, 3);
    EXPECT_EQ(Lines{}, sim::EffectTexts());
    EXPECT_EQ(0u, TVEnhance.hWnd);
}

}  // namespace
