// The simulated desktop itself: searches as user32 makes them, the blocking
// Sleep, timers nested in modal loops, the wrap of the millisecond counter.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "os/dialogs.h"
#include "os/os.h"
#include "os/shell.h"
#include "os/sim/sim.h"
#include "os/sim/sim_shell.h"
#include "os/sim/sim_dialogs.h"

namespace {

using Lines = std::vector<std::string>;

std::vector<std::uint32_t> g_fired;
void Record(os::Hwnd, std::uint32_t, std::uint32_t id, std::uint32_t time) {
    g_fired.push_back(id * 100000 + time);
}

std::vector<std::uint32_t> g_received;
std::int32_t PlainProc(os::Hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t) {
    if (msg >= 0x400) g_received.push_back(msg * 100 + wParam);
    return 0;
}

// A program that rebuilds and tracks its menu on every tray click, first
// destroying the menu it built last, even while that one is tracked.
os::Hmenu g_menu = 0;
std::vector<int> g_tracked;  // TrackPopupMenu results, innermost first
std::int32_t MenuOnClickProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t, std::int32_t lParam) {
    if (msg != 1001 || lParam != os::WM_LBUTTONDOWN) return 0;
    if (g_menu) os::DestroyMenu(g_menu);
    g_menu = os::CreatePopupMenu();
    os::AppendMenuA(g_menu, os::MF_STRING, 30, "About");
    g_tracked.push_back(os::TrackPopupMenu(g_menu, 0, 0, 0, hwnd));
    return 0;
}

os::Hwnd ProgramWindow() {
    os::WindowClass wc = {0, PlainProc, 0, 0, 0, "Host"};
    os::RegisterClassExA(wc);
    return os::CreateWindowExA(0, "Host", "Host", 0, 0, 0, 0, 0, 0, 0, 0);
}

class SimDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        g_fired.clear();
        g_received.clear();
    }
};

TEST_F(SimDesktop, FindWindowIgnoresCaseButTheTitleWalkIsExact) {
    const os::Hwnd lower = sim::AddWindow({"tmwnd", "totalmedia", true, ""});
    const os::Hwnd upper = sim::AddWindow({"TMWnd", "TotalMedia", true, ""});  // now on top
    EXPECT_EQ(upper, os::FindWindowA("TMWND", nullptr));
    EXPECT_EQ(upper, os::FindWindowA(nullptr, "TOTALMEDIA"));
    EXPECT_EQ(lower, os::FindWindowExA(os::GetDesktopWindow(), upper, "tmwnd", "totalMEDIA"));
    EXPECT_EQ(0u, os::FindWindowExA(0, lower, "tmwnd", nullptr));
    EXPECT_EQ(0u, os::FindWindowA("TMWnd", "TotalMedia "));  // whole text, not a prefix
    EXPECT_EQ(0u, os::FindWindowA("", nullptr));

    // The walk: topmost first, and exactly the bytes the window holds.
    os::Hwnd h = os::GetWindow(os::GetDesktopWindow(), os::GW_CHILD);
    Lines titles;
    char buf[128];
    for (; h; h = os::GetWindow(h, os::GW_HWNDNEXT)) {
        os::GetWindowTextA(h, buf, sizeof buf);
        titles.push_back(buf);
    }
    EXPECT_EQ((Lines{"TotalMedia", "totalmedia"}), titles);
}

TEST_F(SimDesktop, WindowTextCopyIsBounded) {
    const os::Hwnd h = sim::AddWindow({"C", std::string(200, 'x'), true, ""});
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(7, os::GetWindowTextA(h, buf, sizeof buf));
    EXPECT_EQ(std::string(7, 'x'), std::string(buf));
    EXPECT_EQ(0, os::GetWindowTextA(h, buf, 0));
    EXPECT_EQ(0, os::GetWindowTextA(0x999, buf, sizeof buf));
    EXPECT_EQ('\0', buf[0]);
}

// Texts in effect lines: quoted, with quotes and bytes outside printable
// ASCII escaped, so a line never breaks or hides a byte.
TEST_F(SimDesktop, EffectTextsEscapeQuotesAndBytesOutsideAscii) {
    const struct {
        const char* text;
        const char* line;
    } rows[] = {{"plain text", "debug \"plain text\""},
                {"", "debug \"\""},
                {"say \"hi\"", "debug \"say \\\"hi\\\"\""},
                {"\x01tab\tdel\x7F\xE9", "debug \"\\x01tab\\x09del\\x7F\\xE9\""},
                {nullptr, "debug (null)"}};
    for (const auto& row : rows) {
        os::OutputDebugStringA(row.text);
        EXPECT_EQ(row.line, sim::EffectTexts().back()) << (row.text ? row.text : "(null)");
    }
}

