// The simulated card driver, fed requests written out byte by byte: what it
// answers, what it refuses, and that it writes only where a request points.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "os/os.h"
#include "os/sim/sim.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// {9490E589-6B17-44EC-9435-5E3587F9FBCE}, id 0, flags 1, pin 6.
const Bytes kCapturePin6 = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44, 0x94, 0x35, 0x5E,
                            0x35, 0x87, 0xF9, 0xFB, 0xCE, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
                            0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
// {8FDF6765-6DB7-4C9B-860B-2E8DE72D420C}, id 1, flags 1, 2, chip 0x7134, 1, pin 6.
const Bytes kMainPin6 = {0x65, 0x67, 0xDF, 0x8F, 0xB7, 0x6D, 0x9B, 0x4C, 0x86, 0x0B, 0x2E,
                         0x8D, 0xE7, 0x2D, 0x42, 0x0C, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00,
                         0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x34, 0x71, 0x01, 0x06};
// {FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE}, id 0, flags 1, device 0x60,
// write buffer at 28, write length 0, read buffer at 36, read length 4.
const Bytes kCaptureI2C = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47, 0x9A, 0x8F, 0xA2, 0xAA,
                           0x0F, 0xA2, 0xC0, 0xEE, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                           0x60, 0x00, 0x00, 0x00, 0xAA, 0xAA, 0xAA, 0xAA, 0x00, 0x00, 0x00, 0x00,
                           0xBB, 0xBB, 0xBB, 0xBB, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
// {DCDF1D99-AEAC-445C-9C1F-DEF8DF2D8C97}, id 1, flags 1, selector 0, device 0x60.
const Bytes kMainI2C = {0x99, 0x1D, 0xDF, 0xDC, 0xAC, 0xAE, 0x5C, 0x44, 0x9C, 0x1F, 0xDE, 0xF8,
                        0xDF, 0x2D, 0x8C, 0x97, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                        0x00, 0x60, 0x00, 0x00, 0xAA, 0xAA, 0xAA, 0xAA, 0x00, 0x00, 0x00, 0x00,
                        0xBB, 0xBB, 0xBB, 0xBB, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
// {8EE0EBA8-7DA6-4AA9-BD80-87E76B8ADBC8}, id 0, flags 1, 2, candidate at 28, found byte at 32.
const Bytes kChipProbe = {0xA8, 0xEB, 0xE0, 0x8E, 0xA6, 0x7D, 0xA9, 0x4A, 0xBD, 0x80,
                          0x87, 0xE7, 0x6B, 0x8A, 0xDB, 0xC8, 0x00, 0x00, 0x00, 0x00,
                          0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0x00, 0x00, 0xCC, 0xCC, 0xCC, 0xCC, 0x00, 0x00, 0x00, 0x00};

void PutAddress(Bytes* request, std::size_t at, void* buffer) {
    const std::uint32_t a = os::BufferAddress(buffer);
    for (int i = 0; i < 4; ++i) (*request)[at + i] = static_cast<std::uint8_t>(a >> (8 * i));
}

os::HResult Ask(os::ComPtr path, Bytes request, std::uint8_t* data, std::uint32_t dataLength) {
    std::uint32_t returned = 0;
    return os::KsProperty(path, request.data(), static_cast<std::uint32_t>(request.size()), data,
                          dataLength, &returned);
}

class SimDriver : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset(1000);
        sim::DriverBoard board;
        board.readyPin = 6;
        board.chipId = 0x7134;
        sim::SetDriverBoard(board);
    }
    std::uint8_t CapturePin(Bytes request) {
        std::uint8_t level = request[24];
        EXPECT_EQ(os::S_OK, Ask(sim::DriverCapturePath(), request, &level, 1));
        return level;
    }
    // Reads the I2C block through `request` and returns the first byte.
    os::HResult I2C(os::ComPtr path, Bytes request, std::uint8_t* first) {
        std::uint8_t write = 0, read[4] = {0x55, 0x55, 0x55, 0x55};
        std::uint32_t device = 0x60;
        std::uint8_t data[8] = {};
        PutAddress(&request, 28, &write);
        PutAddress(&request, 36, read);
        if (path == sim::DriverMainPath()) {
            const std::uint32_t a = os::BufferAddress(&device);
            std::memcpy(data, &a, 4);
        }
        const os::HResult hr = Ask(path, request, data, 8);
        *first = read[0];
        return hr;
    }
};

TEST_F(SimDriver, PinsFollowTheHeldCodeOnBothDialects) {
    sim::PressKey(0x25, 200);  // 100101: pins 0, 2 and 5
    EXPECT_EQ(1, CapturePin(kCapturePin6));
    const std::uint8_t expected[6] = {1, 0, 1, 0, 0, 1};
    for (std::uint8_t pin = 0; pin < 6; ++pin) {
        Bytes r = kCapturePin6;
        r[24] = pin;
        EXPECT_EQ(expected[pin], CapturePin(r)) << "pin " << int(pin);
    }
    std::uint8_t level = 0;
    ASSERT_EQ(os::S_OK, Ask(sim::DriverMainPath(), kMainPin6, &level, 1));
    EXPECT_EQ(1, level);

    sim::Run(200);  // released
    EXPECT_EQ(0, CapturePin(kCapturePin6));
    EXPECT_EQ(9u, sim::DriverRequestCount());
}

