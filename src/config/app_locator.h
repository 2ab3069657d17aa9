// Where each TV application is installed, from the registry value its own
// installer writes; fills the controllers' identity once at start-up.
#pragma once
#include <cstdint>

#include "core/app_record.h"

struct LocatorRow {
    AppController* pApp;
    const char* szKey;        // under HKEY_LOCAL_MACHINE
    const char* szValue;      // "" is the key's default value
    const char* szExeName;
    const char* szClassName;
    const char* szWindowTitle;
};
constexpr int kLocatorRowCount = 8;
// In the order the controllers are initialised.
extern const LocatorRow LocatorRows[kLocatorRowCount];

// 1 when found, else 0. A value that does not fit szInstallDir with its
// terminator, whatever its type, counts as not installed.
int ReadInstallLocation(AppController& app, const char* subKey, const char* valueName,
                        const char* exeName);

// One row: primary key, the card family's shared fallback, then the window
// identity texts whatever the lookup found.
void LocateApplication(const LocatorRow& row);
// All eight rows in order.
void LocateApplications();