TEST_F(SimDesktop, ForegroundRefusalIsLoggedAndChangesNothing) {
    const os::Hwnd other = sim::AddWindow({"Editor", "notes", true, ""});
    const os::Hwnd tv = sim::AddWindow({"TV", "TV", true, "", true});  // at the bottom
    sim::SetForeground(other);
    sim::RefuseForeground(tv);
    EXPECT_EQ(0, os::SetForegroundWindow(tv));
    EXPECT_EQ(other, os::GetForegroundWindow());
    EXPECT_EQ(other, os::GetWindow(os::GetDesktopWindow(), os::GW_CHILD));
    sim::RefuseForeground(tv, false);
    EXPECT_EQ(1, os::SetForegroundWindow(tv));
    EXPECT_EQ(tv, os::GetWindow(os::GetDesktopWindow(), os::GW_CHILD));
    const std::string d = sim::DescribeWindow(tv);
    EXPECT_EQ((Lines{"foreground " + d + " refused", "foreground " + d}), sim::EffectTexts());
}

// As strict as user32: the foreground lock, activation across threads and
// starts of files that are not there.
TEST_F(SimDesktop, RefusesWhatUser32Refuses) {
    const os::Hwnd own = ProgramWindow();
    const os::Hwnd editor = sim::AddWindow({"Editor", "notes", true, ""});
    const os::Hwnd tv = sim::AddWindow({"TV", "TV", true, "tv"});
    const os::Hwnd form = sim::AddWindow({"TVForm", "Guide", true, "tv"});
    std::uint32_t tvProcess = 0, formProcess = 0;
    const std::uint32_t editorThread = os::GetWindowThreadProcessId(editor, nullptr);
    os::GetWindowThreadProcessId(tv, &tvProcess);
    os::GetWindowThreadProcessId(form, &formProcess);
    EXPECT_EQ(tvProcess, formProcess) << "one owner, one process";
    EXPECT_NE(editorThread, os::GetWindowThreadProcessId(tv, nullptr));
    EXPECT_EQ(os::GetCurrentThreadId(), os::GetWindowThreadProcessId(own, nullptr));

    sim::ClearEffects();
    os::SetActiveWindow(own);
    EXPECT_EQ(0u, os::SetActiveWindow(tv)) << "another program's window";
    EXPECT_EQ((Lines{"active " + sim::DescribeWindow(own), "active " + sim::DescribeWindow(tv) + " failed"}),
              sim::EffectTexts());
    sim::SetForeground(editor);
    sim::LockForeground();
    EXPECT_EQ(0, os::SetForegroundWindow(tv)) << "locked while another program is in front";
    EXPECT_EQ(1, os::AttachThreadInput(os::GetCurrentThreadId(), editorThread, 1));
    EXPECT_EQ(1, os::SetForegroundWindow(tv)) << "attached to the foreground thread";
    EXPECT_EQ(1, os::AttachThreadInput(os::GetCurrentThreadId(), editorThread, 0));
    EXPECT_EQ(0, os::SetForegroundWindow(editor)) << "detached: locked again";
    EXPECT_EQ(0, os::AttachThreadInput(os::GetCurrentThreadId(), 0x999, 1)) << "no such thread";

    sim::SetFileExists("C:\\TV\\tv.exe");
    EXPECT_EQ(42u, os::ShellExecuteA(0, "open", "c:\\tv\\TV.EXE", nullptr, nullptr, 5));
    EXPECT_EQ(2u, os::ShellExecuteA(0, "open", "C:\\TV\\gone.exe", nullptr, nullptr, 5));
    sim::SetShellExecuteResult(31);
    EXPECT_EQ(31u, os::ShellExecuteA(0, "open", "C:\\TV\\gone.exe", nullptr, nullptr, 5));
}

