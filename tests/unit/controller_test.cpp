// The shared controller operations: window searches, Launch, Close and
// LaunchOrClose, with the two mends (Close's fallback, the ehshell path).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "controllers/key_maps.h"
#include "os/sim/sim.h"
#include "os/sim/sim_registry.h"

namespace {

using Lines = std::vector<std::string>;

class Controller : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        hMainWindow = sim::AddWindow(Window("Remote Control", "Remote Control", false));
        Install(TotalMedia35, "C:\\Apps\\TM", "TotalMedia.exe");
    }
    static sim::WindowDesc Window(const char* cls, const char* title, bool visible = true) {
        sim::WindowDesc window;
        window.className = cls;
        window.title = title;
        window.visible = visible;
        return window;
    }
    static void Install(AppController& app, const char* dir, const char* exe) {
        app.bInstalled = 1;
        std::snprintf(app.szInstallDir, sizeof app.szInstallDir, "%s", dir);
        std::snprintf(app.szExeName, sizeof app.szExeName, "%s", exe);
        sim::SetFileExists(std::string(dir) + "\\" + exe);
    }
    // Close on TotalMedia 3.5 marked active, from a cleared log.
    static void CloseActive() {
        TotalMedia35.bActive = 1;
        sim::ClearEffects();
        Close(TotalMedia35);
    }
    static Lines Matching(const std::string& prefix) {
        Lines out;
        for (const std::string& t : sim::EffectTexts())
            if (t.compare(0, prefix.size(), prefix) == 0) out.push_back(t);
        return out;
    }
};

TEST_F(Controller, TitleWalkMatchesWholeTitleWithCase) {
    sim::AddWindow(Window("X", "PowerCinema 7"));
    sim::AddWindow(Window("X", "powercinema"));
    EXPECT_EQ(0u, FindWindowByTitle(PowerCinema));
    os::Hwnd exact = sim::AddWindow(Window("X", "PowerCinema", false));
    EXPECT_EQ(exact, FindWindowByTitle(PowerCinema));
}

TEST_F(Controller, LaunchThresholdIs30) {
    const struct {
        std::uint32_t result;
        std::int32_t active;
        std::size_t boxes;
    } rows[] = {{31, 1, 0}, {30, 0, 1}, {0, 0, 1}, {42, 1, 0}};
    for (const auto& row : rows) {
        TotalMedia35.bActive = 0;
        sim::ClearEffects();
        sim::SetShellExecuteResult(row.result);
        EXPECT_EQ(0u, Launch(TotalMedia35));
        EXPECT_EQ(row.active, TotalMedia35.bActive) << row.result;
        EXPECT_EQ(row.boxes, Matching("messagebox \"").size()) << row.result;
        Lines starts = Matching("shell");
        ASSERT_EQ(1u, starts.size());
        EXPECT_NE(std::string::npos, starts[0].find("\"C:\\Apps\\TM\\TotalMedia.exe\""));
        EXPECT_NE(std::string::npos, starts[0].find("\"remote\""));
    }
}

