// Board detection against the simulated device list: which row wins, and
// how hardware-ID reads that fail or ask for more room are handled.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "device/board_table.h"
#include "device/detect_board.h"
#include "device/tuner_connection.h"
#include "os/devices.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"

namespace {

struct Attr {
    int pin, type, variant;
    bool operator==(const Attr& o) const { return pin == o.pin && type == o.type && variant == o.variant; }
};
std::ostream& operator<<(std::ostream& os, const Attr& a) {
    return os << "(" << a.pin << ", " << a.type << ", " << a.variant << ")";
}
Attr Current() { return {g_Board.nIRReadyPin, g_Board.nIRReaderType, g_Board.nBoardVariant}; }
Attr Of(const BoardRecord& r) { return {r.nIRReadyPin, r.nIRReaderType, r.nBoardVariant}; }
const Attr kDefaults = {7, 2, 1};

// The last row of the table with this ID decides, as later matches overwrite.
const BoardRecord& Row(const char* id) {
    const BoardRecord* found = nullptr;
    for (std::size_t i = 0; i < nBoardTableRows; ++i)
        if (std::string(BoardTable[i].szHardwareID) == id) found = &BoardTable[i];
    EXPECT_NE(found, nullptr) << id;
    return *found;
}
const BoardRecord& FirstRowWithLowerCase() {
    for (std::size_t i = 0; i < nBoardTableRows; ++i) {
        for (const char* p = BoardTable[i].szHardwareID + 29; *p; ++p)
            if (*p >= 'a' && *p <= 'f') return BoardTable[i];
    }
    ADD_FAILURE() << "no lower-case row";
    return BoardTable[0];
}
std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char* const k7134Pins = "PCI\\VEN_1131&DEV_7134&SUBSYS_34014A10";   // (6, 1, 1)
const char* const k7160Main = "PCI\\VEN_1131&DEV_7160&SUBSYS_60096E32";   // (8, 2, 9)
const char* const k7231 = "PCI\\VEN_1131&DEV_7231&SUBSYS_A10D4A10";       // (7, 2, 5)

class DetectBoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        g_Board = {7, 2, 1};
    }
    void TearDown() override {
        EXPECT_EQ(sim::OpenDeviceLists(), 0);
        EXPECT_EQ(sim::LiveLocalAllocs(), 0);
    }
};

TEST_F(DetectBoardTest, DefaultsStayWithoutASupportedBoard) {
    sim::AddDevice({"PCI\\VEN_8086&DEV_2922&SUBSYS_00000000", "PCI\\VEN_8086&DEV_2922"});
    sim::AddDevice({"PCI\\VEN_1131&DEV_7133"});  // shorter than any row: no match
    sim::AddDevice({"USB\\VID_046D&PID_0825", std::string(k7134Pins)});  // only the first ID counts
    EXPECT_EQ(DetectBoard(), 1);
    EXPECT_EQ(Current(), kDefaults);
}

TEST_F(DetectBoardTest, NoDeviceListLeavesDefaultsAndReportsIt) {
    sim::AddDevice({k7134Pins});
    sim::FailDeviceCall(sim::DeviceCall::SetupDiGetClassDevsA, 0);
    EXPECT_EQ(DetectBoard(), 0);
    EXPECT_EQ(Current(), kDefaults);
}

TEST_F(DetectBoardTest, PrefixMatchIgnoresLetterCaseBothWays) {
    struct Case {
        std::string deviceId;
        Attr expected;
    };
    const BoardRecord& lowerRow = FirstRowWithLowerCase();
    const std::vector<Case> cases = {
        {k7134Pins, Of(Row(k7134Pins))},
        {std::string(k7231) + "&REV_01", Of(Row(k7231))},  // revision part after the subsystem
        {Upper(lowerRow.szHardwareID) + "&REV_D1", Of(lowerRow)},
        {Lower(k7160Main), Of(Row(k7160Main))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceId);
        sim::Reset();
        g_Board = {7, 2, 1};
        sim::AddDevice({c.deviceId, "PCI\\VEN_1131&DEV_7134"});
        EXPECT_EQ(DetectBoard(), 1);
        EXPECT_EQ(Current(), c.expected);
    }
}

