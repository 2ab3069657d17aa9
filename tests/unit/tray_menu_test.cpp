// The tray icon's popup menu through the main window's notification and
// commands: the entry for the selected application, the fixed items, the
// click sequence, what each command does, and its boxes while a key's box
// is up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "controllers/controller_table.h"
#include "controllers/keymap_load.h"
#include "core/interval_timer.h"
#include "core/tick_box.h"
#include "device/tuner_connection.h"
#include "os/dialogs.h"
#include "os/sim/sim.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_input.h"
#include "os/sim/sim_registry.h"
#include "main_window_world.h"

namespace {

const char kVistaMediaCenterKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

std::vector<std::string> Items() {
    std::vector<std::string> out;
    for (const sim::MenuItem& item : sim::LastTrackedMenu()) {
        if (item.flags & os::MF_SEPARATOR)
            out.push_back("-");
        else
            out.push_back(std::string(item.flags & os::MF_CHECKED ? "[x] " : "") +
                          std::to_string(item.id) + " " + item.text);
    }
    return out;
}

std::vector<std::string> WithFixedItems(std::vector<std::string> entry) {
    for (const char* item : {"-", "32 Setting", "-", "30 About", "-", "1201 Exit"})
        entry.push_back(item);
    return entry;
}

int IndexOf(const std::string& prefix) {
    const auto texts = sim::EffectTexts();
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    return -1;
}

class TrayMenu : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        os::WindowClass wc = {3, MainWindowProc, 0, 50, 6, "Remote Control"};
        os::RegisterClassExA(wc);
        main = os::CreateWindowExA(0, "Remote Control", "Remote Control", 0, 0, 0, 0, 0, 0, 0, 0);
        bTunerReady = 1;  // no card here; the menu path is the one under test
        hTrayMenu = 0;
        sim::ClearEffects();
    }
    void Click(std::uint32_t mouse = os::WM_LBUTTONDOWN) {
        os::SendMessageA(main, 1001, 10, static_cast<std::int32_t>(mouse));
    }
    static os::Hwnd Window(const char* cls, const char* title) {
        return sim::AddWindow({cls, title, true, ""});
    }
    os::Hwnd main = 0;
};

TEST_F(TrayMenu, EntryForTheSelectedApplicationOnlyWhenAvailable) {
    const struct {
        const char* what;
        std::int32_t code;
        AppController* installed;  // nullptr: none
        bool mediaCenter;
        const char* cls;           // a running window, or nullptr
        const char* title;
        std::vector<std::string> entry;
    } rows[] = {
        {"media center running", 4, nullptr, true, "eHome Render Window", "Windows Media Center",
         {"[x] 1104 Media Center"}},
        {"media center absent", 4, &MediaCenter, false, nullptr, nullptr, {}},
        {"totalmedia not installed", 5, nullptr, false, nullptr, nullptr, {}},
        {"code 3 names nothing", 3, &TotalMedia35, true, nullptr, nullptr, {}},
        {"powercinema idle", 8, &PowerCinema, false, nullptr, nullptr, {"1105 PowerCinema"}},
        {"savrin running", 2, &Savrin, false, "Any", "Dravune", {"[x] 1107 Savrin"}},
        // ArcSoft TV 5.0 tests its own window, not TotalMedia's.
        {"arcsoft, totalmedia running", 10, &ArcSoftTV5, false,
         "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia", {"1108 ArcSoft TV 5.0"}},
        {"arcsoft running", 10, &ArcSoftTV5, false, "_MIRACLE_20090309_1", "Arcsoft TV 5.0",
         {"[x] 1108 ArcSoft TV 5.0"}},
    };
    for (const auto& row : rows) {
        SetUp();
        DefaultTVAPP = row.code;
        if (row.installed) row.installed->bInstalled = 1;
        if (row.mediaCenter) sim::SetRegString(kVistaMediaCenterKey, "Ident", "5.1");
        if (row.cls) Window(row.cls, row.title);
        Click();
        EXPECT_EQ(WithFixedItems(row.entry), Items()) << row.what;
    }
}

