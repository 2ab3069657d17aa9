// The two interval timers.
#include "core/interval_timer.h"

#include <cstdlib>
#include <initializer_list>

#include "core/records.h"

namespace {

// Stops both timers before any static object is destroyed: the platform
// side of a timer may not outlive main's return in the simulation.
void StopTimersAtExit() {
    KeyTimer.Stop();
    WatchTimer.Stop();
}

void RegisterExitStop() {
    static bool registered = false;
    if (!registered) registered = std::atexit(StopTimersAtExit) == 0;
}

}  // namespace

IntervalTimer KeyTimer(1, nullptr);
IntervalTimer WatchTimer(2, nullptr);

IntervalTimer::~IntervalTimer() { Stop(); }

void IntervalTimer::Bind(os::Hwnd window, std::int32_t ms) {
    owner = window;
    interval = ms;
}

void IntervalTimer::Start() {
    if (running) return;
    // A refused SetTimer leaves it stopped, so that the next start tries again.
    if (os::SetTimer(owner, static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(interval),
                     callback) == 0)
        return;
    running = 1;
    RegisterExitStop();
}

void IntervalTimer::Stop() {
    if (!running) return;
    os::KillTimer(owner, static_cast<std::uint32_t>(id));
    running = 0;
}

void ConnectIntervalTimers(os::TimerProc keyProc, os::TimerProc watchProc) {
    KeyTimer.callback = keyProc;
    WatchTimer.callback = watchProc;
}

void StartKeyTimer(os::Hwnd mainWindow) {
    KeyTimer.Bind(mainWindow, kKeyTimerInterval);
    KeyTimer.Start();
}

void PrepareWatchTimer(os::Hwnd mainWindow) {
    WatchTimer.Bind(mainWindow, kWatchTimerInterval);
    WatchTimer.Stop();
}

void StartWatchTimer() {
    // Start-up binds it; a launch before that binds it to the main window.
    if (WatchTimer.owner == 0) PrepareWatchTimer(hMainWindow);
    WatchTimer.Start();
}

void StopWatchTimer() { WatchTimer.Stop(); }

void ResetIntervalTimers() {
    for (IntervalTimer* t : {&KeyTimer, &WatchTimer}) {
        t->running = 0;
        t->owner = 0;
        t->interval = 0;
    }
}
