// Start-up and the main window's procedure, on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/tray_menu.h"
#include "controllers/app_controller.h"
#include "controllers/controller_table.h"
#include "core/interval_timer.h"
#include "device/tuner_connection.h"
#include "engine/mouse_emulation.h"
#include "os/shell.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"
#include "os/sim/sim_registry.h"
#include "os/sim/sim_shell.h"

namespace {

const char kKey[] = "Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi";

void AddCaptureDevice() {
    sim::FilterDesc capture;
    capture.friendlyName = "713x BDA Analog Capture";
    sim::AddFilterDevice(sim::FilterCategory::Capture, capture);
}

// Index of the first effect text containing `needle`, or -1.
int IndexOf(const std::string& needle) {
    const auto texts = sim::EffectTexts();
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i].find(needle) != std::string::npos) return static_cast<int>(i);
    return -1;
}

int Count(const std::string& needle) {
    const auto texts = sim::EffectTexts();
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const std::string& t) {
        return t.find(needle) != std::string::npos;
    }));
}

os::Hwnd PowerEvent(os::Hwnd main, std::uint32_t event) {
    os::SendMessageA(main, os::WM_POWERBROADCAST, event, 0);
    return main;
}

TEST(StartUp, ClosesTheFirstWindowOfEachEarlierTitlePrefix) {
    sim::Reset();
    // Added last is on top, so the walk meets them in reverse order.
    const os::Hwnd second = sim::AddWindow({"Foreign", "Remote Control helper", true, ""});
    const os::Hwnd first = sim::AddWindow({"Old", "Remote Control", true, ""});
    const os::Hwnd lower = sim::AddWindow({"Other", "remote control", true, ""});
    const os::Hwnd di = sim::AddWindow({"Old", "DI713V Remote Control 1.0", true, ""});
    AddCaptureDevice();
    ASSERT_NE(0u, ProgramStartUp(0x400000));
    const std::string closeDi = "post WM_CLOSE wParam=0x00 lParam=0x0 to " + sim::DescribeWindow(di);
    const std::string closeFirst = "post WM_CLOSE wParam=0x00 lParam=0x0 to " + sim::DescribeWindow(first);
    EXPECT_EQ(1, Count(closeDi));
    EXPECT_EQ(1, Count(closeFirst));
    EXPECT_EQ(0, Count("to " + sim::DescribeWindow(second)));  // only the first match
    EXPECT_EQ(0, Count("to " + sim::DescribeWindow(lower)));   // prefixes are case-sensitive
    EXPECT_LT(IndexOf(closeDi), IndexOf("registerclass"));
}

// An earlier copy's dialog or box stands above its hidden main window; a
// foreign window is closed as the first match, as before.
TEST(StartUp, TheEarlierCopysMainWindowIsClosedPastItsOwnDialogs) {
    const struct {
        const char* what;
        const char* cls;
        const char* title;
        bool withMain;     // the earlier copy's main window lies below
        bool closesMain;   // else the close goes to the window above
    } rows[] = {
        {"its Setting dialog", "#32770", "Remote Control - Setting", true, true},
        {"its About dialog", "#32770", "Remote Control - About", true, true},
        {"its shutdown dialog", "#32770", "Remote Control - Shut Down", true, true},
        {"its message box", "#32770", "Remote Control", true, true},
        {"a foreign window with a dialog's title", "Other", "Remote Control - Setting", true, false},
        {"a foreign dialog", "#32770", "Remote Control Setup", true, false},
        {"a dialog alone", "#32770", "Remote Control - About", false, false},
    };
    for (const auto& row : rows) {
        sim::Reset();
        const os::Hwnd main =
            row.withMain ? sim::AddWindow({"Remote Control", "Remote Control", false, ""}) : 0;
        const os::Hwnd above = sim::AddWindow({row.cls, row.title, true, ""});
        const std::string toMain = "post WM_CLOSE wParam=0x00 lParam=0x0 to " + sim::DescribeWindow(main);
        const std::string toAbove = "post WM_CLOSE wParam=0x00 lParam=0x0 to " + sim::DescribeWindow(above);
        ProgramStartUp(0x400000);
        EXPECT_EQ(row.closesMain ? 1 : 0, Count(toMain)) << row.what;
        EXPECT_EQ(row.closesMain ? 0 : 1, Count(toAbove)) << row.what;
    }
}

