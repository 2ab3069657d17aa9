// The IR code reader against the simulated card driver.
#include <gtest/gtest.h>

#include <vector>

#include "app/program.h"
#include "controllers/controller_table.h"
#include "device/ir_reader.h"
#include "os/sim/sim.h"

namespace {

class IrReader : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset(1000);
        InitProcessRecords();
        sim::DriverBoard board;
        board.readyPin = 6;
        board.chipId = 0x7134;
        SetBoard(board);
        OpenCapture();
        g_Board = BoardAttributes{6, 2, 1};
    }
    void SetBoard(const sim::DriverBoard& board) { sim::SetDriverBoard(board); }
    void OpenCapture() {
        g_Tuner = TunerConnection{0, sim::DriverCapturePath(), nullptr, sim::DriverCapturePath(),
                                  0x7134, 0, 0};
    }
    void OpenMain(std::uint8_t selector) {
        g_Tuner = TunerConnection{1, nullptr, sim::DriverMainPath(), sim::DriverMainPath(),
                                  0x7134, 0, selector};
    }
    static sim::DriverBoard NoI2C() {
        sim::DriverBoard board;
        board.readyPin = 6;
        board.chipId = 0x7134;
        board.answersI2C = false;
        return board;
    }
};

// Bytes of a request; -1 marks a buffer address (any nonzero 32-bit value).
using Layout = std::vector<int>;
constexpr int A = -1;

Layout Header(std::vector<int> guid, int id) {
    Layout bytes = guid;
    bytes.insert(bytes.end(), {id, 0, 0, 0, 1, 0, 0, 0});
    return bytes;
}

void ExpectLayout(const Layout& expected, const std::vector<std::uint8_t>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != A) {
            EXPECT_EQ(expected[i], actual[i]) << "byte " << i;
        } else if (i % 4 == 0) {
            std::uint32_t v = actual[i] | actual[i + 1] << 8 | actual[i + 2] << 16 |
                              static_cast<std::uint32_t>(actual[i + 3]) << 24;
            EXPECT_NE(0u, v) << "address at byte " << i;
        }
    }
}

const std::vector<int> kPinCapture = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                      0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
const std::vector<int> kPinMain = {0x65, 0x67, 0xDF, 0x8F, 0xB7, 0x6D, 0x9B, 0x4C,
                                   0x86, 0x0B, 0x2E, 0x8D, 0xE7, 0x2D, 0x42, 0x0C};
const std::vector<int> kI2CCapture = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                      0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
const std::vector<int> kI2CMain = {0x99, 0x1D, 0xDF, 0xDC, 0xAC, 0xAE, 0x5C, 0x44,
                                   0x9C, 0x1F, 0xDE, 0xF8, 0xDF, 0x2D, 0x8C, 0x97};

