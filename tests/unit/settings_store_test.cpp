// Settings store against the simulated registry.
#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "os/registry.h"
#include "os/sim/sim.h"
#include "os/sim/sim_registry.h"

namespace {

const std::string kKey = "Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        InitProcessRecords();
    }
    void TearDown() override { EXPECT_EQ(sim::OpenRegKeyCount(), 0u) << "a key was left open"; }

    static bool Dword(const std::string& name, std::uint32_t* v) { return sim::GetRegDword(kKey, name, v); }
    static int Writes() {
        auto texts = sim::EffectTexts();
        return static_cast<int>(std::count_if(texts.begin(), texts.end(), [](const std::string& t) {
            return t.rfind("reg set", 0) == 0 || t.rfind("reg create", 0) == 0;
        }));
    }
};

TEST_F(SettingsStore, FirstStartCreatesTwoValuesSecondStartAddsTheRest) {
    EXPECT_EQ(LoadSettings(), 1);
    std::uint32_t v = 99;
    ASSERT_TRUE(Dword("DefaultTVAPP", &v));
    EXPECT_EQ(v, 6u);
    ASSERT_TRUE(Dword("AlwaysRemoteOff", &v));
    EXPECT_EQ(v, 0u);
    EXPECT_FALSE(Dword("Default41keyIR", &v));
    EXPECT_FALSE(Dword("PDCounter", &v));

    InitProcessRecords();
    EXPECT_EQ(LoadSettings(), 1);
    ASSERT_TRUE(Dword("Default41keyIR", &v));
    EXPECT_EQ(v, 0u);
    ASSERT_TRUE(Dword("PDCounter", &v));
    EXPECT_EQ(v, 0u);
    EXPECT_EQ(DefaultTVAPP, 6);
    EXPECT_EQ(AlwaysRemoteOff, 0);
}

TEST_F(SettingsStore, StoredValuesBecomeTheInMemorySettings) {
    struct Row {
        std::uint32_t app, off, layout;
        std::int32_t wantApp, wantOff, wantLayout;
    } rows[] = {
        {9, 1, 1, 9, 1, 1},
        {2, 2, 7, 2, 0, 7},            // only 1 switches the remote off
        {4, 0xFFFFFFFF, 3, 4, 0, 3},
    };
    for (const Row& r : rows) {
        sim::Reset();
        InitProcessRecords();
        sim::SetRegDword(kKey, "DefaultTVAPP", r.app);
        sim::SetRegDword(kKey, "AlwaysRemoteOff", r.off);
        sim::SetRegDword(kKey, "Default41keyIR", r.layout);
        sim::SetRegDword(kKey, "PDCounter", 17);
        LoadSettings();
        EXPECT_EQ(DefaultTVAPP, r.wantApp);
        EXPECT_EQ(AlwaysRemoteOff, r.wantOff) << "AlwaysRemoteOff=" << r.off;
        EXPECT_EQ(nIRKEYType, r.wantLayout);
        EXPECT_EQ(PDCounter, 17);
        EXPECT_EQ(Writes(), 0) << "nothing is written when every value exists";
    }
}

TEST_F(SettingsStore, ValuesAreReadAsFourBytesWhateverTheirType) {
    // A short value is read into a zeroed buffer; a long one fails and is
    // replaced by the default while memory keeps its value.
    sim::SetRegValue(kKey, "DefaultTVAPP", os::REG_BINARY, {9});
    sim::SetRegValue(kKey, "AlwaysRemoteOff", os::REG_SZ, {'1', 0});  // 0x0031: not 1
    sim::SetRegValue(kKey, "Default41keyIR", os::REG_QWORD, {2, 0, 0, 0, 0, 0, 0, 0});
    sim::SetRegValue(kKey, "PDCounter", os::REG_SZ, {'a', 'b', 'c', 0});
    LoadSettings();
    EXPECT_EQ(DefaultTVAPP, 9);
    EXPECT_EQ(AlwaysRemoteOff, 0);
    EXPECT_EQ(nIRKEYType, 0);
    EXPECT_EQ(PDCounter, 0x00636261);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    ASSERT_TRUE(sim::GetRegValue(kKey, "Default41keyIR", &type, &data));
    EXPECT_EQ(type, os::REG_DWORD);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(SettingsStore, MissingValuesGetTheirDefaultsAndMemoryStays) {
    sim::SetRegDword(kKey, "AlwaysRemoteOff", 0);
    DefaultTVAPP = 9;  // the current target code is the default written
    LoadSettings();
    std::uint32_t v = 0;
    ASSERT_TRUE(Dword("DefaultTVAPP", &v));
    EXPECT_EQ(v, 9u);
    EXPECT_EQ(DefaultTVAPP, 9);
    EXPECT_EQ(Writes(), 3);
}

TEST_F(SettingsStore, LimitedAccountReadsStoredValuesAndWritesNothing) {
    sim::SetRegDword(kKey, "DefaultTVAPP", 5);
    sim::SetRegDword(kKey, "AlwaysRemoteOff", 1);
    sim::SetRegDword(kKey, "Default41keyIR", 2);  // PDCounter missing
    sim::SetRegAccess("Software", sim::RegAccess::ReadOnly);
    LoadSettings();
    EXPECT_EQ(DefaultTVAPP, 5);
    EXPECT_EQ(AlwaysRemoteOff, 1);
    EXPECT_EQ(nIRKEYType, 2);
    EXPECT_EQ(Writes(), 0);
    EXPECT_FALSE(Dword("PDCounter", nullptr));
    DefaultTVAPP = 8;
    EXPECT_EQ(SaveDefaultApp(), 0);
    std::uint32_t v = 0;
    ASSERT_TRUE(Dword("DefaultTVAPP", &v));
    EXPECT_EQ(v, 5u);
}

TEST_F(SettingsStore, UnreachableKeyLeavesTheStartUpDefaults) {
    struct Row {
        bool keyExists;
        sim::RegAccess access;
    } rows[] = {{false, sim::RegAccess::ReadOnly}, {true, sim::RegAccess::None}};
    for (const Row& r : rows) {
        sim::Reset();
        InitProcessRecords();
        if (r.keyExists) sim::SetRegDword(kKey, "AlwaysRemoteOff", 1);
        sim::SetRegAccess("Software", r.access);
        EXPECT_EQ(LoadSettings(), 1);
        EXPECT_EQ(DefaultTVAPP, 6);
        EXPECT_EQ(AlwaysRemoteOff, 0);
        EXPECT_EQ(nIRKEYType, 0);
        EXPECT_EQ(sim::RegKeyExists(kKey), r.keyExists);
        EXPECT_EQ(Writes(), 0);
    }
}

TEST_F(SettingsStore, SaveWritesOnlyAnExistingValue) {
    LoadSettings();
    DefaultTVAPP = 10;
    EXPECT_EQ(SaveDefaultApp(), 1);
    std::uint32_t v = 0;
    ASSERT_TRUE(Dword("DefaultTVAPP", &v));
    EXPECT_EQ(v, 10u);

    sim::DeleteRegValue(kKey, "DefaultTVAPP");
    EXPECT_EQ(SaveDefaultApp(), 0);
    EXPECT_FALSE(Dword("DefaultTVAPP", &v));

    sim::DeleteRegKey(kKey);
    EXPECT_EQ(SaveDefaultApp(), 0);
    EXPECT_FALSE(sim::RegKeyExists(kKey)) << "saving never creates the key";
}

}  // namespace
