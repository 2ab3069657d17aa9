// The key-map file's user applications in the router: after the eight
// built-in applications in each stage, and on the launch path.
#include <string>
#include <utility>

#include "controller_world.h"
#include "controllers/keymap_load.h"
#include "controllers/user_apps.h"
#include "engine/mouse_emulation.h"
#include "engine/route.h"

namespace {

using ctlworld::Lines;

class UserAppRouter : public ctlworld::World {
protected:
    void SetUp() override {
        World::SetUp();
        SetUpMouseBounds();
    }
    void Fresh() { SetUp(); }
    static Lines Route(std::int32_t code) {
        return Effects([&] { RouteScanCode(code, hMainWindow); });
    }
};

// Two user applications of the key-map file; both take posted messages so
// that the lines below need no foreground.
void LoadUserApps() {
    sim::SetFileContent("C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini",
                        "[app:Player]\r\nclass = PlayerWnd\r\nexe = C:\\P\\player.exe\r\n"
                        "args = /tv\r\ndelivery = messages\r\n40 = post 0x8001 5 0\r\n"
                        "[app:Radio]\r\nclass = RadioWnd\r\nexe = C:\\R\\radio.exe\r\n"
                        "delivery = messages\r\n40 = post 0x8001 6 0\r\n");
    LoadKeymapFile();
}

// The lines about the two user applications, the shell and Savrin, with the
// two windows written {P} and {R}.
Lines UserLines(const Lines& all, const std::string& player, const std::string& radio) {
    Lines out;
    for (std::string l : all) {
        if (l.find("Wnd\"") == std::string::npos && l.compare(0, 6, "shell ") != 0 &&
            l.find("Dravune") == std::string::npos)
            continue;
        for (const auto& w : {std::make_pair(player, "{P}"), std::make_pair(radio, "{R}")}) {
            const std::string& name = w.first;
            const std::size_t at = l.find(name);
            if (at != std::string::npos) l.replace(at, name.size(), w.second);
        }
        out.push_back(l);
    }
    return out;
}

TEST_F(UserAppRouter, UserApplicationsComeAfterTheEightInEachStage) {
    const std::string player = "{P}", radio = "{R}";
    const struct {
        const char* what;
        bool playerUp, radioUp, playerActive, playerWatched;
        AppController* builtin;  // running, or nullptr
        bool builtinActive;
        std::int32_t layout, code;
        bool held;
        Lines want;
        std::int32_t playerAfter, radioAfter;  // their active flags afterwards
    } rows[] = {
        {"active user app over a running built-in", true, false, true, false, &TVEnhance, false, 1,
         40, false, {"post 32769 wParam=0x05 lParam=0x0 to " + player}, 1, 0},
        {"an active built-in first", true, false, true, false, &TVEnhance, true, 1, 40, false, {},
         1, 0},
        {"stale flag dropped, the running one found", false, true, true, false, nullptr, false, 1,
         40, false, {"post 32769 wParam=0x06 lParam=0x0 to " + radio}, 0, 1},
        {"just started: the flag stays", false, false, true, true, nullptr, false, 1, 40, false, {},
         1, 0},
        {"first detection: the eight first", true, true, false, false, &TVEnhance, false, 1, 40,
         false, {}, 0, 0},
        {"first detection: the first user app", true, true, false, false, nullptr, false, 1, 40,
         false, {"post 32769 wParam=0x05 lParam=0x0 to " + player}, 1, 0},
        {"36-key power key closes it", true, false, true, false, nullptr, false, 2, 3, false,
         {"post WM_CLOSE wParam=0x00 lParam=0x0 to " + player, "world close " + player}, 0, 0},
        {"held power key does nothing", true, false, true, false, nullptr, false, 2, 3, true, {}, 1,
         0},
        {"3 is no power key on the 41-key remote", true, false, true, false, nullptr, false, 1, 3,
         false, {}, 1, 0},
    };
    for (const auto& row : rows) {
        Fresh();
        LoadUserApps();
        const os::Hwnd p = Add("PlayerWnd", "P", true, true);
        const os::Hwnd r = Add("RadioWnd", "R", true, true);
        const std::string pName = sim::DescribeWindow(p), rName = sim::DescribeWindow(r);
        if (!row.playerUp) sim::RemoveWindow(p);
        if (!row.radioUp) sim::RemoveWindow(r);
        if (row.builtin != nullptr) {
            Add("TVEnhance", "TV Enhance", true, true);
            row.builtin->bActive = row.builtinActive ? 1 : 0;
        }
        UserApps[0].bActive = row.playerActive ? 1 : 0;
        UserApps[0].bWatch = row.playerWatched ? 1 : 0;
        nIRKEYType = row.layout;
        EXPECT_EQ(row.want, UserLines(Effects([&] {
                      RouteScanCode(row.code, hMainWindow, row.held);
                  }), pName, rName))
            << row.what;
        EXPECT_EQ(row.playerAfter, UserApps[0].bActive) << row.what;
        EXPECT_EQ(row.radioAfter, UserApps[1].bActive) << row.what;
    }
}

TEST_F(UserAppRouter, LaunchPathStartsOrClosesTheSelectedUserApp) {
    const std::string player = "{P}", radio = "{R}";
    const struct {
        const char* what;
        std::int32_t target;
        bool playerUp, radioUp, savrinUp;
        Lines want;
    } rows[] = {
        {"started with its args", 100, false, false, false,
         {"shell \"open\" \"C:\\P\\player.exe\" \"/tv\" show=5 -> 42"}},
        {"the others closed, then it closes", 100, true, true, true,
         {"post 3000 wParam=0x19 lParam=0x0 to 0x10008 \"TDravuneMain\" \"Dravune\"",
          "post WM_CLOSE wParam=0x00 lParam=0x0 to " + radio, "world close " + radio,
          "post WM_CLOSE wParam=0x00 lParam=0x0 to " + player, "world close " + player}},
        {"no args", 101, false, false, false,
         {"shell \"open\" \"C:\\R\\radio.exe\" (null) show=5 -> 42"}},
        {"no longer in the file", 102, true, true, false, {}},
        {"a built-in target closes them too", kAppSavrin, false, true, false,
         {"post WM_CLOSE wParam=0x00 lParam=0x0 to " + radio, "world close " + radio}},
    };
    for (const auto& row : rows) {
        Fresh();
        LoadUserApps();
        sim::SetShellExecuteResult(42);
        const os::Hwnd p = Add("PlayerWnd", "P", true, true);
        const os::Hwnd r = Add("RadioWnd", "R", true, true);
        const std::string pName = sim::DescribeWindow(p), rName = sim::DescribeWindow(r);
        if (!row.playerUp) sim::RemoveWindow(p);
        if (!row.radioUp) sim::RemoveWindow(r);
        if (row.savrinUp) Add("TDravuneMain", "Dravune", true, true);
        DefaultTVAPP = row.target;
        EXPECT_EQ(row.want, UserLines(Route(12), pName, rName)) << row.what;
        EXPECT_EQ(row.target == 100 && !row.playerUp ? 1 : 0, UserApps[0].bActive) << row.what;
    }
}

}  // namespace
