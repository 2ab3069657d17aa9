// The shutdown dialog as the remote drives it through nested key ticks:
// holds, new presses, the mouse, placement, and the power-off sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "device/tuner_connection.h"
#include "engine/key_tick.h"
#include "engine/mouse_emulation.h"
#include "engine/shutdown.h"
#include "main_window_world.h"
#include "os/dialogs.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_input.h"
#include "os/sim/sim_registry.h"

namespace {

void Tick(os::Hwnd hwnd, std::uint32_t, std::uint32_t, std::uint32_t) { OnKeyTimer(hwnd); }

// First effect at or after `from` whose text contains `needle`; -1 if none.
int Find(const std::string& needle, int from = 0) {
    const auto& effects = sim::Effects();
    for (int i = from; i < static_cast<int>(effects.size()); ++i)
        if (effects[i].text.find(needle) != std::string::npos) return i;
    return -1;
}

std::vector<std::string> TextsWith(const std::string& needle) {
    std::vector<std::string> out;
    for (const auto& e : sim::Effects())
        if (e.text.find(needle) != std::string::npos) out.push_back(e.text);
    return out;
}

class Shutdown : public ::testing::Test {
protected:
    void SetUp() override { Start(0); }
    // The program with its key timer running and the remote on the I2C reader.
    void Start(std::int32_t layout) {
        main = test_world::StartWithMainWindow();
        nIRKEYType = layout;
        test_world::ConnectCard();
        SetUpMouseBounds();
        os::SetTimer(main, 1, 65, Tick);
        sim::ClearEffects();
    }
    os::Hwnd main = 0;
};

TEST_F(Shutdown, HeldKeyNeitherConfirmsNorCancelsItsOwnDialog) {
    const struct {
        std::int32_t layout;
        std::uint8_t open;
        std::uint32_t holdMs;
        std::uint8_t answer;
        const char* key;
        bool powerOff;
    } rows[] = {
        {0, 30, 1000, 30, "wParam=0x0D", true},   // the same key again confirms
        {0, 29, 1000, 29, "wParam=0x1B", false},  // 29 again cancels
        {3, 12, 1000, 12, "wParam=0x1B", false},  // 3852 again cancels
        {3, 12, 60, 22, "wParam=0x0D", true},     // 22 confirms on the 35-key remote
        {1, 30, 600, 22, "wParam=0x0D", true},
        {0, 30, 60, 5, "wParam=0x1B", false},     // any other key cancels
    };
    for (const auto& row : rows) {
        Start(row.layout);
        sim::PressKeyAt(10, row.open, row.holdMs);
        // A new press, well past the repeat window after the release.
        const std::uint32_t again = 10 + row.holdMs + 400;
        // Held on: its repeats must not open the dialog again.
        sim::PressKeyAt(again, row.answer, 600);
        sim::Run(again + 1000);
        const std::string what = "open " + std::to_string(row.open) + " answer " +
                                 std::to_string(row.answer);
        ASSERT_EQ(1u, TextsWith("dialog 107 opens").size()) << what;
        const int sent = Find("send WM_KEYDOWN");
        ASSERT_GE(sent, 0) << what;
        EXPECT_GE(sim::Effects()[sent].time, again) << what << ": the hold answered the dialog";
        EXPECT_NE(std::string::npos, sim::Effects()[sent].text.find(row.key)) << what;
        EXPECT_EQ(1u, TextsWith("send WM_KEYDOWN").size()) << what;
        EXPECT_EQ(row.powerOff ? 1 : 0, sim::ExitWindowsCount()) << what;
        EXPECT_EQ(0, ShutdownDialogOpen) << what;
        EXPECT_EQ(0, sim::OpenDialogCount()) << what;
    }
}

TEST_F(Shutdown, ThinnedHoldStillContinuesThePressThatOpenedIt) {
    // With TotalMedia 3.5 running, a held 29 reaches the tick as every
    // tenth event only, 650 ms apart: still the same press.
    sim::AddWindow({"ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia", true, ""});
    TotalMedia35.bActive = 1;
    sim::PressKeyAt(10, 29, 2000);
    sim::PressKeyAt(2500, 29, 60);
    sim::Run(3000);
    ASSERT_EQ(1u, TextsWith("dialog 107 opens").size());
    const auto sent = TextsWith("send WM_KEYDOWN");
    ASSERT_EQ(1u, sent.size());
    EXPECT_GE(sim::Effects()[Find("send WM_KEYDOWN")].time, 2500u);
    EXPECT_NE(std::string::npos, sent[0].find("wParam=0x1B"));
}

TEST_F(Shutdown, DialogHeldOpenSendsNothingUntilItEnds) {
    sim::PressKeyAt(10, 30, 3000);  // about 46 ticks
    sim::Run(3200);
    EXPECT_EQ(1u, TextsWith("dialog 107 opens").size());
    EXPECT_TRUE(TextsWith("WM_KEYDOWN").empty());
    EXPECT_EQ(0, sim::ExitWindowsCount());
    // Nobody answered: it was open until the run's end, and then left by
    // its close box, which cancels.
    EXPECT_EQ(1u, TextsWith("dialog still open at end of run").size());
    EXPECT_EQ(1u, TextsWith("enddialog 2 ").size());
    EXPECT_EQ(0, ShutdownDialogOpen);
}

// While a box a key opened is up, the next presses arrive in its loop; the
// shutdown key must not stand the dialog on top of it, nor may a box come
// on top of the one the dialog's answer left (no right to power off).
TEST_F(Shutdown, KeysInsideATicksBoxOpenNoSecondBoxOrDialog) {
    const struct {
        const char* what;
        bool privilege;
        std::vector<std::uint8_t> presses;  // 500 ms apart
        const char* box;
        std::size_t dialogs;
    } rows[] = {
        {"the launch box, then the shutdown key", true, {12, 29}, "Please re-initialize", 0},
        {"the power-off box, then the shutdown and launch keys", false, {30, 30, 29, 12},
         "You are not allowed", 1},
    };
    for (const auto& row : rows) {
        Start(0);
        sim::SetShutdownPrivilegeHeld(row.privilege);
        std::uint32_t at = 10;
        for (std::uint8_t code : row.presses) {
            sim::PressKeyAt(at, code, 60);
            at += 500;
        }
        sim::AnswerMessageBox(1, 2000);
        sim::Run(at + 2500);
        EXPECT_EQ(1u, TextsWith("messagebox").size()) << row.what;
        EXPECT_EQ(1u, TextsWith(row.box).size()) << row.what;
        EXPECT_EQ(row.dialogs, TextsWith("dialog 107 opens").size()) << row.what;
        EXPECT_EQ(1, sim::PeakModalsOpenedBy(1)) << row.what;
    }
}

TEST_F(Shutdown, CancelButtonThenTheNextKeyIsRoutedAgain) {
    sim::PressKeyAt(10, 30, 60);
    sim::PressDialogButton(os::IDCANCEL, 300);
    sim::PressKeyAt(1000, 6, 60);  // a mouse key: nothing runs
    sim::Run(1500);
    const int closed = Find("dialog 107 closed -> 2");
    ASSERT_GE(closed, 0);
    EXPECT_EQ(0, ShutdownDialogOpen);
    EXPECT_GE(Find("cursor ", closed), closed);
    EXPECT_EQ(0, sim::ExitWindowsCount());
}

TEST_F(Shutdown, InitialisationStoresTheDialogAndBringsItForward) {
    sim::PressDialogButton(os::IDCANCEL, 0);
    ShowShutdownDialog(main);
    const auto texts = sim::EffectTexts();
    ASSERT_GE(texts.size(), 3u);
    const std::size_t at = texts[0].find("opens ") + 6;
    const std::string dlg = texts[0].substr(at, texts[0].find(" owner=") - at);
    EXPECT_EQ(0u, dlg.find(sim::DescribeWindow(hShutdownDlg).substr(0, 8)));  // the stored handle
    EXPECT_EQ("dialog 107 opens " + dlg + " owner=" + sim::DescribeWindow(main), texts[0]);
    EXPECT_EQ("foreground " + dlg, texts[1]);
    EXPECT_EQ("active " + dlg, texts[2]);
    EXPECT_NE(0u, hShutdownDlg);
    EXPECT_NE(std::string::npos, dlg.find("\"Remote Control - Shut Down\""));
}

TEST_F(Shutdown, PlacementFollowsTheScreenWidth) {
    const struct {
        int width;
        const char* line;  // nullptr: not moved
    } rows[] = {
        {640, " topmost x=160 y=200 cx=0 cy=0 flags=0x1"},
        {800, " topmost x=280 y=250 cx=0 cy=0 flags=0x1"},
        {1024, " topmost x=350 y=300 cx=0 cy=0 flags=0x1"},
        {1152, " topmost x=420 y=300 cx=0 cy=0 flags=0x1"},
        {1280, " topmost x=420 y=300 cx=0 cy=0 flags=0x1"},
        {1600, " topmost x=580 y=340 cx=0 cy=0 flags=0x1"},
        {1366, nullptr},
        {0, nullptr},
    };
    for (const auto& row : rows) {
        Start(0);
        sim::SetScreen(row.width, 700);
        sim::PressDialogButton(os::IDCANCEL);
        ShowShutdownDialog(main);
        const auto lines = TextsWith("setwindowpos");
        if (row.line == nullptr) {
            EXPECT_TRUE(lines.empty()) << row.width;
        } else {
            ASSERT_EQ(1u, lines.size()) << row.width;
            EXPECT_NE(std::string::npos, lines[0].find(row.line)) << lines[0];
        }
    }
}

TEST_F(Shutdown, PowerOffAfterTheDialogHasEnded) {
    sim::PressDialogButton(os::IDOK);
    ShowShutdownDialog(main);
    const int ended = Find("enddialog 1 ");
    const int token = Find("openprocesstoken");
    ASSERT_GE(ended, 0);
    EXPECT_GT(token, ended);
    EXPECT_GT(Find("dialog 107 closed -> 1"), Find("exitwindowsex"));
    EXPECT_EQ(0, ShutdownDialogOpen);
}

TEST_F(Shutdown, PowerOffSequenceByPlatformAndPrivilege) {
    const std::string open = "openprocesstoken access=0x28 -> 1";
    const std::string adjust = "adjusttokenprivileges \"SeShutdownPrivilege\" attributes=0x2 -> error ";
    const std::string close = "closehandle token 0x7000";
    const std::string notAllowed =
        "messagebox \"You are not allowed to shut down this computer.\" \"Remote Control\" "
        "style=0x00000000 -> 1";
    // Whatever the outcome, a token that was opened is closed.
    const struct {
        const char* name;
        std::uint32_t platform;
        bool tokenOpens, held;
        int exitResult;
        std::vector<std::string> want;
    } rows[] = {
        {"nt", 2, true, true, 1,
         {open, adjust + "0", close, "exitwindowsex flags=0x0C reason=0 -> 1"}},
        {"9x", 1, true, true, 1, {"exitwindowsex flags=0x01 reason=0 -> 1"}},
        {"no token", 2, false, true, 1, {"openprocesstoken access=0x28 -> 0", notAllowed}},
        {"no privilege", 2, true, false, 1, {open, adjust + "1300", close, notAllowed}},
        {"refused", 2, true, true, 0,
         {open, adjust + "0", close, "exitwindowsex flags=0x0C reason=0 -> 0",
          "messagebox \"Can't run ExitWindowsEx.\" \"Remote Control\" style=0x00000000 -> 1"}},
    };
    for (const auto& row : rows) {
        Start(0);
        sim::WindowsVersion version;
        version.platformId = row.platform;
        if (row.platform == 1) version.major = 4;
        sim::SetWindowsVersion(version);
        sim::SetProcessTokenOpens(row.tokenOpens);
        sim::SetShutdownPrivilegeHeld(row.held);
        sim::SetExitWindowsResult(row.exitResult);
        sim::ClearEffects();
        ShutdownSystem();
        std::vector<std::string> got;
        for (const std::string& t : sim::EffectTexts())
            if (t.rfind("registry", 0) != 0) got.push_back(t);
        EXPECT_EQ(row.want, got) << row.name;
    }
}

}  // namespace
