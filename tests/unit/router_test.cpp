// The router: the active applications in their order with their power and
// shutdown keys per layout, stale flags, first detection, the shutdown keys
// and launch path with nothing active, and one message box per held key.
#include <string>
#include <vector>

#include "core/interval_timer.h"
#include "controller_world.h"
#include "device/tuner_connection.h"
#include "engine/mouse_emulation.h"
#include "core/tick_box.h"
#include "engine/route.h"

namespace {

using ctlworld::Lines;

struct AppWindow {
    AppController* pApp;
    const char* szClass;
    const char* szTitle;
};
// Windows the router's searches find, in its priority order.
const AppWindow kWindows[] = {
    {&Orbisk, "TarvelMainPanel_Class", "TVR"},
    {&OrbiskCenter, "TarvelMainPanel_Class", "Orbisk Center"},
    {&Savrin, "TDravuneMain", "Dravune"},
    {&MediaCenter, "eHome Render Window", "Windows Media Center"},
    {&TotalMedia35, "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia"},
    {&ArcSoftTV5, "_MIRACLE_20090309_1", "Arcsoft TV 5.0"},
    {&PowerCinema, "PcmFrame", "PowerCinema"},
    {&TVEnhance, "TVEnhance", "TV Enhance"},
};

std::string Debug(const std::string& text) { return "debug \"<RCMessageBox>  " + text + "\""; }

class Router : public ctlworld::World {
protected:
    void SetUp() override {
        World::SetUp();
        SetUpMouseBounds();
    }
    void Fresh() { SetUp(); }
    os::Hwnd AddApp(const AppController& app) {
        for (const AppWindow& w : kWindows)
            if (w.pApp == &app) return Add(w.szClass, w.szTitle, true, true);
        return 0;
    }
    std::string Describe(const AppController& app) {
        for (const AppWindow& w : kWindows)
            if (w.pApp == &app) return "\"" + std::string(w.szClass) + "\" \"" + w.szTitle + "\"";
        return "?";
    }
    static Lines Route(std::int32_t code) {
        return Effects([&] { RouteScanCode(code, hMainWindow); });
    }
    static Lines Having(const Lines& lines, const std::string& part) {
        Lines out;
        for (const std::string& l : lines)
            if (l.find(part) != std::string::npos) out.push_back(l);
        return out;
    }
    static bool DialogOpened(const Lines& lines) { return !Having(lines, "dialog 107").empty(); }
};

TEST_F(Router, ActiveApplicationsOwnTheirPowerAndShutdownKeysPerLayout) {
    const std::int32_t none = -2;
    const struct {
        AppController* app;
        std::int32_t layout, power, shutdown;
        Lines header;  // debug lines before the choice
        const char* shutdownLine;
    } rows[] = {
        {&Orbisk, 3, 12, none, {}, nullptr},
        {&OrbiskCenter, 0, 12, none, {}, nullptr},
        {&Savrin, 1, 12, none, {"Send Message to SAVRIN", "nIRKEYType= (1)", "41KEY"}, nullptr},
        {&Savrin, 2, 3, none, {"Send Message to SAVRIN", "nIRKEYType= (2)", "36KEY"}, nullptr},
        {&Savrin, 3, 22, none, {"Send Message to SAVRIN", "nIRKEYType= (3)", "35KEY"}, nullptr},
        {&Savrin, 7, 12, none, {"Send Message to SAVRIN", "nIRKEYType= (7)", "44KEY"}, nullptr},
        {&MediaCenter, 1, 12, none, {"Send Message to Media Center", "nIRKEYType= (1)", "IR_41KEY"},
         nullptr},
        {&MediaCenter, 2, 3, none, {"Send Message to Media Center", "nIRKEYType= (2)", "IR_36KEY"},
         nullptr},
        {&MediaCenter, 3, 22, 3852,
         {"Send Message to Media Center", "nIRKEYType= (3)", "IR_35KEY"}, "IR_35KEY_ShutDownDlg"},
        {&MediaCenter, 4, 12, 29, {"Send Message to Media Center", "nIRKEYType= (4)", "IR_44KEY"},
         "IR_44KEY_ShutDownDlg"},
        {&TotalMedia35, 1, 12, 29, {"Send Message to TotalMedia 3.5", "nIRKEYType= (1)"},
         "TTM IS ACTIVE ShutDownDlg"},
        {&TotalMedia35, 3, 22, 3852,
         {"Send Message to TotalMedia 3.5", "nIRKEYType= (3)", "IR_35KEY"},
         "TTM IS ACTIVE ShutDownDlg"},
        {&ArcSoftTV5, 2, 12, 29, {"Send Message to ArcSoft TV 5.0", "nIRKEYType= (2)"},
         "TTM_5 IS ACTIVE ShutDownDlg"},
        {&ArcSoftTV5, 3, 22, 3852,
         {"Send Message to ArcSoft TV 5.0", "nIRKEYType= (3)", "IR_35KEY"},
         "TTM_5 IS ACTIVE ShutDownDlg"},
        {&PowerCinema, 3, 12, 29, {}, "PCM IS ACTIVE ShutDownDlg"},
        {&TVEnhance, 0, 12, 29, {}, "TVE IS ACTIVE ShutDownDlg"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.app->szWindowTitle) + " layout " + std::to_string(row.layout));
        Fresh();
        nIRKEYType = row.layout;
        AddApp(*row.app);
        Lines header;
        for (const std::string& h : row.header) header.push_back(Debug(h));

        row.app->bActive = 1;
        for (std::int32_t code : {29, 3852, -1}) {
            Lines effects = Route(code);
            Lines want = header;
            if (code == row.shutdown) want.push_back(Debug(row.shutdownLine));
            EXPECT_EQ(want, Having(effects, "debug")) << code;
            EXPECT_EQ(code == row.shutdown, DialogOpened(effects)) << code;
            if (code == -1) {
                EXPECT_EQ(header.size(), effects.size());  // nothing but the lines
            }
        }
        row.app->bActive = 1;
        Lines effects = Route(row.power);
        EXPECT_EQ(header, Having(effects, "debug"));
        EXPECT_FALSE(DialogOpened(effects));
        EXPECT_EQ(0, row.app->bActive) << "the power key closes it";
    }
}