TEST_F(TrayMenu, UserAppEntryChecksItsWindowAndSwitchesToIt) {
    const struct {
        std::int32_t code;
        std::vector<std::string> entry;
    } rows[] = {{100, {"1120 Player"}}, {101, {"[x] 1121 Radio"}}, {102, {}}};
    for (const auto& row : rows) {
        SetUp();
        sim::SetFileContent("C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini",
                            "[app:Player]\r\nclass = PlayerWnd\r\nexe = C:\\p.exe\r\n"
                            "[app:Radio]\r\nclass = RadioWnd\r\n");
        LoadKeymapFile();
        const os::Hwnd radio = sim::AddWindow({"RadioWnd", "R", true, "", false, false});
        DefaultTVAPP = row.code;
        Click();
        EXPECT_EQ(WithFixedItems(row.entry), Items()) << row.code;
        if (row.code != 100) continue;
        sim::SetShellExecuteResult(42);
        sim::ClearEffects();
        EXPECT_TRUE(OnMenuCommand(main, 1120));
        EXPECT_EQ(100, DefaultTVAPP);
        EXPECT_EQ(0, IndexOf("post WM_CLOSE wParam=0x00 lParam=0x0 to " + sim::DescribeWindow(radio)));
        EXPECT_LT(0, IndexOf("shell \"open\" \"C:\\p.exe\" (null) show=5 -> 42"));
    }
}

TEST_F(TrayMenu, EachClickBuildsAFreshMenuAndTracksItAtTheCursor) {
    sim::SetCursor(900, 700);
    Click(os::WM_RBUTTONDOWN);
    const std::string owner = sim::DescribeWindow(main);
    const int created = IndexOf("createpopupmenu -> menu 0x60000");
    const int forward = IndexOf("foreground " + owner);
    const int tracked = IndexOf("trackpopupmenu menu 0x60000 flags=0x0 at 900,700 owner=" + owner);
    ASSERT_GE(created, 0);
    EXPECT_GT(forward, created);
    EXPECT_GT(tracked, forward);
    EXPECT_EQ(0x60000u, hTrayMenu);

    sim::ClearEffects();
    Click();
    // After the notification itself: the old menu goes first.
    EXPECT_EQ(1, IndexOf("destroymenu menu 0x60000"));
    EXPECT_EQ(2, IndexOf("createpopupmenu -> menu 0x60001"));

    sim::ClearEffects();
    Click(os::WM_MOUSEMOVE);
    const auto texts = sim::EffectTexts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ("tray modify size=88 id=10 flags=7 msg=1001 icon=50 tip=\"Remote Control\"", texts[1]);
}

TEST_F(TrayMenu, ChosenItemArrivesAsACommand) {
    DefaultTVAPP = 2;
    Savrin.bInstalled = 1;
    sim::ChooseMenuItem(30, 200);  // About, then its OK
    sim::PressDialogButton(os::IDOK, 100);
    Click();
    sim::Run(1000);
    const int about = IndexOf("dialog 21 opens");
    ASSERT_GT(about, IndexOf("trackpopupmenu"));
    EXPECT_GT(IndexOf("dialog 21 closed -> 1"), about);

    // A separator or an item the menu does not hold sends nothing.
    sim::ClearEffects();
    sim::ChooseMenuItem(0);
    sim::ChooseMenuItem(1103);
    Click();
    Click();
    sim::Run(1000);
    EXPECT_LT(IndexOf("dialog"), 0);
    EXPECT_EQ(2, DefaultTVAPP);
}

// A second click while the menu or a dialog of the menu is up: the menu
// closes (the click is outside it), a dialog comes forward; nothing new
// opens, although a second menu would choose About.
TEST_F(TrayMenu, ASecondClickOpensNothingMoreThanIsUp) {
    const struct {
        const char* what;
        std::uint32_t first;  // chosen in the first menu; 0: still up at the second click
        int opens;
        const char* line;     // what the second click does
    } rows[] = {
        {"menu up", 0, 0, "menu 0x60000 closed by a click outside"},
        {"About up", kCmdAbout, 1, "foreground 0x10004 \"#32770\" \"Remote Control - About\""},
        {"Setting up", kCmdSetting, 1,
         "foreground 0x10004 \"#32770\" \"Remote Control - Setting\""},
    };
    for (const auto& row : rows) {
        SetUp();
        sim::ClickTrayIconAt(100, sim::TrayClick::Left);
        if (row.first != 0) sim::ChooseMenuItemAt(200, row.first);
        sim::ClickTrayIconAt(1000, sim::TrayClick::Right);
        sim::ChooseMenuItemAt(1100, kCmdAbout);
        sim::PressDialogButtonAt(2000, os::IDOK);
        sim::Run(3000);
        const auto texts = sim::EffectTexts();
        int menus = 0, opens = 0;
        for (const std::string& t : texts) {
            if (t.rfind("createpopupmenu", 0) == 0) ++menus;
            if (t.rfind("dialog 2", 0) == 0 && t.find(" opens ") != std::string::npos) ++opens;
        }
        EXPECT_EQ(1, menus) << row.what;
        EXPECT_EQ(row.opens, opens) << row.what;
        EXPECT_GT(IndexOf(row.line), IndexOf("user click right")) << row.what;
    }
}