TEST_F(SimDesktop, SleepBlocksTimersAndADueTimerFiresOnceAfter) {
    const os::Hwnd host = ProgramWindow();
    os::SetTimer(host, 1, 65, Record);
    sim::Run(65);
    ASSERT_EQ((std::vector<std::uint32_t>{100065}), g_fired);
    g_fired.clear();
    os::Sleep(2000);  // the tick due at 130 and all after it are held back
    EXPECT_TRUE(g_fired.empty());
    EXPECT_EQ(2065u, sim::Now());
    sim::Run(1);
    EXPECT_EQ((std::vector<std::uint32_t>{102065}), g_fired);
    sim::Run(65);
    EXPECT_EQ((std::vector<std::uint32_t>{102065, 102130}), g_fired);

    // A window that was scripted to appear during the sleep is there after it.
    sim::AddWindowAt(sim::Now() + 500, {"Late", "Late", true, ""});
    os::Sleep(1000);
    EXPECT_NE(0u, os::FindWindowA("Late", nullptr));
}

TEST_F(SimDesktop, TimersFireInDueOrderAndNestInsideMessageBoxes) {
    const os::Hwnd host = ProgramWindow();
    os::SetTimer(host, 2, 100, Record);
    os::SetTimer(host, 1, 65, Record);
    sim::Run(200);
    EXPECT_EQ((std::vector<std::uint32_t>{100065, 200100, 100130, 100195, 200200}), g_fired);

    g_fired.clear();
    sim::AnswerMessageBox(2, 150);  // IDCANCEL after 150 ms
    EXPECT_EQ(2, os::MessageBoxA(0, "Text", "Remote Control", 0x10000));
    EXPECT_EQ(350u, sim::Now());
    EXPECT_EQ((std::vector<std::uint32_t>{100260, 200300, 100325}), g_fired);
    EXPECT_EQ(1, os::MessageBoxA(0, "Again", nullptr, 0));  // unscripted: IDOK at once
    EXPECT_EQ(350u, sim::Now());
    const Lines texts = sim::EffectTexts();
    EXPECT_EQ("messagebox \"Text\" \"Remote Control\" style=0x00010000 -> 2", texts[texts.size() - 2]);
    EXPECT_EQ("messagebox \"Again\" (null) style=0x00000000 -> 1", texts.back());
}

std::vector<std::vector<std::uint32_t>> g_openers;  // what was open, seen from inside
void BoxOnTick(os::Hwnd, std::uint32_t, std::uint32_t, std::uint32_t) {
    os::MessageBoxA(0, "tick", nullptr, 0);
}
std::int32_t SeeOpenersOnTimer(os::Hwnd, std::uint32_t msg, std::uint32_t, std::int32_t) {
    if (msg == os::WM_TIMER) g_openers.push_back(sim::OpenModalOpeners());
    return 0;
}
std::int32_t EndAtOnce(os::Hwnd dlg, std::uint32_t msg, std::uint32_t, std::int32_t) {
    if (msg != os::WM_INITDIALOG) return 0;
    g_openers.push_back(sim::OpenModalOpeners());
    os::EndDialog(dlg, 1);
    g_openers.push_back(sim::OpenModalOpeners());
    return 1;
}

// A box knows the timer procedure that opened it (0: anything else), a
// dialog counts until its EndDialog, and the peak per timer stays.
TEST_F(SimDesktop, BoxesAndDialogsKnowWhatOpenedThem) {
    g_openers.clear();
    os::WindowClass wc = {0, SeeOpenersOnTimer, 0, 0, 0, "Seer"};
    os::RegisterClassExA(wc);
    const os::Hwnd host = os::CreateWindowExA(0, "Seer", "Seer", 0, 0, 0, 0, 0, 0, 0, 0);
    os::SetTimer(host, 5, 100, BoxOnTick);
    os::SetTimer(host, 6, 150, nullptr);  // posts WM_TIMER
    EXPECT_TRUE(sim::HasTimer(host, 6));
    EXPECT_FALSE(sim::HasTimer(host, 7));
    sim::AnswerMessageBox(1, 250);  // the first tick's box stays up past the next tick's
    sim::Run(400);
    // At 150 inside the first tick's box; at 300 inside the box of the tick
    // due then too, which stands on the first.
    EXPECT_EQ((std::vector<std::vector<std::uint32_t>>{{5}, {5, 5}}), g_openers);
    EXPECT_EQ(2, sim::PeakModalsOpenedBy(5));
    EXPECT_EQ(0, sim::PeakModalsOpenedBy(0));

    g_openers.clear();
    os::DialogBoxParamA(0, 21, host, EndAtOnce, 0);
    EXPECT_EQ((std::vector<std::vector<std::uint32_t>>{{0}, {}}), g_openers);
    os::KillTimer(host, 6);
    EXPECT_FALSE(sim::HasTimer(host, 6));
}

