// The simulated shell's taskbar: no shell at all until it starts, and an
// Explorer restart that forgets every icon and announces the new taskbar.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace sim {

// Without a shell every Shell_NotifyIconA call fails. On after Reset.
void SetShellRunning(bool running);
// The shell comes up at `time`; with `announce` it broadcasts the
// registered "TaskbarCreated" to the top-level windows, as Explorer does
// when it makes the taskbar. Without, it only starts to answer (it had
// announced itself before, or was merely busy).
void StartShellAt(std::uint32_t time, bool announce = true);
// Explorer ends and starts again at `time`: its icons are forgotten, then
// "TaskbarCreated" is broadcast.
void RestartExplorerAt(std::uint32_t time);
// True while the shell shows the icon `id` of `hwnd`.
bool HasTrayIcon(os::Hwnd hwnd, std::uint32_t id);

}  // namespace sim
