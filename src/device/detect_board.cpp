// Board detection: every present device's first hardware ID against
// BoardTable, the last match winning.
#include "device/detect_board.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "device/board_table.h"
#include "device/tuner_connection.h"
#include "os/devices.h"

namespace {

constexpr std::uint32_t kFirstBufferSize = 256;
// A hardware-ID list is a few hundred bytes; a device that keeps asking
// for more is skipped rather than followed.
constexpr std::uint32_t kMaxBufferSize = 64 * 1024;
constexpr int kMaxReads = 4;

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The buffer begins with `prefix`, letter case ignored. Never reads past
// `size` bytes of the buffer.
bool BeginsWithNoCase(const std::uint8_t* buffer, std::uint32_t size, const char* prefix) {
    std::size_t length = std::strlen(prefix);
    if (length > size) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (ToUpperAscii(static_cast<char>(buffer[i])) != ToUpperAscii(prefix[i])) return false;
    }
    return true;
}

struct IdBuffer {
    std::uint8_t* data;
    std::uint32_t size;
};

// Reads the device's hardware IDs into `buffer`, growing it when the call
// asks for more. False when the device is to be skipped.
bool ReadHardwareIDs(os::Hdevinfo set, os::SpDevinfoData* info, IdBuffer* buffer) {
    for (int read = 0; read < kMaxReads; ++read) {
        std::uint32_t required = 0;
        if (os::SetupDiGetDeviceRegistryPropertyA(set, info, os::SPDRP_HARDWAREID, nullptr,
                                                  buffer->data, buffer->size, &required)) {
            return true;
        }
        if (os::GetLastError() != os::ERROR_INSUFFICIENT_BUFFER) return false;
        if (read + 1 == kMaxReads) return false;
        if (required <= buffer->size || required > kMaxBufferSize) return false;
        // The old buffer stays in use until the new one exists.
        void* grown = os::LocalAllocZeroed(required);
        if (!grown) return false;
        os::LocalFree(buffer->data);
        buffer->data = static_cast<std::uint8_t*>(grown);
        buffer->size = required;
    }
    return false;
}

void MatchBoardTable(const IdBuffer& buffer) {
    for (std::size_t row = 0; row < nBoardTableRows; ++row) {
        const BoardRecord& record = BoardTable[row];
        if (BeginsWithNoCase(buffer.data, buffer.size, record.szHardwareID)) {
            g_Board.nIRReadyPin = record.nIRReadyPin;
            g_Board.nIRReaderType = record.nIRReaderType;
            g_Board.nBoardVariant = record.nBoardVariant;
        }
    }
}

}  // namespace

int DetectBoard() {
    os::Hdevinfo set = os::SetupDiGetClassDevsA(nullptr, nullptr, 0,
                                                os::DIGCF_PRESENT | os::DIGCF_ALLCLASSES);
    if (set == os::INVALID_HANDLE_VALUE) return 0;

    IdBuffer buffer{static_cast<std::uint8_t*>(os::LocalAllocZeroed(kFirstBufferSize)),
                    kFirstBufferSize};
    if (buffer.data) {
        os::SpDevinfoData info{};
        info.cbSize = os::kSpDevinfoDataSize;
        for (std::uint32_t index = 0; os::SetupDiEnumDeviceInfo(set, index, &info); ++index) {
            // What the last device left behind must not pass for this one's ID.
            std::memset(buffer.data, 0, buffer.size);
            if (ReadHardwareIDs(set, &info, &buffer)) MatchBoardTable(buffer);
        }
        os::LocalFree(buffer.data);
    }
    os::SetupDiDestroyDeviceInfoList(set);
    return 1;
}