TEST_F(SimDesktop, ClockWrapsAndTimersKeepTheirPace) {
    sim::Reset(0xFFFFFFF0u);
    const os::Hwnd host = ProgramWindow();
    os::SetTimer(host, 1, 65, Record);
    sim::Run(130);
    EXPECT_EQ(0x72u, os::GetTickCount());
    EXPECT_EQ((std::vector<std::uint32_t>{100000 + 0x31u, 100000 + 0x72u}), g_fired);
    // A time past the wrap lies ahead, not behind.
    sim::AddWindowAt(0x100, {"Late", "Late", true, ""});
    sim::Run(0x100 - 0x72 - 1);
    EXPECT_EQ(0u, os::FindWindowA("Late", nullptr));
    sim::Run(1);
    EXPECT_NE(0u, os::FindWindowA("Late", nullptr));
}

TEST_F(SimDesktop, PostedMessagesNameTheirTargetAndClosableStandInsClose) {
    const os::Hwnd tv = sim::AddWindow({"TV", "Title", true, "", false, true});
    os::PostMessageA(tv, os::WM_KEYDOWN, 0x0D, 0x01500001);
    os::PostMessageA(tv, 4024, 0x0C, 0);
    sim::SetForeground(tv);
    os::keybd_event(0x12, 0, 0, 0);
    os::keybd_event(0x73, 0, os::KEYEVENTF_EXTENDEDKEY, 0);
    EXPECT_EQ(0, os::IsWindow(tv));
    sim::FailNext(sim::Call::PostMessageA, 0);
    EXPECT_EQ(0, os::PostMessageA(tv, os::WM_CLOSE, 0, 0));
    const std::string d = "0x10002 \"TV\" \"Title\"";
    EXPECT_EQ((Lines{"post WM_KEYDOWN wParam=0x0D lParam=0x01500001 to " + d,
                     "post 4024 wParam=0x0C lParam=0x0 to " + d, "keybd VK_MENU down",
                     "keybd VK_F4 down ext", "world close " + d,
                     "post WM_CLOSE wParam=0x00 lParam=0x0 to 0x10002 (no window) failed"}),
              sim::EffectTexts());
}

TEST_F(SimDesktop, AltF4ClosesOnlyWithoutCtrlAndAltGrIsARightAltWithCtrl) {
    constexpr std::uint32_t E = os::KEYEVENTF_EXTENDEDKEY, U = os::KEYEVENTF_KEYUP;
    struct Key {
        std::uint8_t vk;
        std::uint32_t flags;
    };
    const std::string close = "world close 0x10002 \"TV\" \"Title\"";
    const struct {
        bool altGr;
        std::vector<Key> keys;
        Lines want;
        std::vector<std::uint8_t> down;  // held afterwards
    } rows[] = {
        // Without AltGr the right Alt is a plain Alt.
        {false, {{0x12, E}, {0x73, E}}, {"keybd VK_MENU down ext", "keybd VK_F4 down ext", close},
         {0x12, 0x73}},
        {true, {{0x12, 0}, {0x73, E}}, {"keybd VK_MENU down", "keybd VK_F4 down ext", close},
         {0x12, 0x73}},
        {true,
         {{0x12, E}, {0x73, E}, {0x73, E | U}, {0x12, E | U}},
         {"keybd VK_MENU down ext", "keybd VK_CONTROL down (altgr)", "keybd VK_F4 down ext",
          "keybd VK_F4 up ext", "keybd VK_MENU up ext", "keybd VK_CONTROL up (altgr)"},
         {}},
        {false,
         {{0x11, 0}, {0x12, 0}, {0x73, E}},
         {"keybd VK_CONTROL down", "keybd VK_MENU down", "keybd VK_F4 down ext"},
         {0x11, 0x12, 0x73}},
        // AltGr's Ctrl goes with the right Alt; a later plain Alt+F4 closes.
        {true,
         {{0x12, E}, {0x12, E | U}, {0x12, 0}, {0x73, E}},
         {"keybd VK_MENU down ext", "keybd VK_CONTROL down (altgr)", "keybd VK_MENU up ext",
          "keybd VK_CONTROL up (altgr)", "keybd VK_MENU down", "keybd VK_F4 down ext", close},
         {0x12, 0x73}},
        {true, {{0x12, E}}, {"keybd VK_MENU down ext", "keybd VK_CONTROL down (altgr)"}, {0x11, 0x12}},
    };
    int n = 0;
    for (const auto& row : rows) {
        sim::Reset();
        sim::SetAltGrLayout(row.altGr);
        const os::Hwnd tv = sim::AddWindow({"TV", "Title", true, "", false, true});
        sim::SetForeground(tv);
        sim::ClearEffects();
        for (const Key& k : row.keys) os::keybd_event(k.vk, 0, k.flags, 0);
        EXPECT_EQ(row.want, sim::EffectTexts()) << "row " << n;
        EXPECT_EQ(row.down, sim::KeysDown()) << "row " << n;
        EXPECT_EQ(row.want.back() != close, os::IsWindow(tv) != 0) << "row " << n++;
    }
    sim::Reset();  // back to a layout without AltGr
    const os::Hwnd tv = sim::AddWindow({"TV", "Title", true, "", false, true});
    sim::SetForeground(tv);
    os::keybd_event(0x12, 0, E, 0);
    os::keybd_event(0x73, 0, E, 0);
    EXPECT_EQ(0, os::IsWindow(tv));
}

