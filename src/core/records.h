// The process-wide records every subsystem shares: the application codes,
// the settings in memory, the watch flags, the key engine's state, the
// shutdown dialog's flags and the main window. Plain data; ResetCoreRecords
// gives them their start-up values.
#pragma once
#include <cstddef>
#include <cstdint>

#include "os/os.h"

// ---- TargetAppCode: the numeric identity of the eight applications
constexpr std::int32_t kAppSavrin = 2;
constexpr std::int32_t kAppMediaCenter = 4;
constexpr std::int32_t kAppTotalMedia35 = 5;
constexpr std::int32_t kAppOrbisk = 6;
constexpr std::int32_t kAppTVEnhance = 7;
constexpr std::int32_t kAppPowerCinema = 8;
constexpr std::int32_t kAppOrbiskCenter = 9;
constexpr std::int32_t kAppArcSoftTV5 = 10;

struct TargetAppRow {
    std::int32_t nCode;
    const char* szLabel;         // menu and Setting dialog
    std::uint32_t nMenuCommand;
};
constexpr std::size_t kTargetAppCount = 8;
extern const TargetAppRow TargetAppTable[kTargetAppCount];  // in code order
const TargetAppRow* FindTargetApp(std::int32_t code);       // nullptr: no application

// ---- in-memory settings (loaded by the settings store)
extern std::int32_t DefaultTVAPP;     // current TargetAppCode, 6 before loading
extern std::int32_t nIRKEYType;       // 1 41-key, 2 36-key, 3 35-key, other 44-key
extern std::int32_t AlwaysRemoteOff;  // remote-off flag

// ---- Media Center probe result, set by IsMediaCenterAvailable, read by Launch
extern std::int32_t bMediaCenterPresent;

// ---- watch flags of the launch watcher, one per application
extern std::int32_t bWatchArcSoftTV5;
extern std::int32_t bWatchTotalMedia35;
extern std::int32_t bWatchOrbiskCenter;
extern std::int32_t bWatchMediaCenter;
extern std::int32_t bWatchPowerCinema;
extern std::int32_t bWatchTVEnhance;
extern std::int32_t bWatchSavrin;
extern std::int32_t bWatchOrbisk;

// ---- key engine state
struct KeyRepeatRecord {
    std::int32_t nLastCode;       // as stored after the 35-key remap
    std::uint32_t dwLastTime;     // GetTickCount of the previous event
    std::int32_t bRepeat;
    std::int32_t nRepeatCount;
};
extern KeyRepeatRecord KeyRepeatState;
// Reset to 0 by every new press; the mouse emulation counts on it.
extern std::int32_t PointerAccelCount;
extern std::int32_t ShutdownDialogOpen;
extern os::Hwnd hShutdownDlg;

// ---- the hidden main window, owner of both timers
extern os::Hwnd hMainWindow;

// Everything above back to its start-up value (the eight application
// records and the timers have their own).
void ResetCoreRecords();
