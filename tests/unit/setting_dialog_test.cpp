// The Setting dialog: which applications it lists and in what order, the
// selection it shows, and when OK stores DefaultTVAPP.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray_menu.h"
#include "app/program.h"
#include "controllers/controller_table.h"
#include "controllers/keymap_load.h"
#include "os/dialogs.h"
#include "os/sim/sim.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_input.h"
#include "os/sim/sim_registry.h"

namespace {

const char kSettingsKey[] = "Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi";
const char kVistaMediaCenterKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";
constexpr std::uint32_t kUntouched = 1;  // no application has code 1

std::vector<std::string> Lines(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& t : sim::EffectTexts())
        if (t.rfind(prefix, 0) == 0) out.push_back(t.substr(prefix.size()));
    return out;
}

class SettingDialog : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        main = sim::AddWindow({"Remote Control", "Remote Control", false, ""});
        nSettingSelection = -1;
        szSettingLabel[0] = '\0';
        sim::SetRegDword(kSettingsKey, "DefaultTVAPP", kUntouched);
    }
    // Opens the dialog, lets the scripted user act, and returns what the
    // list held, as the log shows it.
    std::vector<std::string> Open() {
        sim::ClearEffects();
        ShowSettingDialog(main);
        return Lines("combo 11 add ");
    }
    static std::string Shown() {
        const auto lines = Lines("combo 11 select ");
        return lines.empty() ? "?" : lines.back().substr(lines.back().find("-> ") + 3);
    }
    static std::uint32_t Stored() {
        std::uint32_t value = 0;
        sim::GetRegDword(kSettingsKey, "DefaultTVAPP", &value);
        return value;
    }
    os::Hwnd main = 0;
};

TEST_F(SettingDialog, ListsTheAvailableApplicationsInItsOwnOrder) {
    for (AppController* app : {&Savrin, &Orbisk, &OrbiskCenter, &TotalMedia35, &ArcSoftTV5,
                               &PowerCinema, &TVEnhance})
        app->bInstalled = 1;
    sim::SetRegString(kVistaMediaCenterKey, "Ident", "5.1");
    DefaultTVAPP = kAppTVEnhance;
    sim::PressDialogButton(os::IDCANCEL);
    EXPECT_EQ((std::vector<std::string>{"\"Savrin\"", "\"Orbisk\"", "\"Orbisk Center\"",
                                        "\"Media Center\"", "\"TotalMedia 3.5\"",
                                        "\"ArcSoft TV 5.0\"", "\"PowerCinema\"", "\"TVEnhance\""}),
              Open());
    EXPECT_EQ("\"TVEnhance\"", Shown());
    EXPECT_EQ(1u, Lines("combo 11 reset").size());
}

TEST_F(SettingDialog, ShowsTheCurrentApplicationOrTheRememberedEntry) {
    sim::SetRegString(kVistaMediaCenterKey, "Ident", "5.1");
    PowerCinema.bInstalled = 1;
    DefaultTVAPP = kAppPowerCinema;
    sim::PressDialogButton(os::IDCANCEL);
    EXPECT_EQ((std::vector<std::string>{"\"Media Center\"", "\"PowerCinema\""}), Open());
    EXPECT_EQ("\"PowerCinema\"", Shown());

    // Not in the list: the index chosen last time stays.
    DefaultTVAPP = kAppTotalMedia35;
    sim::PressDialogButton(os::IDCANCEL);
    Open();
    EXPECT_EQ("\"PowerCinema\"", Shown());

    // Never chosen: the first entry.
    nSettingSelection = -1;
    sim::PressDialogButton(os::IDCANCEL);
    Open();
    EXPECT_EQ("\"Media Center\"", Shown());
}

TEST_F(SettingDialog, EmptyListSelectsNothingAndOkStoresNothing) {
    DefaultTVAPP = kAppOrbisk;
    sim::PressDialogButton(os::IDOK);
    EXPECT_TRUE(Open().empty());
    EXPECT_EQ("none", Shown());
    EXPECT_EQ(kAppOrbisk, DefaultTVAPP);
    EXPECT_EQ(kUntouched, Stored());
}

