// The per-application record every TV application is driven through, and
// the eight of them. Configuration fills them, controllers drive through
// them, the router and the watcher read their flags.
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