TEST_F(Router, FirstActiveFlagInOrderWinsAndAStaleFlagIsDropped) {
    // Savrin comes before Media Center in the order.
    AddApp(Savrin);
    AddApp(MediaCenter);
    Savrin.bActive = MediaCenter.bActive = 1;
    EXPECT_EQ(1u, Having(Route(40), "Send Message to SAVRIN").size());

    // Media Center was closed behind our back while TotalMedia runs: the
    // flag goes and TotalMedia, found running, gets the key.
    Fresh();
    os::Hwnd tm = AddApp(TotalMedia35);
    MediaCenter.bActive = 1;
    nIRKEYType = 0;
    Lines effects = Route(24);
    EXPECT_EQ(Lines{}, Having(effects, "Send Message to Media Center"));
    EXPECT_LT(0u, Having(effects, sim::DescribeWindow(tm)).size());
    EXPECT_EQ(0, MediaCenter.bActive);
    EXPECT_EQ(1, TotalMedia35.bActive);

    // With no TV window at all the mouse gets the key.
    sim::RemoveWindow(tm);
    effects = Route(1);
    EXPECT_EQ(1u, Having(effects, "cursor").size());
    EXPECT_EQ(0, TotalMedia35.bActive);

    // Just started and its window not there yet: the flag stays for the
    // launch watcher, and the key goes on as if it were not active.
    MediaCenter.bActive = bWatchMediaCenter = 1;
    effects = Route(1);
    EXPECT_EQ(1u, Having(effects, "cursor").size());
    EXPECT_EQ(1, MediaCenter.bActive);
}

TEST_F(Router, FirstDetectionTakesThePriorityOrderAndItsOwnMap) {
    const struct {
        std::vector<AppController*> running;
        AppController* taken;
    } rows[] = {{{&MediaCenter, &Orbisk}, &Orbisk},
                {{&TVEnhance, &OrbiskCenter, &Savrin}, &OrbiskCenter},
                {{&MediaCenter, &Savrin}, &Savrin},
                {{&ArcSoftTV5, &TotalMedia35, &PowerCinema}, &TotalMedia35},
                {{&TVEnhance, &ArcSoftTV5}, &ArcSoftTV5},
                {{&TVEnhance, &PowerCinema}, &PowerCinema},
                {{&TVEnhance}, &TVEnhance}};
    for (const auto& row : rows) {
        Fresh();
        for (AppController* app : row.running) AddApp(*app);
        Route(40);
        for (const AppWindow& w : kWindows)
            EXPECT_EQ(w.pApp == row.taken ? 1 : 0, w.pApp->bActive)
                << w.szTitle << " with " << row.taken->szWindowTitle;
    }
}