// The second copy's start-up walk, made while the first copy's dialog is up.
void SecondCopyStarts(os::Hwnd, std::uint32_t, std::uint32_t id, std::uint32_t) {
    os::KillTimer(0, id);
    CloseEarlierCopies();
}

TEST(StartUp, AnEarlierCopyWithItsDialogOpenEndsWhenASecondStarts) {
    for (std::uint32_t command : {kCmdSetting, kCmdAbout}) {
        sim::Reset();
        AddCaptureDevice();
        const os::Hwnd main = ProgramStartUp(0x400000);
        ASSERT_NE(0u, main);
        const std::string closeMain = "post WM_CLOSE wParam=0x00 lParam=0x0 to " + sim::DescribeWindow(main);
        os::PostMessageA(main, os::WM_COMMAND, command, 0);
        os::SetTimer(0, 0, 500, SecondCopyStarts);
        sim::Run(600);
        const std::uint32_t requests = sim::DriverRequestCount();
        sim::Run(1400);
        EXPECT_EQ(1, Count(closeMain)) << command;
        EXPECT_LT(IndexOf("destroywindow"), IndexOf("tray delete")) << command;
        EXPECT_LT(IndexOf("tray delete"), IndexOf("quit 0")) << command;
        EXPECT_EQ(1, Count(" closed -> 0")) << command;  // ended with its owner
        EXPECT_EQ(0, Count("dialog still open")) << command;
        EXPECT_TRUE(sim::TopLevelWindows().empty()) << command;
        EXPECT_EQ(requests, sim::DriverRequestCount()) << "the key timer went with the window";
    }
}

TEST(StartUp, TitleWalksEndOnAWindowListThatKeepsTurning) {
    const struct {
        const char* what;
        void (*walk)();
        std::uint32_t walks;
    } rows[] = {
        {"start-up, one walk per earlier title", [] { CloseEarlierCopies(); }, 3},
        {"an application's title search", [] { FindWindowByTitle(Savrin); }, 1},
    };
    for (const auto& row : rows) {
        sim::Reset();
        InitProcessRecords();
        sim::AddWindow({"Editor", "notes", true, ""});
        sim::AddWindow({"Shell_TrayWnd", "", true, ""});
        sim::TurnWindowListFor(4 * kTitleWalkLimit);
        row.walk();
        EXPECT_LE(sim::WindowWalkSteps(), row.walks * kTitleWalkLimit) << row.what;
    }
}

TEST(StartUp, CreatesTheHiddenWindowInOrderAndStartsOnlyTheKeyTimer) {
    sim::Reset();
    AddCaptureDevice();
    const os::Hwnd main = ProgramStartUp(0x400000);
    ASSERT_NE(0u, main);
    EXPECT_EQ(0, os::IsWindowVisible(main));
    EXPECT_EQ(1, bTunerReady);
    const int create = IndexOf("createwindow");
    const int tray = IndexOf("tray add size=88 id=10 flags=7 msg=1001 icon=50 tip=\"Remote Control\"");
    const int settings = IndexOf("reg set");
    const int hide = IndexOf("showwindow");
    const int timer = IndexOf("settimer id=1 elapse=65");
    ASSERT_GE(create, 0);
    EXPECT_LT(create, tray);
    EXPECT_LT(tray, settings);
    EXPECT_LT(settings, hide);
    EXPECT_LT(hide, timer);
    EXPECT_EQ(0, Count("settimer id=2"));  // bound, not started
    EXPECT_NE(nullptr, g_Tuner.pKsControl);
    EXPECT_EQ(1023, ScreenBounds.nMaxX);
}