TEST_F(SettingDialog, OkStoresOnlyAChangedApplication) {
    Savrin.bInstalled = 1;
    PowerCinema.bInstalled = 1;
    const struct {
        const char* what;
        std::int32_t current;
        int pick;  // -1: leave the selection as shown
        std::int32_t want;
        bool stored;
    } rows[] = {
        {"current one picked", kAppPowerCinema, 1, kAppPowerCinema, false},
        {"another picked", kAppPowerCinema, 0, kAppSavrin, true},
        // The current application is not installed: OK takes the first entry.
        {"shown entry confirmed", kAppTotalMedia35, -1, kAppSavrin, true},
    };
    for (const auto& row : rows) {
        SetUp();
        Savrin.bInstalled = 1;
        PowerCinema.bInstalled = 1;
        DefaultTVAPP = row.current;
        if (row.pick >= 0) sim::PickComboEntry(kSettingComboId, row.pick, 100);
        sim::PressDialogButton(os::IDOK, 100);
        Open();
        EXPECT_EQ(row.want, DefaultTVAPP) << row.what;
        EXPECT_EQ(row.stored ? static_cast<std::uint32_t>(row.want) : kUntouched, Stored())
            << row.what;
        EXPECT_EQ(1u, Lines("enddialog 1 ").size()) << row.what;
    }
}

TEST_F(SettingDialog, UserAppsFollowTheEightAndOkStoresTheirCode) {
    sim::SetFileContent("C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini",
                        "[app:Player]\r\nclass = P\r\n[app:Radio]\r\nclass = R\r\n");
    LoadKeymapFile();
    Savrin.bInstalled = 1;
    DefaultTVAPP = 101;
    sim::PickComboEntry(kSettingComboId, 1, 100);
    sim::PressDialogButton(os::IDOK, 100);
    EXPECT_EQ((std::vector<std::string>{"\"Savrin\"", "\"Player\"", "\"Radio\""}), Open());
    EXPECT_EQ("\"Radio\"", Shown());
    EXPECT_EQ(100, DefaultTVAPP);
    EXPECT_EQ(100u, Stored());
}

TEST_F(SettingDialog, TypedTextIsNotUsedTheLastConfirmedLabelDecides) {
    Savrin.bInstalled = 1;
    Orbisk.bInstalled = 1;
    DefaultTVAPP = kAppSavrin;
    sim::PickComboEntry(kSettingComboId, 1);  // "Orbisk"
    sim::PressDialogButton(os::IDOK);
    Open();
    ASSERT_EQ(kAppOrbisk, DefaultTVAPP);
    ASSERT_STREQ("Orbisk", szSettingLabel);

    // The user picks Savrin, then types over it: no entry is selected.
    sim::SetRegDword(kSettingsKey, "DefaultTVAPP", kUntouched);
    sim::PickComboEntry(kSettingComboId, 0);
    sim::TypeDialogText(kSettingComboId, "Savrin");
    sim::PressDialogButton(os::IDOK);
    Open();
    EXPECT_EQ(kAppOrbisk, DefaultTVAPP);
    EXPECT_EQ(kUntouched, Stored());
    EXPECT_EQ(-1, nSettingSelection);
}

TEST_F(SettingDialog, CancelAndTheCloseBoxChangeNothing) {
    Savrin.bInstalled = 1;
    Orbisk.bInstalled = 1;
    DefaultTVAPP = kAppSavrin;
    sim::PickComboEntry(kSettingComboId, 1);
    sim::PressDialogButton(os::IDCANCEL);
    Open();
    EXPECT_EQ(kAppSavrin, DefaultTVAPP);
    EXPECT_EQ(kUntouched, Stored());
    EXPECT_EQ(1u, Lines("dialog 20 closed -> 2").size());
}

TEST_F(SettingDialog, BothDialogsArePlacedByTheScreenWidth) {
    const struct {
        int width;
        const char* want;  // nullptr: left where the system put it
    } rows[] = {{800, "topmost x=280 y=250 cx=0 cy=0 flags=0x1"}, {1366, nullptr}};
    for (const auto& row : rows) {
        for (void (*show)(os::Hwnd) : {ShowSettingDialog, ShowAboutDialog}) {
            SetUp();
            sim::SetScreen(row.width, 600);
            sim::PressDialogButton(os::IDOK);
            sim::ClearEffects();
            show(main);
            const auto lines = Lines("setwindowpos ");
            if (row.want == nullptr) {
                EXPECT_TRUE(lines.empty()) << row.width;
            } else {
                ASSERT_EQ(1u, lines.size()) << row.width;
                EXPECT_NE(std::string::npos, lines[0].find(row.want)) << lines[0];
            }
        }
    }
}

}  // namespace
