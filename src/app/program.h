// The program's start: shared records, the hidden main window, the key
// timer, and the message loop.
#pragma once
#include "os/os.h"

constexpr std::uint32_t kKeyTimerId = 1;
constexpr std::uint32_t kKeyTimerMs = 65;

// Initialises the records, creates the hidden main window and starts the
// key timer. Returns the main window, or 0 when it could not be created.
os::Hwnd ProgramStartUp(os::Hinstance instance);
// ProgramStartUp and the message loop; returns the exit code.
int RunRemoteControl(os::Hinstance instance);