Layout Concat(Layout a, const Layout& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(IrReader, RequestsCarryTheDocumentedBytes) {
    sim::PressKey(0x1E, 1000);
    std::uint8_t level = 9;
    std::uint8_t buffer[4] = {};

    ASSERT_TRUE(ReadIRPin(TunerPath::CapturePath, 6, &level));
    sim::DriverRequest r = sim::DriverRequests().back();
    ExpectLayout(Concat(Header(kPinCapture, 0), {6, 0, 0, 0, 0, 0, 0, 0}), r.Property());
    EXPECT_EQ(1u, level);

    ASSERT_TRUE(ReadI2CBlock(TunerPath::CapturePath, 0x60, 0, false, buffer, 4));
    r = sim::DriverRequests().back();
    ExpectLayout(Concat(Header(kI2CCapture, 0), {0x60, 0, 0, 0, A, A, A, A, 0, 0, 0, 0,
                                                 A, A, A, A, 4, 0, 0, 0, 0, 0, 0, 0}),
                 r.Property());
    EXPECT_EQ(8u, r.dataLength);
    EXPECT_EQ(0x1E, buffer[0]);

    OpenMain(1);
    ASSERT_TRUE(ReadIRPin(TunerPath::MainDevicePath, 6, &level));
    r = sim::DriverRequests().back();
    ExpectLayout(Concat(Header(kPinMain, 1), {2, 0, 0, 0, 0x34, 0x71, 1, 6}), r.Property());
    ExpectLayout({0}, r.Data());

    buffer[0] = 0;
    ASSERT_TRUE(ReadI2CBlock(TunerPath::MainDevicePath, 0x60, 0, false, buffer, 4));
    r = sim::DriverRequests().back();
    ExpectLayout(Concat(Header(kI2CMain, 1), {1, 0x60, 0, 0, A, A, A, A, 0, 0, 0, 0,
                                              A, A, A, A, 4, 0, 0, 0, 0, 0, 0, 0}),
                 r.Property());
    ExpectLayout({A, A, A, A, 0, 0, 0, 0}, r.Data());
    EXPECT_EQ(0x1E, buffer[0]);
}

TEST_F(IrReader, PendingCheckFollowsTheReadyPinAndCountsFailuresAsPending) {
    EXPECT_FALSE(IsIRKeyPending());
    sim::PressKey(3, 200);
    EXPECT_TRUE(IsIRKeyPending());
    sim::Run(300);
    EXPECT_FALSE(IsIRKeyPending());

    sim::SetDriverResult(os::S_FALSE);
    EXPECT_TRUE(IsIRKeyPending());
    sim::SetDriverResult(os::S_OK);

    g_Tuner.pKsControl = nullptr;  // closed between suspend and re-open
    std::uint32_t before = sim::DriverRequestCount();
    EXPECT_TRUE(IsIRKeyPending());
    EXPECT_EQ(0xFF, ReadIRCodeFromI2C());
    EXPECT_EQ(before, sim::DriverRequestCount());
}

TEST_F(IrReader, I2CDecoderGivesTheFirstByteOr255) {
    sim::PressKey(0x1E, 1000);
    EXPECT_EQ(0x1E, ReadIRCodeFromI2C());
    sim::Run(2000);
    EXPECT_EQ(0xFF, ReadIRCodeFromI2C());  // the driver's 0xFF: no key
    sim::PressKey(0x1E, 1000);
    sim::FailNext(sim::Call::KsProperty, os::E_FAIL);
    EXPECT_EQ(0xFF, ReadIRCodeFromI2C());
    OpenMain(0);
    EXPECT_EQ(0x1E, ReadIRCodeFromI2C());
}

TEST_F(IrReader, PinDecoderCombinesSixPinsUnlessI2CAnswers) {
    SetBoard(NoI2C());
    sim::PressKey(5, 1000);  // pins 0 and 2
    EXPECT_EQ(5, ReadIRCodeFromPins());
    sim::Run(2000);
    sim::PressKey(0x2D, 1000);
    EXPECT_EQ(0x2D, ReadIRCodeFromPins());
    std::vector<sim::DriverRequest> log = sim::DriverRequests();
    ASSERT_GE(log.size(), 7u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(i, log[log.size() - 7 + i].property[24]) << "pins read in order";

    sim::DriverBoard board;
    board.readyPin = 6;
    board.chipId = 0x7134;
    SetBoard(board);
    sim::Run(2000);
    sim::PressKey(0x2A, 1000);  // pins alone would give 42
    EXPECT_EQ(21, ReadIRCodeFromPins());
}

TEST_F(IrReader, PinDecoderReportsNoKeyOnlyWhenNothingAnswered) {
    SetBoard(NoI2C());
    sim::PressKey(7, 1000);
    sim::FailNext(sim::Call::KsProperty, os::E_FAIL);  // pin 0 only
    EXPECT_EQ(6, ReadIRCodeFromPins());

    sim::SetDriverResult(os::E_FAIL);
    EXPECT_EQ(0xFF, ReadIRCodeFromPins());
    sim::SetDriverResult(os::S_FALSE);
    EXPECT_EQ(0xFF, ReadIRCodeFromPins());
    sim::SetDriverResult(os::S_OK);

    OpenMain(0);  // the pin decoder speaks only the capture dialect
    std::uint32_t before = sim::DriverRequestCount();
    EXPECT_EQ(0xFF, ReadIRCodeFromPins());
    EXPECT_EQ(before, sim::DriverRequestCount());
}

}  // namespace