TEST_F(SimDesktop, MessageLoopGetsPostedMessagesUntilQuitOrItsEnd) {
    const os::Hwnd host = ProgramWindow();
    os::PostMessageA(host, 0x401, 7, 0);
    sim::Run(10);  // the scheduler is a message loop too
    EXPECT_EQ((std::vector<std::uint32_t>{0x401 * 100 + 7}), g_received);

    os::SetTimer(host, 1, 65, Record);
    os::PostMessageA(host, 0x402, 1, 0);
    os::Msg msg = {};
    ASSERT_EQ(1, os::GetMessageA(&msg));
    EXPECT_EQ(host, msg.hwnd);
    EXPECT_EQ(0x402u, msg.message);
    EXPECT_EQ(1u, g_received.size());  // handed out, not dispatched

    sim::EndMessageLoopAt(sim::Now() + 200);
    EXPECT_EQ(0, os::GetMessageA(&msg));
    EXPECT_EQ(210u, sim::Now());
    EXPECT_EQ(3u, g_fired.size());  // 75, 140, 205
    os::PostQuitMessage(0);
    EXPECT_EQ(0, os::GetMessageA(&msg));
}

// While a menu is tracked, another tray click arrives: as a message the
// program handles (the menu it destroys stays tracked, and a second one is
// refused), or as the user's click, which closes the open menu first.
TEST_F(SimDesktop, ATrackedMenuOutlivesDestroyMenuAndAClickOutsideClosesIt) {
    const struct {
        const char* what;
        bool userClick;
        std::vector<int> tracked;
        const char* line;
    } rows[] = {
        {"notice only", false, {0, 1},
         "trackpopupmenu menu 0x60001 flags=0x0 at 0,0 owner=0x10002 \"Tray\" \"Tray\" failed"},
        {"user's click", true, {1, 0},
         "menu 0x60000 closed by a click outside, its choice left for the next menu"},
    };
    for (const auto& row : rows) {
        SetUp();
        g_menu = 0;
        g_tracked.clear();
        os::WindowClass wc = {0, MenuOnClickProc, 0, 0, 0, "Tray"};
        os::RegisterClassExA(wc);
        const os::Hwnd host = os::CreateWindowExA(0, "Tray", "Tray", 0, 0, 0, 0, 0, 0, 0, 0);
        os::NotifyIconData icon = {88, host, 10, os::NIF_MESSAGE, 1001, 0, ""};
        os::Shell_NotifyIconA(os::NIM_ADD, &icon);
        sim::ChooseMenuItemAt(1000, 30);
        sim::BroadcastAt(100, 1001, 10, os::WM_LBUTTONDOWN);
        if (row.userClick)
            sim::ClickTrayIconAt(300, sim::TrayClick::Left);
        else
            sim::BroadcastAt(300, 1001, 10, os::WM_LBUTTONDOWN);
        sim::Run(2000);
        EXPECT_EQ(row.tracked, g_tracked) << row.what;
        bool seen = false;
        for (const std::string& t : sim::EffectTexts()) {
            seen = seen || t == row.line;
            EXPECT_EQ(std::string::npos, t.find("destroymenu menu 0x60000 failed")) << row.what;
        }
        EXPECT_TRUE(seen) << row.what << ": " << row.line;
    }
}

