// Switching from the menu: the eight sequences run their closes and the one
// activation in order, and the entries' window tests.
#include "controllers/switching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/sim/sim.h"
#include "os/sim/sim_registry.h"

namespace {

struct Running {
    AppController* app;
    std::vector<os::Hwnd> windows;
    std::vector<std::string> names;  // as the log writes them, kept past a close
};

class Switching : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        hMainWindow = sim::AddWindow({"Remote Control", "Remote Control", false, ""});
    }
    // Every application installed, with the window its searches look for.
    std::vector<Running> RunAll() {
        std::vector<Running> all;
        for (const WindowIdentity& id : WindowIdentities) {
            id.pApp->bInstalled = 1;
            Running r{id.pApp, {}, {}};
            // Media Center's own search wants its title as well as its class.
            const char* title = id.szTitle ? id.szTitle : "Windows Media Center";
            r.windows.push_back(
                sim::AddWindow({id.szClass ? id.szClass : "StandIn", title, true, "", false, true}));
            // The activation walks the titles for the record's own title.
            if (std::string(title) != id.pApp->szWindowTitle)
                r.windows.push_back(
                    sim::AddWindow({"StandIn", id.pApp->szWindowTitle, true, "", false, true}));
            for (os::Hwnd h : r.windows) r.names.push_back(sim::DescribeWindow(h));
            all.push_back(r);
        }
        return all;
    }
    // The first effect that names one of the application's windows.
    static int FirstMention(const Running& r) {
        const auto texts = sim::EffectTexts();
        for (std::size_t i = 0; i < texts.size(); ++i)
            for (const std::string& name : r.names)
                if (texts[i].find(name) != std::string::npos)
                    return static_cast<int>(i);
        return -1;
    }
};

TEST_F(Switching, EachSequenceReachesTheApplicationsInItsOrder) {
    // Written out from the menu's chart: the TargetAppCode of each
    // application in the order it is reached, the chosen one marked *.
    const struct {
        std::uint32_t command;
        std::vector<std::string> order;
    } rows[] = {
        {1101, {"9", "4", "5", "10", "8", "7", "*6", "2"}},
        {1102, {"6", "4", "5", "10", "8", "7", "*9", "2"}},
        {1103, {"9", "6", "4", "8", "7", "*5", "10", "2"}},
        {1104, {"9", "5", "10", "6", "8", "7", "*4", "2"}},
        {1105, {"9", "6", "4", "*8", "5", "10", "7", "2"}},
        {1106, {"9", "5", "10", "6", "*7", "8", "4", "2"}},
        {1107, {"9", "6", "4", "7", "8", "5", "10", "*2"}},
        {1108, {"9", "6", "4", "8", "7", "5", "2", "*10"}},
    };
    for (const auto& row : rows) {
        SetUp();
        const std::vector<Running> all = RunAll();
        const SwitchRow* sw = SwitchRowOfCommand(row.command);
        ASSERT_NE(nullptr, sw);
        DefaultTVAPP = sw->nTargetAppCode;
        sim::ClearEffects();
        RunSwitch(*sw);
        // Applications sorted by their first appearance in the log.
        std::vector<std::pair<int, std::string>> seen;
        for (const Running& r : all) {
            const std::int32_t code = IdentityOf(*r.app)->nTargetAppCode;
            seen.push_back({FirstMention(r), (r.app == sw->pApp ? "*" : "") + std::to_string(code)});
        }
        std::sort(seen.begin(), seen.end());
        std::vector<std::string> order;
        for (const auto& [at, name] : seen) {
            EXPECT_GE(at, 0) << row.command << ": " << name << " never reached";
            order.push_back(name);
        }
        EXPECT_EQ(row.order, order) << row.command;
        // The chosen application was brought forward, not closed.
        for (const Running& r : all) {
            if (r.app != sw->pApp) continue;
            for (os::Hwnd h : r.windows)
                EXPECT_EQ(std::string::npos, sim::DescribeWindow(h).find("no window"))
                    << row.command;
        }
    }
}

TEST_F(Switching, WithNothingElseRunningOnlyTheChosenOneIsActivated) {
    Savrin.bInstalled = 1;
    const os::Hwnd savrin = sim::AddWindow({"StandIn", "Dravune", true, ""});
    sim::ClearEffects();
    RunSwitch(*SwitchRowOfCommand(1107));
    EXPECT_EQ((std::vector<std::string>{"foreground " + sim::DescribeWindow(savrin),
                                        "active " + sim::DescribeWindow(savrin) + " failed"}),
              sim::EffectTexts());
}

TEST_F(Switching, MediaCenterFoundByTheProbeIsOfferedAndStarted) {
    sim::SetRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident", "5.1");
    DefaultTVAPP = kAppMediaCenter;  // the entry is always the current choice
    const SwitchRow& row = *SwitchRowOfCode(kAppMediaCenter);
    EXPECT_TRUE(IsSwitchEntryAvailable(row));  // the install lookup found nothing
    sim::ClearEffects();
    RunSwitch(row);
    bool started = false;
    for (const std::string& t : sim::EffectTexts())
        if (t.rfind("shell ", 0) == 0 && t.find("ehshell.exe") != std::string::npos) started = true;
    EXPECT_TRUE(started);
}

TEST_F(Switching, EntriesOfferedWhenInstalledAndCheckedByTheirOwnWindow) {
    for (const SwitchRow& row : SwitchRows) {
        SetUp();
        EXPECT_FALSE(IsSwitchEntryAvailable(row)) << row.nMenuCommand;
        EXPECT_FALSE(SwitchWindowExists(row)) << row.nMenuCommand;
        if (row.nTargetAppCode != kAppMediaCenter) {
            row.pApp->bInstalled = 1;
            EXPECT_TRUE(IsSwitchEntryAvailable(row)) << row.nMenuCommand;
        }
        // Every other application's window leaves the mark off.
        for (const WindowIdentity& id : WindowIdentities) {
            if (id.pApp == row.pApp) continue;
            sim::AddWindow({id.szClass ? id.szClass : "Other", id.szTitle ? id.szTitle : "Other", true, ""});
        }
        EXPECT_FALSE(SwitchWindowExists(row)) << row.nMenuCommand;
        const WindowIdentity& own = *IdentityOf(*row.pApp);
        sim::AddWindow({own.szClass ? own.szClass : "AnyClass", own.szTitle ? own.szTitle : "Any title",
                        true, ""});
        EXPECT_TRUE(SwitchWindowExists(row)) << row.nMenuCommand;
    }
    EXPECT_EQ(nullptr, SwitchRowOfCommand(1109));
    EXPECT_EQ(nullptr, SwitchRowOfCode(3));
}

}  // namespace