TEST(StartUp, ARefusedKeyTimerIsTriedAgainUntilItRuns) {
    const struct {
        int atStart;         // SetTimer calls refused from the first: the key timer's, its retry's, ...
        int later;           // tries of the retry timer refused after that
        int keyTimerRuns;    // after 150 s
        int keyTimerCalls;   // settimer id=1 lines
        int retryKills;      // killtimer id=2002 lines: the tries end
    } rows[] = {
        {1, 0, 1, 2, 1},
        {1, 2, 1, 4, 1},
        {1, 120, 0, 121, 1},  // gives up after 120 tries
        // The retry timer refused as well: a posted retry tries again at once.
        {2, 0, 1, 2, 0},
        {3, 0, 1, 3, 1},  // ...and, refused again, sets the retry timer
    };
    for (const auto& row : rows) {
        sim::Reset();
        AddCaptureDevice();
        sim::FailNext(sim::Call::SetTimer, 0, row.atStart);
        const os::Hwnd main = ProgramStartUp(0x400000);
        ASSERT_NE(0u, main);
        EXPECT_EQ(0, KeyTimer.running);
        for (int i = 0; i < row.later; ++i) {
            sim::FailNext(sim::Call::SetTimer, 0);  // the next try is refused too
            sim::Run(1000);
        }
        sim::Run(150000);
        const std::string what = std::to_string(row.atStart) + " + " + std::to_string(row.later);
        EXPECT_EQ(row.keyTimerRuns, KeyTimer.running) << what;
        EXPECT_EQ(row.keyTimerCalls, Count("settimer id=1 elapse=65")) << what;
        EXPECT_EQ(row.retryKills, Count("killtimer id=2002")) << what;
        KeyTimer.Stop();
    }
}

TEST(StartUp, RemoteOffEndsAtOnceLeavingNoIconAndNoTimer) {
    for (std::uint32_t value : {1u, 2u, 0u}) {
        sim::Reset();
        AddCaptureDevice();
        sim::SetRegDword(kKey, "DefaultTVAPP", 6);
        sim::SetRegDword(kKey, "AlwaysRemoteOff", value);
        const os::Hwnd main = ProgramStartUp(0x400000);
        if (value == 1) {
            EXPECT_EQ(0u, main);
            EXPECT_EQ(1, Count("tray add"));
            EXPECT_LT(IndexOf("tray add"), IndexOf("tray delete size=88 id=10"));
            EXPECT_EQ(0, Count("settimer"));
            EXPECT_EQ(0, Count("showwindow"));
        } else {
            EXPECT_NE(0u, main) << value;
            EXPECT_EQ(0, Count("tray delete")) << value;
            EXPECT_EQ(1, Count("settimer id=1")) << value;
        }
    }
}

TEST(StartUp, MissingDeviceRunsNoTimerAndTheFirstClickReportsItAndEnds) {
    for (std::uint32_t click : {os::WM_LBUTTONDOWN, os::WM_RBUTTONDOWN}) {
        sim::Reset();
        const os::Hwnd main = ProgramStartUp(0x400000);
        ASSERT_NE(0u, main);
        EXPECT_EQ(0, bTunerReady);
        EXPECT_EQ(0, Count("settimer"));
        os::SendMessageA(main, 1001, 10, os::WM_MOUSEMOVE);
        EXPECT_EQ(1, Count("tray modify"));
        EXPECT_EQ(0, Count("messagebox"));
        os::SendMessageA(main, 1001, 10, static_cast<std::int32_t>(click));
        const int box = IndexOf("Can't find the BDA video capture filter.");
        ASSERT_GE(box, 0);
        EXPECT_LT(box, IndexOf("tray delete"));
        EXPECT_LT(IndexOf("tray delete"), IndexOf("quit 0"));
    }
}

