// Orbisk Center: driven by command message 4024, some commands going to
// whichever of its forms is showing; one key map for every remote.
#pragma once
#include <cstdint>

#include "controllers/app_controller.h"

constexpr std::uint32_t kOrbiskCenterMessage = 4024;

// Posts command 25 to the main window and waits 2000 ms; the window is not
// brought forward and hWnd is left alone.
void OrbiskCenterClose(AppController& app);