TEST_F(Router, MediaCenterFoundFirstGetsThe44KeyMapThenItsLayoutsMap) {
    os::Hwnd mc = AddApp(MediaCenter);
    nIRKEYType = 3;
    Lines first = Route(15);  // 44-key map: Ctrl+D; the 35-key map lists no 15
    EXPECT_EQ(1, MediaCenter.bActive);
    EXPECT_EQ(KeyEffects({15, 'c', "VK_CONTROL D", 0}, mc), first);
    EXPECT_EQ(Lines{}, Having(Route(15), "keybd"));
}

TEST_F(Router, NothingRunningMovesTheMouseAndIgnoresRepeats) {
    EXPECT_EQ(1u, Having(Route(1), "cursor").size());
    EXPECT_EQ(Lines{}, Route(-1));
    EXPECT_EQ(Lines{}, Route(40));  // above the mouse keys
    for (const AppWindow& w : kWindows) EXPECT_EQ(0, w.pApp->bActive);
}

TEST_F(Router, ShutdownKeysWithNothingActive) {
    const struct {
        AppController* running;  // nullptr: no TV window
        AppController* taken;
        bool dialog;
    } rows[] = {{nullptr, nullptr, true},
                {&Orbisk, &Orbisk, false},
                {&OrbiskCenter, &OrbiskCenter, false},
                {&PowerCinema, nullptr, false}};
    for (const auto& row : rows) {
        for (std::int32_t code : {29, 30, 3852}) {
            Fresh();
            if (row.running != nullptr) AddApp(*row.running);
            Lines effects = Route(code);
            EXPECT_EQ(row.dialog, DialogOpened(effects)) << code;
            Lines lines = Having(effects, "Have to make sure there is no running ap ShutDownDlg");
            EXPECT_EQ(row.dialog ? 1u : 0u, lines.size()) << code;
            for (const AppWindow& w : kWindows)
                EXPECT_EQ(w.pApp == row.taken ? 1 : 0, w.pApp->bActive) << w.szTitle << code;
            if (row.running == &PowerCinema) {
                EXPECT_EQ(Lines{}, Having(effects, "cursor"));  // codes above 10
            }
        }
    }
}

// With all eight running, every step of a sequence closes one of them: the
// order in which their windows are first addressed is the sequence.
TEST_F(Router, LaunchKeysRunTheSelectedApplicationsSequence) {
    using V = std::vector<AppController*>;
    AppController *oc = &OrbiskCenter, *o = &Orbisk, *mc = &MediaCenter, *tm = &TotalMedia35,
                  *a = &ArcSoftTV5, *pc = &PowerCinema, *tv = &TVEnhance, *s = &Savrin;
    const struct {
        std::int32_t target;
        V order;
    } rows[] = {{6, V{oc, mc, tm, a, pc, tv, o, s}},  {9, V{o, mc, tm, a, pc, tv, oc, s}},
                {4, V{oc, tm, a, o, pc, tv, mc, s}},  {5, V{oc, o, mc, pc, tv, tm, a, s}},
                {10, V{oc, o, mc, pc, tv, tm, a, s}}, {8, V{oc, tm, a, o, pc, mc, tv, s}},
                {7, V{oc, o, mc, tv, pc, tm, a, s}},  {2, V{oc, o, mc, tv, pc, tm, a, s}}};
    for (const auto& row : rows) {
        for (std::int32_t key : {3, 12, 22}) {
            Fresh();
            for (const AppWindow& w : kWindows) {
                AddApp(*w.pApp);
                w.pApp->bInstalled = 1;
            }
            DefaultTVAPP = row.target;
            Lines effects = Route(key);
            V seen;
            for (const std::string& line : effects)
                for (const AppWindow& w : kWindows) {
                    bool known = false;
                    for (AppController* app : seen) known = known || app == w.pApp;
                    if (!known && line.find(Describe(*w.pApp)) != std::string::npos)
                        seen.push_back(w.pApp);
                }
            EXPECT_EQ(row.order, seen) << "target " << row.target << " key " << key;
            EXPECT_EQ(Lines{}, Having(effects, "messagebox"));
            EXPECT_EQ(Lines{}, Having(effects, "shell"));  // the selected one was running
        }
    }
}