TEST(StartUp, ASecondCopysCloseDestroysTheWindowAndRemovesTheIcon) {
    sim::Reset();
    AddCaptureDevice();
    const os::Hwnd main = ProgramStartUp(0x400000);
    ASSERT_NE(0u, main);
    sim::ClearEffects();
    os::SendMessageA(main, os::WM_CLOSE, 0, 0);
    EXPECT_LT(IndexOf("tray delete size=88 id=10"), IndexOf("quit 0"));
    EXPECT_GE(IndexOf("tray delete"), 0);
}

TEST(PowerEvents, SuspendClosesAndEveryKindOfResumeReopensOnceFiveSecondsAfterTheFirst) {
    // Notices 1000 ms apart: 0 query-suspend, 4 suspend, 2 suspend refused;
    // 7 resume by the user, 18 automatic resume (a timed wake sends only
    // that), 6 resume after a critical suspend.
    const struct {
        std::vector<std::uint32_t> notices;
        std::uint32_t openAt;  // after the first notice
        int failedTimers = 0;  // SetTimer refuses the first ones
    } rows[] = {
        {{4, 7}, 6000},
        {{0, 7}, 6000},
        {{0, 2}, 6000},
        {{4, 18}, 6000},
        {{4, 6}, 6000},
        {{4, 18, 7}, 6000},
        {{0, 4, 6, 18, 7}, 7000},
        // Asleep again before the re-open: the next wake counts afresh.
        {{4, 18, 4, 18}, 8000},
        {{4, 18, 7}, 7000, 1},
    };
    for (const auto& row : rows) {
        const std::string what = ::testing::PrintToString(row.notices);
        sim::Reset();
        AddCaptureDevice();
        const os::Hwnd main = ProgramStartUp(0x400000);
        ASSERT_NE(0u, main);
        sim::Run(200);
        const std::uint32_t first = sim::Now();
        if (row.failedTimers) sim::FailNext(sim::Call::SetTimer, 0, row.failedTimers);
        for (std::size_t i = 0; i < row.notices.size(); ++i) {
            if (i > 0) sim::Run(first + 1000 * i - sim::Now());
            PowerEvent(main, row.notices[i]);
            if (row.notices[i] == 4 || row.notices[i] == 0) {
                EXPECT_EQ(nullptr, g_Tuner.pKsControl) << what;
            }
        }
        const std::uint32_t closedAt = sim::DriverRequestCount();
        sim::Run(first + row.openAt - 10 - sim::Now());
        EXPECT_EQ(nullptr, g_Tuner.pKsControl) << what;
        EXPECT_EQ(closedAt, sim::DriverRequestCount()) << what << ": no request while closed";
        sim::Run(20);
        EXPECT_NE(nullptr, g_Tuner.pKsControl) << what;
        EXPECT_EQ(0, bResumePending) << what;
        const std::uint32_t opened = sim::DriverRequestCount();
        sim::Run(650);
        EXPECT_EQ(opened + 10, sim::DriverRequestCount()) << what;
        sim::Run(10000);
        EXPECT_EQ(2, Count("ks open capture")) << what << ": at start-up and once after the wake";
        EXPECT_EQ(Count("settimer id=2000") - row.failedTimers, Count("killtimer id=2000")) << what;
    }
}

TEST(PowerEvents, AResumeInsideTheStartUpBoxReopensOnlyAfterThatOpenAndStrandsNothing) {
    sim::Reset();
    g_Tuner = {0, nullptr, nullptr, nullptr, 0x7164, 0, 0};  // nothing left from earlier worlds
    sim::FilterDesc noControl;
    noControl.friendlyName = "7160 BDA Main Device0";
    noControl.hasKsControl = false;
    sim::AddFilterDevice(sim::FilterCategory::MainDevice, noControl);
    AddCaptureDevice();
    // The box stays up past the resume timer, which comes due at 6000.
    sim::BroadcastAt(500, os::WM_POWERBROADCAST, 4);
    sim::BroadcastAt(1000, os::WM_POWERBROADCAST, 7);
    sim::AnswerMessageBox(1, 8000);
    const os::Hwnd main = ProgramStartUp(0x400000);
    ASSERT_NE(0u, main);
    EXPECT_EQ(8000u, sim::Now());
    // The start-up open's box, then the re-open's once it had finished.
    EXPECT_EQ(2, Count("Couldn't get interface handle!"));
    EXPECT_EQ(sim::DriverCapturePath(), g_Tuner.pKsControl);
    EXPECT_EQ(1, sim::LiveFilters());
    EXPECT_EQ(0, bResumePending);
    PowerEvent(main, 4);
    EXPECT_EQ(0, sim::LiveComObjects()) << "a reference outlived the suspend";
    EXPECT_EQ(0, sim::BadReleases());
}

