// The card's capture driver behind IKsControl::KsProperty. It reads every
// request at its literal byte offsets, refuses anything malformed, and
// writes answers only through the addresses the request carries. It shares
// no code or structure with the program's request builders on purpose.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "os/sim/sim_world.h"

namespace {

using Bytes = const std::uint8_t*;

// Property sets as they lie in memory (Data1..Data3 little-endian).
const std::uint8_t kPinCapture[16] = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                      0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
const std::uint8_t kPinMain[16] = {0x65, 0x67, 0xDF, 0x8F, 0xB7, 0x6D, 0x9B, 0x4C,
                                   0x86, 0x0B, 0x2E, 0x8D, 0xE7, 0x2D, 0x42, 0x0C};
const std::uint8_t kI2CCapture[16] = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                      0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
const std::uint8_t kI2CMain[16] = {0x99, 0x1D, 0xDF, 0xDC, 0xAC, 0xAE, 0x5C, 0x44,
                                   0x9C, 0x1F, 0xDE, 0xF8, 0xDF, 0x2D, 0x8C, 0x97};
const std::uint8_t kChipProbe[16] = {0xA8, 0xEB, 0xE0, 0x8E, 0xA6, 0x7D, 0xA9, 0x4A,
                                     0xBD, 0x80, 0x87, 0xE7, 0x6B, 0x8A, 0xDB, 0xC8};

enum class Kind { PinCapture, PinMain, I2CCapture, I2CMain, ChipProbe };

struct Property {
    const std::uint8_t* set;
    std::uint32_t id;
    sim::DriverPath path;
    std::uint32_t propertyLength;
    std::uint32_t dataLength;
    Kind kind;
};
const Property kProperties[] = {
    {kPinCapture, 0, sim::DriverPath::Capture, 32, 1, Kind::PinCapture},
    {kPinMain, 1, sim::DriverPath::Main, 32, 1, Kind::PinMain},
    {kI2CCapture, 0, sim::DriverPath::Capture, 48, 8, Kind::I2CCapture},
    {kI2CMain, 1, sim::DriverPath::Main, 48, 8, Kind::I2CMain},
    {kChipProbe, 0, sim::DriverPath::Main, 40, 1, Kind::ChipProbe},
};

struct Press {
    std::uint64_t start;
    std::uint64_t end;
    std::uint8_t code;
};

constexpr std::uint32_t kLogSize = 256;

struct Driver {
    sim::DriverBoard board;
    std::vector<Press> presses;
    os::HResult forced = os::S_OK;
    std::uint32_t count = 0;
    bool logToEffects = false;
    sim::DriverRequest log[kLogSize];
    std::uint32_t logNext = 0;
    std::uint32_t logUsed = 0;
    char what[96];  // what the last request asked, for the effect log
};
Driver g_driver;
char g_captureTag;
char g_mainTag;

std::uint32_t U32(Bytes p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t U16(Bytes p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

const Press* ActivePress() {
    const std::uint64_t now = sim::world::Elapsed();
    const Press* found = nullptr;
    for (const auto& p : g_driver.presses)
        if (p.start <= now && now < p.end && (!found || p.start >= found->start)) found = &p;
    return found;
}

// The clock never goes back: a press that has ended is never found again,
// and a long run of presses must not make every poll slower.
void ForgetEndedPresses(std::uint64_t now) {
    auto& p = g_driver.presses;
    p.erase(std::remove_if(p.begin(), p.end(), [now](const Press& x) { return x.end <= now; }), p.end());
}

std::uint8_t PinLevel(std::uint8_t pin) {
    const Press* press = ActivePress();
    if (!press) return 0;
    if (pin == g_driver.board.readyPin) return 1;
    return pin < 6 ? (press->code >> pin) & 1 : 0;
}

std::uint8_t I2CFirstByte() {
    const Press* press = ActivePress();
    if (!press) return 0xFF;
    return g_driver.board.i2cShifted ? static_cast<std::uint8_t>(press->code << 1) : press->code;
}

os::HResult ReadPin(std::uint8_t pin, std::uint8_t* data) {
    std::snprintf(g_driver.what, sizeof g_driver.what, "pin %u", pin);
    if (!g_driver.board.answersPins) return os::E_FAIL;
    *data = PinLevel(pin);
    std::snprintf(g_driver.what, sizeof g_driver.what, "pin %u level=%u", pin, *data);
    return os::S_OK;
}

// Both I2C dialects share the block at bytes 28-43.
os::HResult ReadI2C(Bytes p, std::uint8_t device) {
    const std::uint32_t writeLength = U32(p + 32);
    const std::uint32_t readLength = U32(p + 40);
    if (writeLength > 1 || readLength == 0 || readLength > 64) return sim::kDriverBadRequest;
    if (writeLength == 1 && !sim::world::ResolveAddress(U32(p + 28))) return sim::kDriverBadAddress;
    auto* read = static_cast<std::uint8_t*>(sim::world::ResolveAddress(U32(p + 36)));
    if (!read) return sim::kDriverBadAddress;
    std::snprintf(g_driver.what, sizeof g_driver.what, "i2c dev=0x%02X read=%u", device, readLength);
    // Only the IR receiver at 0x60 acknowledges on this bus.
    if (device != 0x60 || !g_driver.board.answersI2C) return os::E_FAIL;
    read[0] = I2CFirstByte();
    if (readLength > 1) std::memset(read + 1, 0, readLength - 1);
    std::snprintf(g_driver.what, sizeof g_driver.what, "i2c dev=0x%02X read=%u byte0=0x%02X", device,
                  readLength, read[0]);
    return os::S_OK;
}

os::HResult Carry(Kind kind, Bytes p, std::uint8_t* data) {
    switch (kind) {
    case Kind::PinCapture:
        // The data byte goes out holding the pin number.
        if (data[0] != p[24]) return sim::kDriverBadRequest;
        return ReadPin(p[24], data);
    case Kind::PinMain:
        if (U32(p + 24) != 2 || U16(p + 28) != g_driver.board.chipId || p[30] != 1 || data[0] != 0)
            return sim::kDriverBadRequest;
        return ReadPin(p[31], data);
    case Kind::I2CCapture:
        return ReadI2C(p, p[24]);
    case Kind::I2CMain: {
        if (p[24] > 1 || U32(data + 4) != 0) return sim::kDriverBadRequest;
        const auto* device = static_cast<const std::uint8_t*>(sim::world::ResolveAddress(U32(data)));
        if (!device) return sim::kDriverBadAddress;
        if (U32(device) != p[25]) return sim::kDriverBadRequest;
        return ReadI2C(p, p[25]);
    }
    case Kind::ChipProbe: {
        if (U32(p + 24) != 2 || data[0] != 0xFE) return sim::kDriverBadRequest;
        auto* found = static_cast<std::uint8_t*>(sim::world::ResolveAddress(U32(p + 32)));
        if (!found) return sim::kDriverBadAddress;
        const std::uint16_t candidate = U16(p + 28);
        std::snprintf(g_driver.what, sizeof g_driver.what, "probe chip=0x%04X", candidate);
        if (candidate != g_driver.board.chipId) return os::E_FAIL;
        *found = 1;
        return os::S_OK;
    }
    }
    return sim::kDriverBadRequest;
}

os::HResult Handle(sim::DriverPath path, Bytes p, std::uint32_t propertyLength,
                   std::uint8_t* data, std::uint32_t dataLength) {
    if (path == sim::DriverPath::None) return sim::kDriverNoConnection;
    std::int64_t injected = 0;
    os::HResult late = os::S_OK;  // a success code reported after doing the work
    if (sim::world::TakeFault(sim::Call::KsProperty, &injected)) {
        if (injected < 0 || injected > 0x7FFFFFFF) return static_cast<os::HResult>(injected);
        late = static_cast<os::HResult>(injected);
    }
    if (g_driver.forced < 0) return g_driver.forced;
    if (g_driver.forced != os::S_OK) late = g_driver.forced;

    if (!p || propertyLength < 24) return sim::kDriverBadRequest;
    const Property* known = nullptr;
    for (const auto& prop : kProperties)
        if (std::memcmp(p, prop.set, 16) == 0 && U32(p + 16) == prop.id && prop.path == path)
            known = &prop;
    if (!known) return sim::kDriverSetNotFound;
    if (U32(p + 20) != 1) return sim::kDriverBadRequest;  // KSPROPERTY_TYPE_GET only
    if (propertyLength != known->propertyLength || dataLength != known->dataLength || !data)
        return sim::kDriverBadRequest;
    const os::HResult hr = Carry(known->kind, p, data);
    return hr == os::S_OK ? late : hr;
}

sim::DriverRequest& NextLogEntry() {
    sim::DriverRequest& r = g_driver.log[g_driver.logNext];
    g_driver.logNext = (g_driver.logNext + 1) % kLogSize;
    if (g_driver.logUsed < kLogSize) ++g_driver.logUsed;
    return r;
}

void LogToEffects(const sim::DriverRequest& r) {
    char line[160];
    std::snprintf(line, sizeof line, "ks %s %s -> %s",
                  r.path == sim::DriverPath::Capture ? "capture"
                  : r.path == sim::DriverPath::Main  ? "main"
                                                     : "none",
                  g_driver.what[0] ? g_driver.what : "request",
                  sim::world::Hex(static_cast<std::uint32_t>(r.result), 1).c_str());
    sim::Log(line);
}

}  // namespace

namespace sim {

std::vector<std::uint8_t> DriverRequest::Property() const {
    return std::vector<std::uint8_t>(property, property + (propertyLength < 64 ? propertyLength : 64));
}
std::vector<std::uint8_t> DriverRequest::Data() const {
    return std::vector<std::uint8_t>(data, data + (dataLength < 16 ? dataLength : 16));
}

void SetDriverBoard(const DriverBoard& board) { g_driver.board = board; }
os::ComPtr DriverCapturePath() { return reinterpret_cast<os::ComPtr>(&g_captureTag); }
os::ComPtr DriverMainPath() { return reinterpret_cast<os::ComPtr>(&g_mainTag); }

void PressKey(std::uint8_t code, std::uint32_t holdMs) {
    const std::uint64_t now = world::Elapsed();
    ForgetEndedPresses(now);
    g_driver.presses.push_back(Press{now, now + holdMs, code});
}

void PressKeyAt(std::uint32_t time, std::uint8_t code, std::uint32_t holdMs) {
    const std::uint64_t start = world::ElapsedAt(time);
    ForgetEndedPresses(world::Elapsed());
    g_driver.presses.push_back(Press{start, start + holdMs, code});
}

std::uint32_t DriverRequestCount() { return g_driver.count; }
void SetDriverResult(os::HResult hr) { g_driver.forced = hr; }

std::vector<DriverRequest> DriverRequests() {
    std::vector<DriverRequest> list;
    const std::uint32_t first = (g_driver.logNext + kLogSize - g_driver.logUsed) % kLogSize;
    for (std::uint32_t i = 0; i < g_driver.logUsed; ++i)
        list.push_back(g_driver.log[(first + i) % kLogSize]);
    return list;
}

void ClearDriverRequests() {
    g_driver.logNext = 0;
    g_driver.logUsed = 0;
}

void LogDriverRequests(bool on) { g_driver.logToEffects = on; }

namespace world {
void ResetDriver() {
    g_driver.board = DriverBoard();
    g_driver.presses.clear();
    g_driver.forced = os::S_OK;
    g_driver.count = 0;
    g_driver.logToEffects = false;
    ClearDriverRequests();
}
}  // namespace world

}  // namespace sim

namespace os {

HResult KsProperty(ComPtr ksControl, void* property, std::uint32_t propertyLength, void* data,
                   std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    ++g_driver.count;
    const sim::DriverPath path = ksControl == sim::DriverCapturePath() ? sim::DriverPath::Capture
                                 : ksControl == sim::DriverMainPath()  ? sim::DriverPath::Main
                                                                       : sim::DriverPath::None;
    sim::DriverRequest& r = NextLogEntry();
    std::memset(&r.property, 0, sizeof r.property);
    std::memset(&r.data, 0, sizeof r.data);
    r.time = sim::Now();
    r.path = path;
    r.propertyLength = propertyLength;
    r.dataLength = dataLength;
    if (property) std::memcpy(r.property, property, propertyLength < 64 ? propertyLength : 64);
    if (data) std::memcpy(r.data, data, dataLength < 16 ? dataLength : 16);
    g_driver.what[0] = '\0';
    r.result = Handle(path, static_cast<Bytes>(property), propertyLength,
                      static_cast<std::uint8_t*>(data), dataLength);
    if (bytesReturned && r.result >= 0) *bytesReturned = dataLength == 1 ? 1 : 0;
    if (g_driver.logToEffects) LogToEffects(r);
    return r.result;
}

}  // namespace os
