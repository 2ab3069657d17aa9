// The program's start: closing earlier copies, the hidden main window, the
// settings, the timers and the message loop.
#pragma once
#include <cstdint>

#include "os/os.h"

constexpr std::uint32_t kResumeTimerId = 2000;
constexpr std::uint32_t kKeyTimerRetryId = 2002;
constexpr std::uint32_t kResumeDelayMs = 5000;
constexpr std::uint32_t kAcceleratorTable = 23;

extern os::Hinstance hInstance;
extern std::int32_t bTunerReady;
extern std::uint8_t bResumePending;
extern char szWindowTitle[100];
extern char szWindowClass[100];

// Gives every process-wide record its initial value, floor by floor, and
// connects the interval timers to the engine. The entry point's first step;
// tests call it after setting up the world.
void InitProcessRecords();

// Steps up to the message loop. Returns the main window, or 0 when the
// program ends here (window creation failed, or the remote is switched off).
os::Hwnd ProgramStartUp(os::Hinstance instance);
// Starts the key timer; when Windows refuses it, tries again once a second
// for a bounded time (OnKeyTimerRetry, timer kKeyTimerRetryId, or a posted
// WM_TIMER of that id when the retry timer is refused as well).
void StartKeyTimerOrRetry(os::Hwnd hwnd);
void OnKeyTimerRetry(os::Hwnd hwnd);

// ProgramStartUp and the message loop; returns the exit code.
int RunRemoteControl(os::Hinstance instance);

// Posts WM_CLOSE to the first top-level window whose title begins with each
// of the earlier copies' title prefixes, passing by an earlier copy's own
// dialogs and boxes to reach its main window.
void CloseEarlierCopies();

std::int32_t MainWindowProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam,
                            std::int32_t lParam);