TEST_F(SimDriver, I2CGivesTheCodeWhileHeldAndFFOtherwise) {
    std::uint8_t first = 0;
    EXPECT_EQ(os::S_OK, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
    EXPECT_EQ(0xFF, first);
    sim::PressKey(0x1E, 100);
    EXPECT_EQ(os::S_OK, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
    EXPECT_EQ(0x1E, first);
    EXPECT_EQ(os::S_OK, I2C(sim::DriverMainPath(), kMainI2C, &first));
    EXPECT_EQ(0x1E, first);

    sim::DriverBoard shifted;
    shifted.i2cShifted = true;
    sim::SetDriverBoard(shifted);
    EXPECT_EQ(os::S_OK, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
    EXPECT_EQ(0x3C, first);

    // The request log keeps the bytes as they were sent.
    const std::vector<sim::DriverRequest> log = sim::DriverRequests();
    ASSERT_EQ(4u, log.size());
    EXPECT_EQ(sim::DriverPath::Main, log[2].path);
    const Bytes sent = log[2].Property();
    EXPECT_EQ(Bytes(kMainI2C.begin(), kMainI2C.begin() + 28), Bytes(sent.begin(), sent.begin() + 28));
}

TEST_F(SimDriver, MalformedRequestsAreRefusedAndWriteNothing) {
    sim::PressKey(0x1E, 1000);
    struct Row {
        const char* what;
        os::ComPtr path;
        std::size_t at;
        std::uint8_t value;
        os::HResult expected;
    };
    const Row rows[] = {
        {"flags 2 (set)", sim::DriverCapturePath(), 20, 2, sim::kDriverBadRequest},
        {"property id 1", sim::DriverCapturePath(), 16, 1, sim::kDriverSetNotFound},
        {"one GUID byte off", sim::DriverCapturePath(), 15, 0xCF, sim::kDriverSetNotFound},
        {"read length 65", sim::DriverCapturePath(), 40, 65, sim::kDriverBadRequest},
        {"read length 0", sim::DriverCapturePath(), 40, 0, sim::kDriverBadRequest},
        {"write length 2", sim::DriverCapturePath(), 32, 2, sim::kDriverBadRequest},
        {"device 0x61 does not answer", sim::DriverCapturePath(), 24, 0x61, os::E_FAIL},
        {"capture set on the main path", sim::DriverMainPath(), 0, 0x66, sim::kDriverSetNotFound},
    };
    for (const Row& row : rows) {
        Bytes r = kCaptureI2C;
        r[row.at] = row.value;
        std::uint8_t first = 0;
        EXPECT_EQ(row.expected, I2C(row.path, r, &first)) << row.what;
        EXPECT_EQ(0x55, first) << row.what;
    }

    std::uint8_t level = 6;
    Bytes shortPin(kCapturePin6.begin(), kCapturePin6.end() - 1);
    EXPECT_EQ(sim::kDriverBadRequest, Ask(sim::DriverCapturePath(), shortPin, &level, 1));
    std::uint8_t two[2] = {6, 0};
    EXPECT_EQ(sim::kDriverBadRequest, Ask(sim::DriverCapturePath(), kCapturePin6, two, 2));
    level = 5;  // the data byte must repeat the pin number
    EXPECT_EQ(sim::kDriverBadRequest, Ask(sim::DriverCapturePath(), kCapturePin6, &level, 1));
    EXPECT_EQ(5, level);
    Bytes otherChip = kMainPin6;
    otherChip[28] = 0x64;
    level = 0;
    EXPECT_EQ(sim::kDriverBadRequest, Ask(sim::DriverMainPath(), otherChip, &level, 1));
    EXPECT_EQ(0, level);
    EXPECT_EQ(sim::kDriverNoConnection, Ask(nullptr, kCapturePin6, &level, 1));

    // An address the program never handed out is not followed.
    Bytes stray = kCaptureI2C;
    stray[36] = 0x01;
    std::uint8_t data[8] = {};
    EXPECT_EQ(sim::kDriverBadAddress, Ask(sim::DriverCapturePath(), stray, data, 8));
}

TEST_F(SimDriver, ChipProbeAnswersOnlyTheBoardsId) {
    for (std::uint16_t candidate : {0x7164, 0x7135, 0x7134}) {
        std::uint8_t found = 0, data = 0xFE;
        Bytes r = kChipProbe;
        r[28] = static_cast<std::uint8_t>(candidate);
        r[29] = static_cast<std::uint8_t>(candidate >> 8);
        PutAddress(&r, 32, &found);
        Ask(sim::DriverMainPath(), r, &data, 1);
        EXPECT_EQ(candidate == 0x7134 ? 1 : 0, found) << std::hex << candidate;
    }
    std::uint8_t found = 0, data = 0xFE;
    Bytes r = kChipProbe;
    r[28] = 0x34;
    r[29] = 0x71;
    PutAddress(&r, 32, &found);
    EXPECT_EQ(sim::kDriverSetNotFound, Ask(sim::DriverCapturePath(), r, &data, 1));
    EXPECT_EQ(0, found);
}

TEST_F(SimDriver, InjectedResultsAndSFalse) {
    sim::PressKey(0x1E, 1000);
    std::uint8_t first = 0;
    sim::FailNext(sim::Call::KsProperty, os::E_FAIL, 2);
    EXPECT_EQ(os::E_FAIL, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
    EXPECT_EQ(0x55, first);
    EXPECT_EQ(os::E_FAIL, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
    EXPECT_EQ(os::S_OK, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));

    // S_FALSE: the work is done, yet the call reports it did not succeed.
    sim::SetDriverResult(os::S_FALSE);
    first = 0;
    EXPECT_EQ(os::S_FALSE, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
    EXPECT_EQ(0x1E, first);
    sim::SetDriverResult(os::S_OK);

    sim::DriverBoard quiet;
    quiet.answersI2C = false;
    sim::SetDriverBoard(quiet);
    EXPECT_EQ(os::E_FAIL, I2C(sim::DriverCapturePath(), kCaptureI2C, &first));
}

// The "ks" lines rcsim prints (docs/scenarios.md), for each kind of request;
// a press queued ahead outlives the ended presses dropped on the way.
TEST_F(SimDriver, EffectLogNamesWhatEachRequestAsked) {
    sim::LogDriverRequests(true);
    sim::PressKeyAt(sim::Now() + 500, 0x25, 100);
    sim::PressKey(0x1E, 50);
    std::uint8_t first = 0, level = 6, found = 0, data = 0xFE;
    CapturePin(kCapturePin6);
    I2C(sim::DriverCapturePath(), kCaptureI2C, &first);
    sim::Run(100);
    sim::PressKey(0x33, 10);
    sim::Run(400);
    I2C(sim::DriverMainPath(), kMainI2C, &first);
    Bytes otherDevice = kCaptureI2C;
    otherDevice[24] = 0x61;
    I2C(sim::DriverCapturePath(), otherDevice, &first);
    Bytes probe = kChipProbe;
    probe[28] = 0x64;
    probe[29] = 0x71;
    PutAddress(&probe, 32, &found);
    Ask(sim::DriverMainPath(), probe, &data, 1);
    Bytes otherId = kCapturePin6;
    otherId[16] = 1;
    Ask(sim::DriverCapturePath(), otherId, &level, 1);
    sim::DriverBoard mute;
    mute.answersPins = false;
    sim::SetDriverBoard(mute);
    Ask(sim::DriverCapturePath(), kCapturePin6, &level, 1);
    Ask(nullptr, kCapturePin6, &level, 1);

    const std::vector<std::string> expected = {
        "ks capture pin 6 level=1 -> 0x0",
        "ks capture i2c dev=0x60 read=4 byte0=0x1E -> 0x0",
        "ks main i2c dev=0x60 read=4 byte0=0x25 -> 0x0",
        "ks capture i2c dev=0x61 read=4 -> 0x80004005",
        "ks main probe chip=0x7164 -> 0x80004005",
        "ks capture request -> 0x80070492",
        "ks capture pin 6 -> 0x80004005",
        "ks none request -> 0x80004003",
    };
    EXPECT_EQ(expected, sim::EffectTexts());
}

TEST_F(SimDriver, TokensAreStableRecycledAndGoStale) {
    std::uint8_t a = 0, b = 0;
    const std::uint32_t ta = os::BufferAddress(&a);
    EXPECT_EQ(ta, os::BufferAddress(&a));
    EXPECT_NE(ta, os::BufferAddress(&b));
    EXPECT_EQ(0u, os::BufferAddress(nullptr));

    // Many other buffers later, a's slot has been reused: the old token no
    // longer reaches anything.
    std::uint8_t many[100];
    for (auto& m : many) os::BufferAddress(&m);
    std::uint8_t found = 0, data = 0xFE;
    Bytes r = kChipProbe;
    r[28] = 0x34;
    r[29] = 0x71;
    for (int i = 0; i < 4; ++i) r[32 + i] = static_cast<std::uint8_t>(ta >> (8 * i));
    EXPECT_EQ(sim::kDriverBadAddress, Ask(sim::DriverMainPath(), r, &data, 1));
    EXPECT_EQ(0, a);
    EXPECT_EQ(0, found);
}

}  // namespace