TEST_F(Controller, LaunchStartsNothingWhenRunningOrNotInstalled) {
    os::Hwnd tm = sim::AddWindow(Window("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "anything"));
    EXPECT_EQ(tm, Launch(TotalMedia35));
    EXPECT_EQ(0u, ActivateOrLaunch(ArcSoftTV5));  // not installed
    sim::RemoveWindow(tm);
    TotalMedia35.bInstalled = 0;
    EXPECT_EQ(0u, Launch(TotalMedia35));
    EXPECT_EQ(Lines{}, Matching("shell"));
    EXPECT_EQ(Lines{}, Matching("messagebox \""));
}

TEST_F(Controller, MediaCenterShellComesFromTheWindowsDirectory) {
    sim::WindowsVersion seven;
    seven.platformId = 2;
    seven.major = 6;
    seven.minor = 1;
    sim::SetWindowsVersion(seven);
    sim::SetRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident", "5.1");
    DefaultTVAPP = kAppMediaCenter;
    const struct {
        std::string windowsDir;
        bool failDir;
        const char* started;
    } rows[] = {{"D:\\WINNT", false, "\"D:\\WINNT\\ehome\\ehshell.exe\""},
                {"D:\\WINNT", true, "\"C:\\Apps\\TM\\TotalMedia.exe\""},
                {"D:\\" + std::string(300, 'w'), false, "\"C:\\Apps\\TM\\TotalMedia.exe\""},
                {"D:\\" + std::string(235, 'w'), false, "\"C:\\Apps\\TM\\TotalMedia.exe\""},
                {"D:\\" + std::string(234, 'w'), false, "ehome\\ehshell.exe\""}};
    for (const auto& row : rows) {
        sim::ClearEffects();
        sim::SetWindowsDirectory(row.windowsDir);
        if (row.failDir) sim::FailNext(sim::Call::GetWindowsDirectoryA, 0);
        Launch(TotalMedia35);
        Lines starts = Matching("shell");
        ASSERT_EQ(1u, starts.size()) << row.windowsDir.size();
        EXPECT_NE(std::string::npos, starts[0].find(row.started)) << starts[0];
    }
    // Asked again at this launch: Media Center has gone since start-up.
    sim::DeleteRegValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident");
    sim::SetWindowsDirectory("D:\\WINNT");
    sim::ClearEffects();
    Launch(TotalMedia35);
    Lines starts = Matching("shell");
    ASSERT_EQ(1u, starts.size());
    EXPECT_NE(std::string::npos, starts[0].find("\"C:\\Apps\\TM\\TotalMedia.exe\"")) << starts[0];
}

TEST_F(Controller, UnterminatedInstallFieldsStayInTheirBuffers) {
    std::memset(TotalMedia35.szInstallDir, 'd', sizeof TotalMedia35.szInstallDir);
    std::memset(TotalMedia35.szExeName, 'e', sizeof TotalMedia35.szExeName);
    Launch(TotalMedia35);
    Lines starts = Matching("shell");
    ASSERT_EQ(1u, starts.size());
    EXPECT_NE(std::string::npos,
              starts[0].find("\"" + std::string(128, 'd') + "\\" + std::string(64, 'e') + "\""));
}

TEST_F(Controller, CloseUsesAltF4OnlyOnTheForegroundApplication) {
    os::Hwnd tm = sim::AddWindow(Window("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia"));
    CloseActive();
    EXPECT_EQ((Lines{"keybd VK_MENU down", "keybd VK_F4 down ext", "keybd VK_F4 up ext",
                     "keybd VK_MENU up"}),
              Matching("keybd"));
    EXPECT_EQ(0, TotalMedia35.bActive);

    os::Hwnd other = sim::AddWindow(Window("Notepad", "Letter"));
    sim::SetForeground(other);
    sim::RefuseForeground(tm);
    CloseActive();
    EXPECT_EQ(Lines{}, Matching("keybd"));
    EXPECT_EQ((Lines{"post WM_SYSCOMMAND wParam=0xF060 lParam=0x0 to " + sim::DescribeWindow(tm)}),
              Matching("post"));
    EXPECT_EQ(0, TotalMedia35.bActive);

    sim::RemoveWindow(tm);
    CloseActive();
    EXPECT_EQ(1, TotalMedia35.bActive);
    EXPECT_EQ(0u, TotalMedia35.hWnd);
    EXPECT_EQ(Lines{}, Matching("post"));
}

TEST_F(Controller, KeystrokesGoOnlyToTheApplicationInFront) {
    // Notepad in front; TotalMedia 3.5's main window and a form of its own.
    const struct {
        const char* what;
        bool lock;          // the foreground lock (attaching lifts it)
        bool refuseMain;    // the main window is refused whatever we do
        bool formInFront;   // its form holds the foreground instead
        std::size_t keys;   // Ctrl+S events that reach the keyboard
        std::size_t attaches;
    } rows[] = {
        {"lock lifted by attaching", true, false, false, 4, 2},
        {"refused, Notepad stays in front", false, true, false, 0, 2},
        {"refused, its own form in front", false, true, true, 4, 2},
    };
    for (const auto& row : rows) {
        SetUp();
        sim::WindowDesc main = Window("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia");
        main.owner = "TotalMedia";
        os::Hwnd tm = sim::AddWindow(main);
        sim::WindowDesc form = Window("TMForm", "Guide");
        form.owner = "TotalMedia";
        os::Hwnd guide = sim::AddWindow(form);
        sim::SetForeground(row.formInFront ? guide : sim::AddWindow(Window("Notepad", "Letter")));
        sim::LockForeground(row.lock);
        sim::RefuseForeground(tm, row.refuseMain);
        TotalMedia35.bActive = 1;
        sim::ClearEffects();
        TotalMedia35KeyMapShared(26);
        EXPECT_EQ(row.keys, Matching("keybd").size()) << row.what;
        EXPECT_EQ(row.attaches, Matching("attachthreadinput").size()) << row.what;
        EXPECT_EQ(row.keys == 0 ? 1u : 0u,
                  Matching("debug \"<RCMessageBox>  keys not sent").size()) << row.what;
    }
}

TEST_F(Controller, CloseByAltF4WorksUnderAnAltGrLayout) {
    // There a right Alt is AltGr and brings Ctrl along; Ctrl+Alt+F4 closes nothing.
    sim::SetAltGrLayout(true);
    sim::WindowDesc window = Window("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia");
    window.closable = true;
    const std::string closed = "world close " + sim::DescribeWindow(sim::AddWindow(window));
    CloseActive();
    EXPECT_EQ((Lines{"keybd VK_MENU down", "keybd VK_F4 down ext", "keybd VK_F4 up ext",
                     "keybd VK_MENU up"}),
              Matching("keybd"));
    EXPECT_EQ(Lines{closed}, Matching("world"));
}

TEST_F(Controller, LaunchOrCloseStartsTheWatcherAndSetsTheWatchFlagOnSuccess) {
    LaunchOrClose(TotalMedia35);
    EXPECT_EQ(1, bWatchTotalMedia35);
    EXPECT_EQ(1u, Matching("timer set").size() + Matching("settimer").size());

    sim::ClearEffects();
    LaunchOrClose(PowerCinema);  // not installed: nothing started, no message
    EXPECT_EQ(0, bWatchPowerCinema);
    EXPECT_EQ(Lines{}, Matching("messagebox \""));
    EXPECT_EQ(Lines{}, Matching("shell"));
    EXPECT_EQ(1u, Matching("timer set").size() + Matching("settimer").size());

    sim::AddWindow(Window("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia"));
    bWatchTotalMedia35 = 0;
    sim::ClearEffects();
    LaunchOrClose(TotalMedia35);  // running: closed instead
    EXPECT_EQ(0, TotalMedia35.bActive);
    EXPECT_EQ(4u, Matching("keybd").size());
    EXPECT_EQ(0, bWatchTotalMedia35);
}

}  // namespace
