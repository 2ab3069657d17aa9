// The key-map file in use: where start-up finds it, its one error box, and
// its rows in place of the built-in ones on each layout.
#include "app/program.h"
#include "controller_world.h"
#include "controllers/key_maps.h"
#include "controllers/keymap_load.h"
#include "controllers/user_apps.h"
#include "core/records.h"
#include "os/sim/sim_devices.h"

namespace {

using namespace ctlworld;

const std::string kAppDataFile =
    "C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini";
const std::string kExeFile = "C:\\Program Files\\Remote Control\\RemoteControl.ini";

Lines Boxes() {
    Lines boxes;
    for (const std::string& t : sim::EffectTexts())
        if (t.compare(0, 11, "messagebox ") == 0) boxes.push_back(t);
    return boxes;
}

void StartProgram() {
    sim::FilterDesc capture;
    capture.friendlyName = "713x BDA Analog Capture";
    sim::AddFilterDevice(sim::FilterCategory::Capture, capture);
    ASSERT_NE(0u, ProgramStartUp(0x400000));
}

TEST(KeymapLoad, StartUpReadsTheUsersFileFirstThenTheOneBesideTheProgram) {
    struct Case {
        const char* what;
        bool appDataFile, exeFile, noAppDataFolder, unreadable;
        std::string boxNames;  // empty: no box
    };
    const Case cases[] = {
        {"both files", true, true, false, false, kAppDataFile + " line 1"},
        {"beside the program only", false, true, false, false, kExeFile + " line 1"},
        {"no application data folder", true, true, true, false, kExeFile + " line 1"},
        {"the user's file unreadable", true, true, false, true, kAppDataFile + ": could not be read"},
        {"neither", false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::Reset();
        if (c.appDataFile) sim::SetFileContent(kAppDataFile, "bad\r\n");
        if (c.exeFile) sim::SetFileContent(kExeFile, "bad\r\n");
        if (c.noAppDataFolder) sim::SetAppDataFolder("");
        if (c.unreadable) sim::FailNext(sim::Call::ReadFileBytes, 0);
        StartProgram();
        const Lines boxes = Boxes();
        if (c.boxNames.empty()) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(nullptr, ActiveKeymap());
            continue;
        }
        ASSERT_EQ(1u, boxes.size());
        EXPECT_NE(std::string::npos, boxes[0].find(c.boxNames)) << boxes[0];
        EXPECT_NE(std::string::npos, boxes[0].find("\"Remote Control\" style=0x00000030")) << boxes[0];
    }
}

class KeymapInUse : public World {};

TEST_F(KeymapInUse, OneBoxListsTheFirstTenErrorsAndTheValidRowsStillApply) {
    std::string file = "[Savrin]\r\n24 = command 3000 7 plain\r\n";
    for (int i = 1; i <= 12; ++i) file += "bad" + std::to_string(i) + "\r\n";
    sim::SetFileContent(kAppDataFile, file);
    const os::Hwnd savrin = sim::AddWindow({"AnyClass", "Dravune", true, ""});
    // The remote works while the user reads the box: the driver is polled
    // in its modal loop.
    sim::AnswerMessageBox(1, 2000);
    StartProgram();
    EXPECT_GE(sim::DriverRequestCount(), 2000u / 65);
    const Lines boxes = Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].find("12 error(s)"));
    EXPECT_NE(std::string::npos, boxes[0].find("line 12: 'CODE = action' expected, found 'bad10'"));
    EXPECT_EQ(std::string::npos, boxes[0].find("bad11"));
    EXPECT_NE(std::string::npos, boxes[0].find("and 2 more"));
    EXPECT_EQ(Lines{Post(3000, 7, savrin)}, Effects([] { SavrinKeyMap41(24); }));
    EXPECT_EQ(Lines{Post(3000, 2000, savrin)}, Effects([] { SavrinKeyMap41(25); }));
}

// Only what reaches the applications: posts and keystrokes.
Lines Sent(const Lines& all) {
    Lines sent;
    for (const std::string& t : all)
        if (t.compare(0, 5, "post ") == 0 || t.compare(0, 6, "keybd ") == 0) sent.push_back(t);
    return sent;
}

TEST_F(KeymapInUse, LayoutRowThenEveryLayoutRowThenBuiltInRow) {
    sim::SetFileContent(kAppDataFile,
                        "[Savrin]\r\n13 = command 3000 8 plain\r\n24 = command 3000 7 plain\r\n"
                        "[Savrin.41key]\r\n24 = command 3000 9 plain\r\n73 = -\r\n"
                        "16 = command 3000 13 plain, once\r\n"
                        "[Savrin.36key]\r\n15 = command 3000 10 plain\r\n"
                        "[Savrin.35key]\r\n24 = command 3000 11 plain\r\n"
                        "[Savrin.44key]\r\n24 = command 3000 12 plain\r\n"
                        "[TotalMedia35]\r\n17 = F2\r\n");
    LoadKeymapFile();
    const os::Hwnd savrin = Add("AnyClass", "Dravune");
    Add("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia");
    struct Case {
        std::int32_t type;
        KeyMapFn map;
        std::uint32_t code;
        std::int32_t repeat;
        Lines sent;
    };
    const Case cases[] = {
        {1, SavrinKeyMap41, 24, 0, {Post(3000, 9, savrin)}},     // the layout's row
        {1, SavrinKeyMap41, 13, 0, {Post(3000, 8, savrin)}},     // every layout over built-in 500
        {1, SavrinKeyMap41, 73, 0, {}},                          // removed (built-in 50)
        {1, SavrinKeyMap41, 25, 0, {Post(3000, 2000, savrin)}},  // built-in
        {1, SavrinKeyMap41, 16, 0, {Post(3000, 13, savrin)}},    // once: a new press
        {1, SavrinKeyMap41, 16, 1, {}},                          // ... not its repeats
        {1, SavrinKeyMap41, 25, 1, {Post(3000, 2000, savrin)}},  // built-in rows still repeat
        {2, SavrinKeyMap36, 15, 0, {Post(3000, 10, savrin)}},
        {2, SavrinKeyMap36, 24, 0, {Post(3000, 7, savrin)}},     // built-in 403
        {3, SavrinKeyMap35, 24, 0, {Post(3000, 11, savrin)}},
        {4, SavrinKeyMap44, 24, 0, {Post(3000, 12, savrin)}},
        {3, SavrinKeyMap41, 24, 0, {Post(3000, 11, savrin)}},    // first found: the remote in hand
        {1, TotalMedia35KeyMapShared, 17, 0, {"keybd VK_F2 down ext", "keybd VK_F2 up ext"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.type) + " code " + std::to_string(c.code) +
                     " repeat " + std::to_string(c.repeat));
        nIRKEYType = c.type;
        KeyRepeatState.bRepeat = c.repeat;
        EXPECT_EQ(c.sent, Sent(Effects([&] { c.map(c.code); })));
    }
}

