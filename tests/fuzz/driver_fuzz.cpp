// The card's driver answering anything: device lists with any hardware IDs,
// capture devices with any friendly names, property bags and binds that
// fail, timers refused at start-up, pins and I2C that answer or not, chips
// the probe may never find, requests refused. The program discovers the
// card, polls it through presses, suspends and resumes. Between steps the
// shared invariants hold, every request the program builds is one the
// driver can decode, and after the last suspend nothing is left open.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/board_table.h"
#include "invariants.h"
#include "world.h"

namespace {

const char* const kFilterNames[] = {
    "713x BDA Analog Capture",   "7231 BDA Analog Capture", "Philips Cap713x Video Capture",
    "7160 BDA Main Device0",     "7162 BDA Main Device0",   "7231 BDA Analog Capture0",
    "Philips Silicon (7171-35) WDM Video Capture",
};
const os::HResult kFailures[] = {os::E_FAIL, os::S_FALSE, os::E_NOINTERFACE,
                                 static_cast<os::HResult>(0x8007001Fu),  // device not functioning
                                 static_cast<os::HResult>(0x80070015u)};  // device not ready

sim::DriverBoard g_board;

void Fail(const world::World& w, const char* what) {
    std::fprintf(stderr, "driver fuzz: after %s: %s\n", w.step, what);
    std::abort();
}

// A request the driver could not decode. The one exception: after a probe
// no chip answered, pins on the main-device path are asked with chip 0,
// which the driver refuses.
void CheckRequests(const world::World& w) {
    for (const sim::DriverRequest& r : sim::DriverRequests()) {
        const bool malformed = r.result == sim::kDriverBadRequest || r.result == sim::kDriverBadAddress ||
                               r.result == sim::kDriverSetNotFound ||
                               r.result == sim::kDriverNoConnection;
        const bool noChip = r.path == sim::DriverPath::Main && r.propertyLength == 32 &&
                            r.property[28] == 0 && r.property[29] == 0;
        if (malformed && !noChip) Fail(w, "the driver could not decode a request");
    }
    sim::ClearDriverRequests();
}

void Check(const world::World& w) {
    const std::string broken = invariants::Broken(w.main);
    if (!broken.empty()) Fail(w, broken.c_str());
    CheckRequests(w);
}

sim::DriverBoard AnyBoard(world::Choices& c) {
    const std::uint8_t flags = c.Byte();
    sim::DriverBoard board;
    board.readyPin = flags & 0x80 ? c.Byte() : flags % 8;
    board.answersPins = flags & 8;
    board.answersI2C = flags & 16;
    board.i2cShifted = flags & 32;
    const std::uint8_t low = c.Byte();
    board.chipId = flags & 64 ? static_cast<std::uint16_t>(low | c.Byte() << 8)
                              : static_cast<std::uint16_t>(0x7160 + low % 5);
    return board;
}

void AddDevices(world::Choices& c) {
    for (int n = c.Byte() % 4; n > 0; --n) {
        sim::DeviceDesc device;
        const std::uint8_t how = c.Byte();
        for (int ids = how % 3; ids >= 0; --ids)
            device.hardwareIds.push_back(how & 4 ? c.Bytes(c.Byte() * 2u)
                                                 : BoardTable[c.Byte() % nBoardTableRows].szHardwareID);
        if (how & 8) device.hardwareIds.clear();
        if (how & 16) device.readError = 13;  // ERROR_INVALID_DATA
        if (how & 32) {
            const std::uint32_t size = c.Byte();
            device.reportedSize = size << (c.Byte() % 24);
        }
        sim::AddDevice(device);
    }
}

void AddFilters(world::Choices& c) {
    for (int n = c.Byte() % 5; n > 0; --n) {
        const std::uint8_t how = c.Byte();
        sim::FilterDesc filter;
        filter.friendlyName = how & 1 ? c.Bytes(c.Byte() % 120) : kFilterNames[c.Byte() % 7];
        filter.nameIsString = !(how & 2);
        filter.hasName = !(how & 4);
        filter.bagOpens = !(how & 8);
        filter.binds = !(how & 16);
        filter.hasKsControl = !(how & 32);
        sim::AddFilterDevice(how & 64 ? sim::FilterCategory::MainDevice : sim::FilterCategory::Capture,
                             filter);
    }
}

// The next discovery meets a failing call.
void ArmDeviceFault(world::Choices& c) {
    const auto call = static_cast<sim::DeviceCall>(c.Byte() % 10);
    const os::HResult hr = kFailures[c.Byte() % 5];
    const int count = 1 + c.Byte() % 3;
    sim::FailDeviceCall(call, hr, count, c.Byte() % 8);
}

void Step(world::World& w) {
    world::Choices& c = w.c;
    const std::uint8_t kind = c.Byte();
    if (kind < 120) {
        const std::uint8_t code = c.Byte();
        const std::uint32_t hold = c.Byte() * 4u;
        sim::PressKey(code, hold);
        w.Note("press %u hold %u", code, hold);
    } else if (kind < 150) {
        sim::FailNext(sim::Call::KsProperty, kFailures[c.Byte() % 5], 1 + c.Byte() % 8);
        w.Note("requests refused");
    } else if (kind < 165) {
        sim::SetDriverResult(c.Byte() & 1 ? os::S_OK : kFailures[c.Byte() % 5]);
        w.Note("the driver's result changes");
    } else if (kind < 190) {
        // Pins and I2C change their answers; the chip stays what it is.
        const std::uint16_t chip = g_board.chipId;
        g_board = AnyBoard(c);
        g_board.chipId = chip;
        sim::SetDriverBoard(g_board);
        w.Note("the board answers otherwise");
    } else if (kind < 210) {
        ArmDeviceFault(c);
        w.Note("a device call will fail");
    } else if (kind < 240) {
        const std::uint32_t event = world::kPowerEvents[c.Byte() % 8];
        sim::BroadcastAt(sim::Now(), os::WM_POWERBROADCAST, event);
        w.Note("power notice %u", event);
    } else {
        sim::AnswerMessageBox(1, c.Byte() * 16u);
        w.Note("the next box stays up");
    }
    sim::Run(c.Byte() * 4u);
    sim::ClearEffects();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    world::World w;
    w.c.data = data;
    w.c.size = size;
    sim::Reset();
    g_Tuner = {0, nullptr, nullptr, nullptr, 0x7164, 0, 0};
    g_Board = {7, 2, 1};
    g_board = AnyBoard(w.c);
    sim::SetDriverBoard(g_board);
    AddDevices(w.c);
    AddFilters(w.c);
    if (w.c.Byte() & 1) ArmDeviceFault(w.c);
    // Windows may refuse the first timers (its USER objects used up).
    if (const int refused = w.c.Byte() % 4) sim::FailNext(sim::Call::SetTimer, 0, refused);
    w.main = ProgramStartUp(0x400000);
    if (w.main == 0) return 0;
    sim::Run(0);  // the message loop's first turn
    sim::ClearEffects();
    Check(w);
    for (int i = 0; i < 64 && !w.c.Exhausted(); ++i) {
        Step(w);
        Check(w);
    }
    // A suspend closes the connection: every reference goes back.
    os::SendMessageA(w.main, os::WM_POWERBROADCAST, 4, 0);
    w.Note("the last suspend");
    if (g_Tuner.pKsControl != nullptr) Fail(w, "the connection outlived the suspend");
    if (sim::LiveComObjects() != 0 || sim::BadReleases() != 0) Fail(w, "COM references lost or doubled");
    if (sim::OpenDeviceLists() != 0 || sim::LiveLocalAllocs() != 0) Fail(w, "a device list or buffer was kept");
    return 0;
}
