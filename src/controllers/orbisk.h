// Orbisk: driven by command message 4024, every command to the main
// window; one key map for every remote.
#pragma once
#include <cstdint>

#include "controllers/app_controller.h"

constexpr std::uint32_t kOrbiskMessage = 4024;

// Posts command 1 to the main window and waits 3000 ms; the window is not
// brought forward and hWnd is left alone.
void OrbiskClose(AppController& app);
