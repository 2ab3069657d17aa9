// The key-map file in use: where start-up finds it, its one error box, and
// its rows in place of the built-in ones on each layout.
#include "app/program.h"
#include "controller_world.h"
#include "controllers/key_maps.h"
#include "controllers/keymap_load.h"
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
    StartProgram();
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

}  // namespace