TEST_F(KeymapInUse, UserAppsAreFoundByClassTitleOrTitlePrefix) {
    sim::SetFileContent(kAppDataFile,
                        "[app:ByClass]\r\nclass = PlayerWnd\r\n"
                        "[app:ByTitle]\r\ntitle = Radio\r\n"
                        "[app:Both]\r\nclass = PlayerWnd\r\ntitle = Second\r\n"
                        "[app:Prefix]\r\ntitle prefix = Player - \r\n"
                        "[app:PrefixClass]\r\nclass = Other\r\ntitle prefix = Player - \r\n"
                        "[app:Absent]\r\nclass = Nowhere\r\n");
    LoadKeymapFile();
    ASSERT_EQ(6u, UserAppCount());
    // Each window added goes on top: the searches meet them last to first.
    const os::Hwnd other = Add("Other", "Player - other");
    const os::Hwnd song = Add("Lookalike", "Player - song");
    const os::Hwnd radio = Add("Tuner", "RADIO");
    const os::Hwnd second = Add("PlayerWnd", "Second");
    const os::Hwnd first = Add("playerwnd", "First");  // classes ignore case, as user32
    Add("Lookalike", "player - lower case");           // a prefix is byte for byte
    Add("Lookalike", "My Player - x");
    const os::Hwnd want[] = {first, radio, second, song, other, 0};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(want[i], FindUserAppWindow(i)) << UserAppAt(i)->szName;
    EXPECT_EQ(0u, FindUserAppWindow(6));  // beyond the file
}

TEST_F(KeymapInUse, UserAppKeysByDeliveryLayoutAndOnce) {
    sim::SetFileContent(kAppDataFile,
                        "[app:Keys]\r\nclass = KeysWnd\r\n11 = Space\r\n12 = post key Return\r\n"
                        "13 = Escape, once\r\n[app:Keys.35key]\r\n11 = Return\r\n"
                        "[app:Msgs]\r\nclass = MsgsWnd\r\ndelivery = messages\r\n11 = Space\r\n"
                        "13 = numpad 1\r\n14 = command 3000 7 plain\r\n15 = Ctrl+P\r\n");
    LoadKeymapFile();
    const os::Hwnd keys = Add("KeysWnd", "K");
    const os::Hwnd msgs = Add("MsgsWnd", "M");
    const std::string k = " to " + sim::DescribeWindow(keys);
    const std::string m = " lParam=0x01500001 to " + sim::DescribeWindow(msgs);
    const Lines space = {KeyLine("VK_SPACE", "down"), KeyLine("VK_SPACE", "up")};
    struct Case {
        std::size_t app;
        std::int32_t type, repeat;
        std::uint32_t code;
        bool refused;  // the foreground stays with another program
        Lines sent;
    };
    const Case cases[] = {
        {0, 1, 0, 11, false, space},
        {0, 3, 0, 11, false, {KeyLine("VK_RETURN", "down"), KeyLine("VK_RETURN", "up")}},
        {0, 1, 0, 11, true, {}},  // keystrokes only into the application
        {0, 1, 0, 12, true, {"post WM_KEYDOWN wParam=0x0D lParam=0x01500001" + k}},
        {0, 1, 0, 13, false, {KeyLine("VK_ESCAPE", "down"), KeyLine("VK_ESCAPE", "up")}},
        {0, 1, 1, 13, false, {}},
        {0, 1, 0, 99, false, {}},
        {1, 1, 0, 11, true, {"post WM_KEYDOWN wParam=0x20" + m}},
        {1, 1, 0, 13, true, {"post WM_KEYDOWN wParam=0x61" + m}},
        {1, 1, 0, 14, true, {Post(3000, 7, msgs)}},
        {1, 1, 0, 15, true,
         {"post WM_KEYDOWN wParam=0x11" + m, "post WM_KEYDOWN wParam=0x50" + m}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("app " + std::to_string(c.app) + " code " + std::to_string(c.code) +
                     " layout " + std::to_string(c.type));
        nIRKEYType = c.type;
        KeyRepeatState.bRepeat = c.repeat;
        if (c.refused) sim::FailNext(sim::Call::SetForegroundWindow, 0, 2);
        EXPECT_EQ(c.sent, Sent(Effects([&] { RunUserAppKey(c.app, c.code); })));
        sim::SetForeground(hMainWindow);
    }
}

}  // namespace
