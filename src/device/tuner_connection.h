// The open connection to the card's capture driver and the board's reader
// attributes: written by detection and discovery, read by the IR reader.
#pragma once
#include <cstdint>

#include "os/os.h"

enum class TunerPath { CapturePath, MainDevicePath };

struct TunerConnection {
    std::int32_t bMainDevicePath; // 1 when opened on the main-device path
    os::ComPtr pCaptureFilter;    // capture-path filter, or null
    os::ComPtr pMainDeviceFilter; // main-device filter, or null
    os::ComPtr pKsControl;        // IKsControl, null while closed
    std::uint16_t nChipID;        // starts at 0x7164
    std::uint8_t bChipFound;      // set by the driver during the chip probe
    std::uint8_t nDeviceSelector; // 0 or 1
};

struct BoardAttributes {
    std::uint8_t nIRReadyPin;
    std::uint8_t nIRReaderType;   // 1 = six pins, 2 = I2C
    std::uint8_t nBoardVariant;
};

extern TunerConnection g_Tuner;
extern BoardAttributes g_Board;
