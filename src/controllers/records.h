// The process-wide records every subsystem shares, and InitProcessRecords,
// the one place that gives all of them their initial values.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/app_controller.h"
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
extern std::int32_t PointerAccelCount;  // mouse emulation's acceleration counter
extern std::int32_t ShutdownDialogOpen;
extern os::Hwnd hShutdownDlg;

// ---- the hidden main window, owner of both timers
extern os::Hwnd hMainWindow;

// ---- window identities searched by the router and the launch watcher:
// one FindWindowExA(desktop, 0, class, title) each; nullptr matches any.
struct WindowIdentity {
    AppController* pApp;
    std::int32_t nTargetAppCode;
    const char* szClass;
    const char* szTitle;
};
constexpr std::size_t kIdentityCount = 8;
// Orbisk, Orbisk Center, Savrin, Media Center, TotalMedia 3.5, ArcSoft TV 5.0,
// PowerCinema, TVEnhance.
extern const WindowIdentity WindowIdentities[kIdentityCount];
const WindowIdentity* IdentityOf(const AppController& app);  // nullptr for a foreign record
os::Hwnd FindIdentityWindow(const WindowIdentity& identity);
// True when none of the eight windows exists.
bool NoTvAppWindow();

// ---- per-controller operations: the controllers give each its own here
using FindMainWindowFn = os::Hwnd (*)();
using ControllerFn = void (*)(AppController& app);
struct ControllerSlot {
    AppController* pApp;
    std::int32_t nTargetAppCode;
    std::int32_t* pWatchFlag;
    FindMainWindowFn pFindMainWindow;  // the controller's window search
    ControllerFn pClose;               // its Close
    ControllerFn pPrepareLaunch;       // run before ActivateOrLaunch, may be null
    std::uint32_t nPreWatchWaitMs;     // wait before WatchTimer starts
};
constexpr std::size_t kControllerCount = 8;
// In initialisation order: ArcSoft TV 5.0, TotalMedia 3.5, Orbisk Center,
// Media Center, PowerCinema, TVEnhance, Savrin, Orbisk.
extern const ControllerSlot ControllerSlots[kControllerCount];
const ControllerSlot* SlotOf(const AppController& app);  // nullptr for a foreign record
const ControllerSlot* SlotOfCode(std::int32_t code);
// Closes app by its controller's own method; a foreign record by the common one.
void CloseApp(AppController& app);

// Starts the launch watcher's timer (id 2, 1000 ms) on the main window.
void StartWatchTimer();

// Gives every record above its initial value. The entry point's first step;
// tests call it after setting up the world.
void InitProcessRecords();
