// The built-in table of supported boards: one row per PCI hardware ID with
// the attributes that say how the board's remote receiver is wired.
#pragma once
#include <cstddef>
#include <cstdint>

// The IDs are pointers, not MAX_PATH arrays: 72 rows of 260 bytes would be
// most of the exe's size.
struct BoardRecord {
    const char* szHardwareID;            // prefix of a device's first hardware ID
    std::uint8_t nIRReadyPin;
    std::uint8_t nIRReaderType;          // 1 = six pins, 2 = I2C
    std::uint8_t nBoardVariant;
};

extern const BoardRecord BoardTable[];
extern const std::size_t nBoardTableRows;  // 72
