// Savrin: driven by command message 3000, some commands going to whichever
// of its forms is showing; one key map per remote layout.
#pragma once
#include <cstdint>

#include "controllers/app_controller.h"

constexpr std::uint32_t kSavrinMessage = 3000;

// Posts command 25 to the "Dravune" window; no bring-forward, no wait, and
// hWnd is left alone.
void SavrinClose(AppController& app);
