// The per-application record every TV application is driven through, and
// the operations shared by all controllers.
#pragma once
#include <cstdint>

#include "os/os.h"

struct AppController {
    std::int32_t bInstalled;
    std::int32_t bActive;
    char szInstallDir[128];
    char szExeName[64];
    char szClassName[64];
    char szWindowTitle[64];
    os::Hwnd hWnd;
    std::uint32_t dwExtra;
};

// The eight records, in static storage, zero until InitProcessRecords.
extern AppController ArcSoftTV5;      // 10
extern AppController TotalMedia35;    // 5
extern AppController OrbiskCenter;    // 9
extern AppController MediaCenter;     // 4
extern AppController PowerCinema;     // 8
extern AppController TVEnhance;       // 7
extern AppController Savrin;          // 2
extern AppController Orbisk;          // 6

// ---- operations shared by all controllers (the record is the first argument)

// The controller's own window search (its slot in records.h).
os::Hwnd FindMainWindow(AppController& app);
// Walks the top-level windows for one whose whole title equals
// szWindowTitle, byte for byte.
os::Hwnd FindWindowByTitle(AppController& app);
// Starts the application unless its window exists; returns the window
// found afterwards (normally none right after a start).
os::Hwnd Launch(AppController& app);
os::Hwnd ActivateOrLaunch(AppController& app);
// Searches the window into hWnd and brings it forward; false when absent.
bool RunPreamble(AppController& app);
// The common Close and LaunchOrClose.
void Close(AppController& app);
void LaunchOrClose(AppController& app);