TEST(PowerEvents, OtherNoticesAndAStrayResumeTimerChangeNothing) {
    sim::Reset();
    AddCaptureDevice();
    const os::Hwnd main = ProgramStartUp(0x400000);
    const os::ComPtr open = g_Tuner.pKsControl;
    PowerEvent(main, 10);  // power status change
    PowerEvent(main, 9);   // battery low
    os::SendMessageA(main, os::WM_TIMER, 2000, 0);
    EXPECT_EQ(open, g_Tuner.pKsControl);
    EXPECT_EQ(0, Count("settimer id=2000"));
}

TEST(TrayIcon, ComesBackWhenTheShellLostItOrCameLate) {
    // Retries every 2 s for 2 minutes; "TaskbarCreated" re-adds it at any time.
    const struct {
        const char* what;
        bool shellAtStart;
        void (*shell)();
        std::uint32_t runMs;
        bool shown;
        int adds;  // NIM_ADD calls by then
    } rows[] = {
        {"Explorer restarts", true, [] { sim::RestartExplorerAt(3000); }, 5000, true, 2},
        {"the taskbar announced again", true, [] { sim::StartShellAt(3000); }, 5000, true, 2},
        {"the taskbar made after the start", false, [] { sim::StartShellAt(31000); }, 40000, true,
         17},
        {"a busy shell answering late", false, [] { sim::StartShellAt(61000, false); }, 70000, true,
         32},
        {"a shell later than the retries", false, [] { sim::StartShellAt(130000, false); }, 200000,
         false, 61},
        {"which then restarts", false,
         [] {
             sim::StartShellAt(130000, false);
             sim::RestartExplorerAt(200000);
         },
         201000, true, 62},
    };
    for (const auto& row : rows) {
        sim::Reset();
        AddCaptureDevice();
        // Registered earlier by another program: the id is not the first.
        os::RegisterWindowMessageA("Some other program's message");
        sim::SetShellRunning(row.shellAtStart);
        row.shell();
        const os::Hwnd main = ProgramStartUp(0x400000);
        ASSERT_NE(0u, main);
        sim::Run(row.runMs);
        EXPECT_EQ(row.shown, sim::HasTrayIcon(main, 10)) << row.what;
        EXPECT_EQ(row.adds, Count("tray add size=88 id=10 flags=7 msg=1001 icon=50")) << row.what;
        EXPECT_EQ(Count("settimer id=2001"), Count("killtimer id=2001")) << row.what << ": retries stopped";
        EXPECT_EQ(0, Count("tray delete")) << row.what;
    }
}

TEST(MainWindow, DisplayChangeRecomputesTheMouseBounds) {
    sim::Reset();
    AddCaptureDevice();
    const os::Hwnd main = ProgramStartUp(0x400000);
    os::SendMessageA(main, os::WM_DISPLAYCHANGE, 32, (768 << 16) | 1280);
    EXPECT_EQ(1279, ScreenBounds.nMaxX);
    EXPECT_EQ(767, ScreenBounds.nMaxY);
    EXPECT_EQ(8, ScreenBounds.nSmallStep);
    EXPECT_EQ(16, ScreenBounds.nLargeStep);
}

}  // namespace