TEST_F(SimDesktop, ScriptedWindowChangesHappenAtTheirTimes) {
    const os::Hwnd h = sim::AddWindow({"Form", "Setup"});
    sim::SetWindowTitleAt(100, "Form", "Setup", "Playing");
    sim::SetWindowVisibleAt(200, "Form", "Playing", false);
    sim::RemoveWindowAt(300, "Form", "Playing");
    char buf[32];
    sim::Run(99);
    os::GetWindowTextA(h, buf, sizeof buf);
    EXPECT_STREQ("Setup", buf);
    sim::Run(1);
    os::GetWindowTextA(h, buf, sizeof buf);
    EXPECT_STREQ("Playing", buf);
    sim::Run(100);
    EXPECT_EQ(0, os::IsWindowVisible(h));
    EXPECT_EQ(1, os::IsWindow(h));
    sim::Run(100);
    EXPECT_EQ(0, os::IsWindow(h));
}

TEST_F(SimDesktop, ShellRefusesWhatWindowsRefusesAndARestartForgetsAndAnnounces) {
    const os::Hwnd host = ProgramWindow();
    sim::AddWindow({"Other", "Other"});  // not the program's: nothing logged for it
    os::NotifyIconData nid = {88, host, 10, 7, 1001, 50, "Tip"};
    sim::SetShellRunning(false);
    sim::StartShellAt(100, false);
    sim::ClearEffects();
    EXPECT_EQ(0, os::Shell_NotifyIconA(os::NIM_ADD, &nid));
    sim::Run(100);
    EXPECT_EQ(1, os::Shell_NotifyIconA(os::NIM_ADD, &nid));
    EXPECT_EQ(0, os::Shell_NotifyIconA(os::NIM_ADD, &nid));  // it has that icon already
    EXPECT_EQ(1, os::Shell_NotifyIconA(os::NIM_MODIFY, &nid));
    nid.uID = 11;
    EXPECT_EQ(0, os::Shell_NotifyIconA(os::NIM_MODIFY, &nid));
    EXPECT_EQ(0, os::Shell_NotifyIconA(os::NIM_DELETE, &nid));
    EXPECT_EQ(0, os::Shell_NotifyIconA(os::NIM_ADD, nullptr));
    const std::string tray = " size=88 id=10 flags=7 msg=1001 icon=50 tip=\"Tip\"";
    const std::string other = " size=88 id=11 flags=7 msg=1001 icon=50 tip=\"Tip\"";
    EXPECT_EQ((Lines{"tray add" + tray + " failed", "world shell start quiet", "tray add" + tray,
                     "tray add" + tray + " failed", "tray modify" + tray,
                     "tray modify" + other + " failed", "tray delete" + other + " failed",
                     "tray add (null) failed"}),
              sim::EffectTexts());
    EXPECT_TRUE(sim::HasTrayIcon(host, 10));

    // Registered ids are shared by name, letter case aside.
    const std::uint32_t mine = os::RegisterWindowMessageA("Host message");
    const std::uint32_t created = os::RegisterWindowMessageA("TaskbarCreated");
    EXPECT_EQ(created, os::RegisterWindowMessageA("taskbarcreated"));
    EXPECT_NE(mine, created);
    EXPECT_GE(created, 0xC000u);
    EXPECT_EQ(0u, os::RegisterWindowMessageA(""));
    EXPECT_EQ(0u, os::RegisterWindowMessageA(nullptr));

    sim::ClearEffects();
    sim::RestartExplorerAt(200);
    sim::Run(100);
    EXPECT_FALSE(sim::HasTrayIcon(host, 10));
    EXPECT_EQ((std::vector<std::uint32_t>{created * 100}), g_received);
    EXPECT_EQ((Lines{"world explorer restart",
                     "send TaskbarCreated wParam=0x00 lParam=0x0 to 0x10002 \"Host\" \"Host\""}),
              sim::EffectTexts());
}

}  // namespace
