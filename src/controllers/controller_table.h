// The eight applications as the controllers see them: the window each is
// recognised by, its controller's own operations and watch flag, and
// InitControllerRecords, which gives the eight records their start-up texts
// and install locations.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/app_controller.h"
#include "core/records.h"
#include "os/os.h"

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

// The eight records cleared, given their window texts, and looked up in the
// registry. Part of InitProcessRecords.
void InitControllerRecords();
