// Hardware-ID lists of any bytes into board detection: one device per line,
// its IDs separated by NULs. Afterwards the board attributes are either
// untouched or exactly one row of the board table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/board_table.h"
#include "device/detect_board.h"
#include "device/tuner_connection.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

constexpr BoardAttributes kUntouched = {0xEE, 0xEE, 0xEE};

bool IsTableRow(const BoardAttributes& b) {
    for (std::size_t i = 0; i < nBoardTableRows; ++i) {
        const BoardRecord& r = BoardTable[i];
        if (r.nIRReadyPin == b.nIRReadyPin && r.nIRReaderType == b.nIRReaderType &&
            r.nBoardVariant == b.nBoardVariant)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Reset();
    std::vector<std::string> ids(1);
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            sim::AddDevice(ids);
            ids.assign(1, std::string());
        } else if (c == '\0') {
            ids.emplace_back();
        } else {
            ids.back() += c;
        }
    }
    sim::AddDevice(ids);
    g_Board = kUntouched;
    const int listed = DetectBoard();
    Check(listed == 0 || listed == 1);
    const bool untouched = g_Board.nIRReadyPin == 0xEE && g_Board.nIRReaderType == 0xEE &&
                           g_Board.nBoardVariant == 0xEE;
    Check(untouched || IsTableRow(g_Board));
    return 0;
}
