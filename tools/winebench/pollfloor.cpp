// pollfloor.exe: the least a remote poller can do, as the benchmark's
// floor. It opens the card the way the program does and asks the one
// driver question of an idle tick (is a key waiting?) every 65 ms, with
// nothing else: no window, no tray icon, no routing.
#include "device/detect_board.h"
#include "device/ir_reader.h"
#include "device/tuner_device.h"
#include "os/os.h"

namespace {

void Tick(os::Hwnd, std::uint32_t, std::uint32_t, std::uint32_t) { IsIRKeyPending(); }

}  // namespace

int main() {
    DetectBoard();
    if (OpenTunerDevice() == 0) return 1;
    if (os::SetTimer(0, 0, 65, Tick) == 0) return 2;
    os::Msg msg = {};
    while (os::GetMessageA(&msg) > 0) os::DispatchMessageA(&msg);
    return 0;
}
