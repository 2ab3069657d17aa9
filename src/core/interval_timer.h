// A window timer with its own callback that can be started and stopped by
// name without tracking whether it already runs. Two exist: KeyTimer drives
// the key engine, WatchTimer the launch watcher. Their callbacks belong to
// the engine, which sits above this floor: the shell connects them at
// start-up (ConnectIntervalTimers).
#pragma once
#include <cstdint>

#include "os/os.h"

struct IntervalTimer {
    std::uint8_t running;
    std::int32_t id;
    os::Hwnd owner;
    std::int32_t interval;  // ms
    os::TimerProc callback;

    constexpr IntervalTimer(std::int32_t timerId, os::TimerProc proc)
        : running(0), id(timerId), owner(0), interval(0), callback(proc) {}
    ~IntervalTimer();
    IntervalTimer(const IntervalTimer&) = delete;
    IntervalTimer& operator=(const IntervalTimer&) = delete;

    // Stores both; the platform timer is left alone.
    void Bind(os::Hwnd window, std::int32_t ms);
    // No effect while running: the current period goes on.
    void Start();
    // No effect while stopped.
    void Stop();
};

extern IntervalTimer KeyTimer;    // id 1, 65 ms
extern IntervalTimer WatchTimer;  // id 2, 1000 ms

constexpr std::int32_t kKeyTimerInterval = 65;
constexpr std::int32_t kWatchTimerInterval = 1000;

// Gives both timers their callbacks; a running timer keeps its old one
// until it is started again.
void ConnectIntervalTimers(os::TimerProc keyProc, os::TimerProc watchProc);
// Bind to the main window with 65 ms, then start.
void StartKeyTimer(os::Hwnd mainWindow);
// Bind to the main window with 1000 ms and leave it stopped.
void PrepareWatchTimer(os::Hwnd mainWindow);
// Starts WatchTimer on the main window (hMainWindow when not yet bound).
void StartWatchTimer();
void StopWatchTimer();
// Both unbound and stopped without calling the platform: the start-up
// state, for InitProcessRecords.
void ResetIntervalTimers();
