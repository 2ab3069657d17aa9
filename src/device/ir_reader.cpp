#include "device/ir_reader.h"

#include <cstring>

#include "os/os.h"

namespace {

// Property sets in GUID memory order (Data1..Data3 little-endian).
const std::uint8_t kPinSetCapture[16] = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                         0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
const std::uint8_t kPinSetMain[16] = {0x65, 0x67, 0xDF, 0x8F, 0xB7, 0x6D, 0x9B, 0x4C,
                                      0x86, 0x0B, 0x2E, 0x8D, 0xE7, 0x2D, 0x42, 0x0C};
const std::uint8_t kI2CSetCapture[16] = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                         0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
const std::uint8_t kI2CSetMain[16] = {0x99, 0x1D, 0xDF, 0xDC, 0xAC, 0xAE, 0x5C, 0x44,
                                      0x9C, 0x1F, 0xDE, 0xF8, 0xDF, 0x2D, 0x8C, 0x97};

constexpr std::uint32_t KSPROPERTY_TYPE_GET = 1;
constexpr std::uint8_t kIRDeviceAddress = 0x60;

void Put32(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
    at[2] = static_cast<std::uint8_t>(v >> 16);
    at[3] = static_cast<std::uint8_t>(v >> 24);
}

void PutHeader(std::uint8_t* request, const std::uint8_t* set, std::uint32_t id) {
    std::memcpy(request, set, 16);
    Put32(request + 16, id);
    Put32(request + 20, KSPROPERTY_TYPE_GET);
}

bool PathOpen(TunerPath path) {
    os::ComPtr filter = path == TunerPath::MainDevicePath ? g_Tuner.pMainDeviceFilter
                                                           : g_Tuner.pCaptureFilter;
    return filter != nullptr && g_Tuner.pKsControl != nullptr;
}

TunerPath ConnectionPath() {
    return g_Tuner.bMainDevicePath ? TunerPath::MainDevicePath : TunerPath::CapturePath;
}

}  // namespace

bool ReadIRPin(TunerPath path, std::uint8_t pin, std::uint8_t* level) {
    if (!PathOpen(path)) return false;
    std::uint8_t request[32] = {};
    std::uint8_t data = 0;
    if (path == TunerPath::MainDevicePath) {
        PutHeader(request, kPinSetMain, 1);
        Put32(request + 24, 2);
        request[28] = static_cast<std::uint8_t>(g_Tuner.nChipID);
        request[29] = static_cast<std::uint8_t>(g_Tuner.nChipID >> 8);
        request[30] = 1;
        request[31] = pin;
    } else {
        PutHeader(request, kPinSetCapture, 0);
        request[24] = pin;
        data = pin;
    }
    std::uint32_t returned = 0;
    if (os::KsProperty(g_Tuner.pKsControl, request, sizeof request, &data, 1, &returned) != os::S_OK)
        return false;
    if (level) *level = data;
    return true;
}

bool ReadI2CBlock(TunerPath path, std::uint8_t deviceAddress, std::uint8_t writeByte,
                  bool hasWriteByte, std::uint8_t* buffer, std::uint32_t length) {
    if (!PathOpen(path) || buffer == nullptr) return false;
    std::uint8_t request[48] = {};
    std::uint8_t data[8] = {};
    std::uint8_t write = hasWriteByte ? writeByte : 0;
    std::uint32_t address = deviceAddress;  // the main dialect points at it
    if (path == TunerPath::MainDevicePath) {
        PutHeader(request, kI2CSetMain, 1);
        request[24] = g_Tuner.nDeviceSelector;
        request[25] = deviceAddress;
        Put32(data, os::BufferAddress(&address));
    } else {
        PutHeader(request, kI2CSetCapture, 0);
        request[24] = deviceAddress;
    }
    Put32(request + 28, os::BufferAddress(&write));
    Put32(request + 32, hasWriteByte ? 1 : 0);
    Put32(request + 36, os::BufferAddress(buffer));
    Put32(request + 40, length);
    std::uint32_t returned = 0;
    return os::KsProperty(g_Tuner.pKsControl, request, sizeof request, data, sizeof data,
                          &returned) == os::S_OK;
}

bool IsIRKeyPending() {
    std::uint8_t level = 1;
    ReadIRPin(ConnectionPath(), g_Board.nIRReadyPin, &level);
    return level != 0;
}

std::uint8_t ReadIRCodeFromI2C() {
    std::uint8_t buffer[4] = {};
    if (!ReadI2CBlock(ConnectionPath(), kIRDeviceAddress, 0, false, buffer, sizeof buffer))
        return 255;
    return buffer[0];
}

std::uint8_t ReadIRCodeFromPins() {
    std::uint8_t levels[6] = {};
    int succeeded = 0;
    for (std::uint8_t i = 0; i < 6; ++i)
        if (ReadIRPin(TunerPath::CapturePath, i, &levels[i])) ++succeeded;
    std::uint8_t code6 = 0;
    for (int i = 5; i >= 0; --i) code6 = static_cast<std::uint8_t>(code6 * 2 + levels[i]);

    std::uint8_t buffer[4] = {};
    if (ReadI2CBlock(TunerPath::CapturePath, kIRDeviceAddress, 0, false, buffer, sizeof buffer))
        return static_cast<std::uint8_t>(buffer[0] >> 1);
    // Nothing answered at all: no key, rather than a phantom code 0.
    if (succeeded == 0) return 255;
    return code6;
}