TEST_F(DetectBoardTest, TheCardEnumeratedLaterWins) {
    sim::AddDevice({k7231});
    sim::AddDevice({"ACPI\\PNP0A03"});
    sim::AddDevice({k7134Pins});
    sim::AddDevice({"ACPI\\PNP0C0F"});
    DetectBoard();
    EXPECT_EQ(Current(), Of(Row(k7134Pins)));
}

TEST_F(DetectBoardTest, ADeviceThatCannotBeReadIsSkipped) {
    std::vector<sim::DeviceDesc> broken(3);
    broken[0].hardwareIds = {};                     // no hardware ID: ERROR_INVALID_DATA
    broken[1].hardwareIds = {k7231};
    broken[1].readError = 5;                        // any other failure
    broken[2].hardwareIds = {k7231, std::string(400, 'X')};
    broken[2].reportedSize = 64 * 1024 + 1;         // asks for more than a list can need
    for (const sim::DeviceDesc& desc : broken) {
        sim::Reset();
        g_Board = {7, 2, 1};
        sim::AddDevice({k7160Main});
        sim::AddDevice(desc);
        EXPECT_EQ(DetectBoard(), 1);
        EXPECT_EQ(Current(), Of(Row(k7160Main))) << desc.readError;
        sim::Reset();
        g_Board = {7, 2, 1};
        sim::AddDevice(desc);
        sim::AddDevice({k7134Pins});
        DetectBoard();
        EXPECT_EQ(Current(), Of(Row(k7134Pins))) << desc.readError;
    }
}

TEST_F(DetectBoardTest, ALongHardwareIDListGrowsTheBuffer) {
    std::vector<std::string> ids = {std::string(k7231) + "&REV_01"};
    for (int i = 0; i < 12; ++i) ids.push_back("PCI\\VEN_1131&DEV_7231&CC_048000_compatible_id_" + std::to_string(i));
    sim::AddDevice(ids);
    sim::AddDevice({"ACPI\\PNP0C0F"});
    DetectBoard();
    EXPECT_EQ(Current(), Of(Row(k7231)));
    EXPECT_EQ(sim::DeviceCallCount(sim::DeviceCall::LocalAlloc), 2);
}

TEST_F(DetectBoardTest, RegrowIsBoundedAndAFailedAllocationSkipsOnlyThatDevice) {
    std::vector<std::string> longList = {k7231, std::string(600, 'C')};
    // Allocation of the larger buffer fails: the device is skipped, the
    // next one is read with the buffer still held.
    sim::AddDevice(longList);
    sim::AddDevice({k7134Pins});
    sim::FailDeviceCall(sim::DeviceCall::LocalAlloc, 0, 1, 1);
    DetectBoard();
    EXPECT_EQ(Current(), Of(Row(k7134Pins)));

    // A device that keeps asking for a little more is given up after a
    // few reads.
    sim::Reset();
    g_Board = {7, 2, 1};
    sim::DeviceDesc greedy;
    greedy.hardwareIds = {k7231, std::string(600, 'C')};
    greedy.reportedSize = 300;
    sim::AddDevice(greedy);
    DetectBoard();
    EXPECT_EQ(Current(), kDefaults);
    EXPECT_LE(sim::DeviceCallCount(sim::DeviceCall::LocalAlloc), 4);

    // No first buffer at all: nothing is read, the list was still obtained.
    sim::Reset();
    g_Board = {7, 2, 1};
    sim::AddDevice({k7134Pins});
    sim::FailDeviceCall(sim::DeviceCall::LocalAlloc, 0);
    EXPECT_EQ(DetectBoard(), 1);
    EXPECT_EQ(Current(), kDefaults);
}

}  // namespace
