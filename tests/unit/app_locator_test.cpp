// Application locator against the simulated registry.
#include "config/app_locator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/registry.h"
#include "os/sim/sim.h"
#include "os/sim/sim_registry.h"

namespace {

const char kMirrow[] = "Software\\Tarvel Multimedia\\Mirrow\\Vorn";
const char kQuessa[] = "Software\\Tarvel Multimedia\\Quessa\\Vorn";
const char kZinder[] = "Software\\Tarvel Multimedia\\Zinder\\Vorn";
const char kArcSoft[] = "SOFTWARE\\ArcSoft\\ArcSoft TV\\5.0";

class AppLocator : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
    }
    void TearDown() override { EXPECT_EQ(sim::OpenRegKeyCount(), 0u); }
};

TEST_F(AppLocator, CardFamilyFallsBackToTheSharedKeyOnly) {
    sim::SetRegString(kZinder, "AppPath", "C:\\Tarvel\\Shared");
    LocateApplications();
    EXPECT_EQ(Orbisk.bInstalled, 1);
    EXPECT_STREQ(Orbisk.szExeName, "Brisel.exe");
    EXPECT_STREQ(Orbisk.szInstallDir, "C:\\Tarvel\\Shared");
    EXPECT_EQ(OrbiskCenter.bInstalled, 1);
    EXPECT_STREQ(OrbiskCenter.szExeName, "Kestrin.exe");
    EXPECT_EQ(Savrin.bInstalled, 0) << "Savrin has no fallback";

    SetUp();
    sim::SetRegString(kMirrow, "AppPath", "C:\\Orbisk");
    LocateApplications();
    EXPECT_EQ(Orbisk.bInstalled, 1);
    EXPECT_EQ(OrbiskCenter.bInstalled, 0) << "Mirrow is not Orbisk Center's fallback";
    EXPECT_STREQ(OrbiskCenter.szExeName, "");

    SetUp();
    sim::SetRegString(kQuessa, "AppPath", "C:\\Center");
    sim::SetRegString(kZinder, "AppPath", "C:\\Shared");
    LocateApplications();
    EXPECT_STREQ(OrbiskCenter.szInstallDir, "C:\\Center") << "the primary key wins";
}

TEST_F(AppLocator, IdentityTextsAreSetWhateverTheLookupFound) {
    LocateApplications();
    for (const LocatorRow& row : LocatorRows) {
        EXPECT_EQ(row.pApp->bInstalled, 0) << row.szExeName;
        EXPECT_STREQ(row.pApp->szExeName, "");
        EXPECT_STREQ(row.pApp->szClassName, row.szClassName);
        EXPECT_STREQ(row.pApp->szWindowTitle, row.szWindowTitle);
    }
    EXPECT_STREQ(ArcSoftTV5.szClassName, "_MIRACLE_20090309_1");
    EXPECT_STREQ(ArcSoftTV5.szWindowTitle, "Arcsoft TV 5.0");
    EXPECT_STREQ(Savrin.szClassName, "");
}

TEST_F(AppLocator, MediaCenterIsFoundByItsShellCommand) {
    const char* key = "SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command";
    sim::SetRegString(key, "", "C:\\Windows\\ehome\\ehshell.exe \"%1\"");
    sim::WindowsVersion xp;
    xp.major = 5;
    sim::SetWindowsVersion(xp);
    LocateApplications();
    EXPECT_EQ(MediaCenter.bInstalled, 1);
    EXPECT_STREQ(MediaCenter.szInstallDir, "C:\\Windows\\ehome\\ehshell.exe \"%1\"");
    EXPECT_STREQ(MediaCenter.szExeName, "");
}

TEST_F(AppLocator, ValuesThatDoNotFitTheFieldMeanNotInstalled) {
    struct Row {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        int want;
    };
    auto text = [](std::size_t n, bool nul) {
        std::vector<std::uint8_t> v(n, 'd');
        if (nul) v.push_back(0);
        return v;
    };
    const Row rows[] = {
        {os::REG_SZ, text(127, true), 1},
        {os::REG_SZ, text(127, false), 1},
        {os::REG_SZ, text(128, true), 0},
        {os::REG_SZ, text(128, false), 0},   // fits the bytes, leaves no room for the end
        {os::REG_BINARY, text(128, false), 0},
        {os::REG_EXPAND_SZ, text(4000, true), 0},
        {os::REG_DWORD, {0x41, 0, 0, 0}, 1},
    };
    for (const Row& r : rows) {
        SetUp();
        sim::SetRegValue(kArcSoft, "AppPath", r.type, r.data);
        EXPECT_EQ(ReadInstallLocation(ArcSoftTV5, kArcSoft, "AppPath", "TotalMediaTV5.exe"), r.want)
            << "type " << r.type << ", " << r.data.size() << " bytes";
        EXPECT_EQ(ArcSoftTV5.bInstalled, r.want);
        EXPECT_LT(std::strlen(ArcSoftTV5.szInstallDir), sizeof ArcSoftTV5.szInstallDir);
        EXPECT_STREQ(ArcSoftTV5.szExeName, r.want ? "TotalMediaTV5.exe" : "");
    }
}

TEST_F(AppLocator, FoundApplicationIsNotActive) {
    sim::SetRegString("SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "C:\\PC");
    PowerCinema.bActive = 1;
    EXPECT_EQ(ReadInstallLocation(PowerCinema, "SOFTWARE\\CyberLink\\PowerCinema", "InstallPath",
                                  "PowerCinema.exe"),
              1);
    EXPECT_EQ(PowerCinema.bActive, 0);
    PowerCinema.bInstalled = 1;
    EXPECT_EQ(ReadInstallLocation(PowerCinema, "SOFTWARE\\CyberLink\\Nothing", "InstallPath",
                                  "PowerCinema.exe"),
              0);
    EXPECT_EQ(PowerCinema.bInstalled, 0);
}

}  // namespace