TEST_F(TrayMenu, CommandsOpenTheDialogsExitOrSwitch) {
    const struct {
        std::uint32_t id;
        const char* first;  // the first effect after the command itself
        bool quits;
    } rows[] = {
        {30, "dialog 21 opens", false},
        {32, "dialog 20 opens", false},
        {31, "tray delete size=88 id=10", true},
        {1201, "tray delete size=88 id=10", true},
    };
    for (const auto& row : rows) {
        SetUp();
        sim::PressDialogButton(os::IDCANCEL);
        os::SendMessageA(main, os::WM_COMMAND, row.id, 0);
        const auto texts = sim::EffectTexts();
        ASSERT_GE(texts.size(), 2u) << row.id;
        EXPECT_EQ(0u, texts[1].find(row.first)) << row.id << ": " << texts[1];
        if (!row.quits) {
            EXPECT_NE(std::string::npos, texts[1].find("owner=" + sim::DescribeWindow(main)));
        }
        EXPECT_EQ(row.quits, IndexOf("quit 0") >= 0) << row.id;
    }
    // The application entries set the code in memory only.
    SetUp();
    DefaultTVAPP = 6;
    sim::ClearEffects();
    os::SendMessageA(main, os::WM_COMMAND, 1104, 0);
    EXPECT_EQ(4, DefaultTVAPP);
    EXPECT_LT(IndexOf("registry"), 0);
}

// A key's box is up and its modal loop runs the tray menu: a launch that
// fails there is the user's own choice and gets its box, while the held
// key's nested ticks still open none.
TEST_F(TrayMenu, LaunchFailureFromTheMenuIsShownWhileAKeysBoxIsUp) {
    test_world::ConnectCard();
    StartKeyTimer(main);
    // TV Enhance is chosen and installed but will not start: the held power
    // key's launch asks for a box, and so does the menu's.
    TVEnhance.bInstalled = 1;
    std::snprintf(TVEnhance.szInstallDir, sizeof TVEnhance.szInstallDir, "C:\\TVE");
    std::snprintf(TVEnhance.szExeName, sizeof TVEnhance.szExeName, "TVEnhance.exe");
    DefaultTVAPP = kAppTVEnhance;
    sim::SetShellExecuteResult(2);

    sim::PressKeyAt(100, 12, 1800);
    sim::AnswerMessageBox(1, 2000);  // the key's box, up from t=130
    sim::AnswerMessageBox(1, 600);   // the menu's
    sim::BroadcastAt(400, kTrayCallbackMessage, 10, os::WM_LBUTTONDOWN);
    sim::ChooseMenuItem(1106, 100);  // TV Enhance
    sim::Run(3000);

    const auto texts = sim::EffectTexts();
    int shells = 0, boxes = 0;
    for (const std::string& t : texts) {
        if (t.rfind("shell \"open\" \"C:\\TVE", 0) == 0) ++shells;
        if (t.rfind("messagebox \"Can't launch TV application what you want.\" \"Remote "
                    "Control\" style=0x00000000", 0) == 0)
            ++boxes;
    }
    EXPECT_EQ(2, shells) << "the key's start and the menu's";
    EXPECT_EQ(2, boxes) << "one for the key, one for the menu: none stacked, none dropped";
    EXPECT_GT(IndexOf("messagebox \"Can't launch"), IndexOf("shell \"open\" \"C:\\TVE"));
    EXPECT_EQ(0, sim::OpenMessageBoxCount());
    EXPECT_FALSE(TickMessageBoxUp());
}

}  // namespace