TEST_F(Router, LaunchPathMessagesAndUnknownTarget) {
    DefaultTVAPP = kAppMediaCenter;  // not present: asked, no message
    Lines effects = Route(12);
    EXPECT_EQ(Lines{}, Having(effects, "messagebox"));

    DefaultTVAPP = kAppPowerCinema;  // not installed: the message, then the closes all the same
    const std::string tv = sim::DescribeWindow(AddApp(TVEnhance));
    effects = Route(12);
    ASSERT_EQ(1u, Having(effects, "messagebox").size());
    EXPECT_EQ(0u, effects.front().find("messagebox \"Please re-initialize the TV application "
                                       "settings.\" \"Remote Control\" style=0x00010000"))
        << effects.front();
    EXPECT_EQ(Lines{}, Having(effects, "shell"));
    EXPECT_LT(0u, Having(effects, tv).size());

    DefaultTVAPP = 3;  // no such application
    EXPECT_EQ(Lines{}, Route(12));
}

// A held launch key: every tick inside the box's modal loop would open
// another box; they drop their key instead.
TEST_F(Router, HeldLaunchKeyOpensOneBox) {
    const struct {
        bool installed;
        std::uint32_t shellResult;
        const char* box;
    } rows[] = {{false, 42, "Please re-initialize"}, {true, 2, "Can't launch TV application"}};
    for (const auto& row : rows) {
        Fresh();
        DefaultTVAPP = kAppTVEnhance;
        if (row.installed) Install(TVEnhance, "C:\\TVE", "TVEnhance.exe");
        sim::SetShellExecuteResult(row.shellResult);
        StartKeyEngine();
        sim::PressKeyAt(100, 12, 900);
        sim::AnswerMessageBox(1, 1000);
        sim::Run(2500);
        Lines effects = sim::EffectTexts();
        EXPECT_EQ(1u, Having(effects, "messagebox").size()) << row.box;
        EXPECT_EQ(1u, Having(effects, row.box).size());
        EXPECT_EQ(row.installed ? 1u : 0u, Having(effects, "shell").size()) << row.box;
        EXPECT_LT(5u, RoutedCount()) << "the held key kept arriving";
        EXPECT_FALSE(TickMessageBoxUp());
    }
}

}  // namespace

namespace {

// A held power key starts the application once and leaves it running,
// however long the start blocks (Orbisk Center waits 2 s); a new press
// 250 ms or more after the release closes it.
TEST_F(Router, HeldPowerKeyStartsOnceAndANewPressCloses) {
    const struct {
        std::int32_t target;
        AppController* pApp;
        const char* exe;
        const char* closed;  // the line its close leaves
    } rows[] = {
        {kAppTotalMedia35, &TotalMedia35, "TotalMedia.exe", "world close"},
        {kAppOrbiskCenter, &OrbiskCenter, "Kestrin.exe", "post 4024 wParam=0x19"},
    };
    for (const auto& row : rows) {
        Fresh();
        DefaultTVAPP = row.target;
        Install(*row.pApp, "C:\\TV", row.exe);
        for (const AppWindow& w : kWindows) {
            if (w.pApp != row.pApp) continue;
            sim::WindowDesc desc;
            desc.className = w.szClass;
            desc.title = w.szTitle;
            desc.closable = true;
            sim::SetLaunchWindow(std::string("C:\\TV\\") + row.exe, desc, 300);
        }
        StartKeyEngine();
        sim::PressKeyAt(100, 12, 1500);
        sim::Run(4000);
        Lines held = sim::EffectTexts();
        EXPECT_EQ(1u, Having(held, "shell").size()) << row.exe;
        EXPECT_EQ(Lines{}, Having(held, row.closed)) << row.exe;
        EXPECT_LT(10u, RoutedCount()) << "the held key kept arriving";

        sim::PressKeyAt(sim::Now() + 100, 12, 100);
        sim::Run(3000);
        Lines again = sim::EffectTexts();
        EXPECT_EQ(1u, Having(again, "shell").size()) << row.exe;
        EXPECT_EQ(1u, Having(again, row.closed).size()) << row.exe;
    }
}

}  // namespace
