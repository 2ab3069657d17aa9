// Media Center probes against the simulated registry, version and files.
#include "config/host_probes.h"

#include <gtest/gtest.h>

#include <string>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/sim/sim.h"
#include "os/sim/sim_registry.h"

namespace {

const char kXPKey[] = "System\\WPA\\MediaCenter";
const char kVistaKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";
const char kShell[] = "C:\\windows\\ehome\\ehshell.exe";

void Version(std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
    sim::WindowsVersion v;
    v.platformId = platform;
    v.major = major;
    v.minor = minor;
    sim::SetWindowsVersion(v);
}

// Every sign of both generations present at once.
void InstallEverything() {
    sim::SetRegDword(kXPKey, "Installed", 1);
    sim::SetFileExists(kShell);
    sim::SetRegString(kVistaKey, "Ident", "5.1");
}

class HostProbes : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
        bLegacyMediaCenter = 0;
    }
    void TearDown() override { EXPECT_EQ(sim::OpenRegKeyCount(), 0u); }
};

TEST_F(HostProbes, OnlyXPAndVistaToSevenWithTheirOwnSignsCount) {
    struct Row {
        const char* what;
        std::uint32_t platform, major, minor;
        bool everything;
        int want, wantLegacy;
    } rows[] = {
        {"XP MCE", 2, 5, 1, true, 1, 1},
        {"Windows 2000", 2, 5, 0, true, 0, 0},
        {"Server 2003", 2, 5, 2, true, 0, 0},
        {"Vista", 2, 6, 0, true, 1, 0},
        {"Seven", 2, 6, 1, true, 1, 0},
        {"NT 4", 2, 4, 0, true, 0, 0},
        {"major 10", 2, 10, 0, true, 0, 0},
        {"Windows 98", 1, 6, 1, true, 0, 0},
        {"Seven, nothing installed", 2, 6, 1, false, 0, 0},
        {"XP, nothing installed", 2, 5, 1, false, 0, 0},
    };
    for (const Row& r : rows) {
        SetUp();
        Version(r.platform, r.major, r.minor);
        if (r.everything) InstallEverything();
        EXPECT_EQ(IsMediaCenterAvailable(), r.want) << r.what;
        EXPECT_EQ(MediaCenter.bInstalled, r.want) << r.what;
        EXPECT_EQ(bMediaCenterPresent, r.want) << r.what;
        EXPECT_EQ(bLegacyMediaCenter, r.wantLegacy) << r.what;
    }
}

TEST_F(HostProbes, XPNeedsTheFlagSetToOneAndTheShellFile) {
    Version(2, 5, 1);
    EXPECT_EQ(IsXPMediaCenterInstalled(), 0);
    sim::SetRegDword(kXPKey, "Installed", 0);
    EXPECT_EQ(IsXPMediaCenterInstalled(), 0);
    sim::SetRegDword(kXPKey, "Installed", 1);
    EXPECT_EQ(IsXPMediaCenterInstalled(), 1);
    EXPECT_EQ(IsMediaCenterAvailable(), 0) << "ehshell.exe missing";
    sim::SetFileExists(kShell);
    EXPECT_EQ(IsEhshellPresent(), 1);
    sim::SetRegValue(kXPKey, "Installed", 11, {1, 0, 0, 0, 0, 0, 0, 0});  // 8 bytes: unreadable
    EXPECT_EQ(IsXPMediaCenterInstalled(), 0);
}

TEST_F(HostProbes, TheShellIsLookedForUnderTheWindowsDirectory) {
    sim::SetWindowsDirectory("D:\\WINNT");
    sim::SetFileExists(kShell);
    EXPECT_EQ(IsEhshellPresent(), 0);
    sim::SetFileExists("D:\\WINNT\\ehome\\ehshell.exe");
    EXPECT_EQ(IsEhshellPresent(), 1);
}

TEST_F(HostProbes, OverlongWindowsDirectoryMeansNotPresent) {
    // 240 + "\ehome\ehshell.exe" no longer fits 256 bytes; 300 does not fit
    // the directory buffer at all.
    struct Row {
        std::size_t len;
        int want;
    } rows[] = {{100, 1}, {240, 0}, {255, 0}, {256, 0}, {300, 0}};
    for (const Row& r : rows) {
        std::string dir = "C:\\" + std::string(r.len - 3, 'w');
        sim::SetWindowsDirectory(dir);
        sim::SetFileExists(dir + "\\ehome\\ehshell.exe");
        EXPECT_EQ(IsEhshellPresent(), r.want) << r.len;
    }
}

TEST_F(HostProbes, LimitedAccountStillFindsMediaCenter) {
    InstallEverything();
    sim::SetRegAccess("", sim::RegAccess::ReadOnly);
    Version(2, 6, 1);
    EXPECT_EQ(IsMediaCenterAvailable(), 1);
    Version(2, 5, 1);
    EXPECT_EQ(IsMediaCenterAvailable(), 1);
}

TEST_F(HostProbes, IdentOfAnyTypeUpTo256Bytes) {
    Version(2, 6, 1);
    sim::SetRegValue(kVistaKey, "Ident", 3, std::vector<std::uint8_t>(256, 'x'));
    EXPECT_EQ(IsMediaCenterAvailable(), 1);
    sim::SetRegValue(kVistaKey, "Ident", 1, std::vector<std::uint8_t>(257, 'x'));
    EXPECT_EQ(IsMediaCenterAvailable(), 0);
    EXPECT_EQ(MediaCenter.bInstalled, 1) << "a later negative answer keeps the flag";
    sim::DeleteRegValue(kVistaKey, "Ident");
    EXPECT_EQ(IsMediaCenterAvailable(), 0);
}

TEST_F(HostProbes, VersionFallsBackToTheShortStructure) {
    InstallEverything();
    sim::WindowsVersion v;
    v.refusesExtended = true;
    sim::SetWindowsVersion(v);
    EXPECT_EQ(IsMediaCenterAvailable(), 1);
    v.refusesBasic = true;
    sim::SetWindowsVersion(v);
    EXPECT_EQ(IsMediaCenterAvailable(), 0);
}

TEST_F(HostProbes, LegacyFlagFollowsTheLatestGenerationFound) {
    InstallEverything();
    Version(2, 5, 1);
    EXPECT_EQ(IsMediaCenterAvailable(), 1);
    EXPECT_EQ(bLegacyMediaCenter, 1);
    Version(2, 5, 2);
    EXPECT_EQ(IsMediaCenterAvailable(), 0);
    EXPECT_EQ(bLegacyMediaCenter, 1) << "a negative answer keeps the last positive result";
    Version(2, 6, 0);
    EXPECT_EQ(IsMediaCenterAvailable(), 1);
    EXPECT_EQ(bLegacyMediaCenter, 0);
}

}  // namespace
