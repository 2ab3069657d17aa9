// The operations shared by all controllers; the record they drive
// through lives in core/app_record.h.
#pragma once
#include <cstdint>

#include "core/app_record.h"
#include "os/os.h"

// ---- operations shared by all controllers (the record is the first argument)

// The controller's own window search (its slot in controller_table.h).
os::Hwnd FindMainWindow(AppController& app);
// Every walk over the top-level windows stops after this many: a list that
// keeps changing while it is walked never ends otherwise.
constexpr int kTitleWalkLimit = 100000;
// Walks the top-level windows for one whose whole title equals
// szWindowTitle, byte for byte.
os::Hwnd FindWindowByTitle(AppController& app);
// Starts the application unless its window exists; returns the window
// found afterwards (normally none right after a start).
os::Hwnd Launch(AppController& app);
os::Hwnd ActivateOrLaunch(AppController& app);
// Searches the window into hWnd and brings it forward; false when absent.
bool RunPreamble(AppController& app);
// SetForegroundWindow and SetActiveWindow. When Windows refuses the
// foreground (its lock after recent user input), tries once more with the
// program's input attached to the foreground window's thread.
void BringForward(os::Hwnd hwnd);
// The foreground window is the application's hWnd or another window of its
// process (one of its forms): synthetic keys will reach it.
bool ForegroundIsApp(const AppController& app);
// The same for any window: it, or another window of its process, is in front.
bool ForegroundIsWindowOf(os::Hwnd hwnd);
// The common Close and LaunchOrClose.
void Close(AppController& app);
void LaunchOrClose(AppController& app);
