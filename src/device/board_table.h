// The built-in table of supported boards: one row per PCI hardware ID with
// the attributes that say how the board's remote receiver is wired.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr std::size_t kHardwareIDSize = 260;  // MAX_PATH

struct BoardRecord {
    char szHardwareID[kHardwareIDSize];  // prefix of a device's first hardware ID
    std::uint8_t nIRReadyPin;
    std::uint8_t nIRReaderType;          // 1 = six pins, 2 = I2C
    std::uint8_t nBoardVariant;
};

extern const BoardRecord BoardTable[];
extern const std::size_t nBoardTableRows;  // 72
