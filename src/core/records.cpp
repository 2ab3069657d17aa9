// Definitions of the shared records and their start-up values.
#include "core/records.h"

#include <initializer_list>

#include "core/app_record.h"

AppController ArcSoftTV5;
AppController TotalMedia35;
AppController OrbiskCenter;
AppController MediaCenter;
AppController PowerCinema;
AppController TVEnhance;
AppController Savrin;
AppController Orbisk;

const TargetAppRow TargetAppTable[kTargetAppCount] = {
    {kAppSavrin, "Savrin", 1107},
    {kAppMediaCenter, "Media Center", 1104},
    {kAppTotalMedia35, "TotalMedia 3.5", 1103},
    {kAppOrbisk, "Orbisk", 1101},
    {kAppTVEnhance, "TVEnhance", 1106},
    {kAppPowerCinema, "PowerCinema", 1105},
    {kAppOrbiskCenter, "Orbisk Center", 1102},
    {kAppArcSoftTV5, "ArcSoft TV 5.0", 1108},
};

std::int32_t DefaultTVAPP = kAppOrbisk;
std::int32_t nIRKEYType = 0;
std::int32_t AlwaysRemoteOff = 0;
std::int32_t bMediaCenterPresent = 0;

std::int32_t bWatchArcSoftTV5 = 0;
std::int32_t bWatchTotalMedia35 = 0;
std::int32_t bWatchOrbiskCenter = 0;
std::int32_t bWatchMediaCenter = 0;
std::int32_t bWatchPowerCinema = 0;
std::int32_t bWatchTVEnhance = 0;
std::int32_t bWatchSavrin = 0;
std::int32_t bWatchOrbisk = 0;

KeyRepeatRecord KeyRepeatState = {0, 0, 0, 0};
std::int32_t PointerAccelCount = 0;
std::int32_t ShutdownDialogOpen = 0;
os::Hwnd hShutdownDlg = 0;
os::Hwnd hMainWindow = 0;

const TargetAppRow* FindTargetApp(std::int32_t code) {
    for (const TargetAppRow& row : TargetAppTable)
        if (row.nCode == code) return &row;
    return nullptr;
}

void ResetCoreRecords() {
    for (std::int32_t* flag : {&bWatchArcSoftTV5, &bWatchTotalMedia35, &bWatchOrbiskCenter,
                               &bWatchMediaCenter, &bWatchPowerCinema, &bWatchTVEnhance,
                               &bWatchSavrin, &bWatchOrbisk})
        *flag = 0;

    DefaultTVAPP = kAppOrbisk;
    nIRKEYType = 0;
    AlwaysRemoteOff = 0;
    bMediaCenterPresent = 0;

    KeyRepeatState = KeyRepeatRecord{0, 0, 0, 0};
    PointerAccelCount = 0;
    ShutdownDialogOpen = 0;
    hShutdownDlg = 0;
    hMainWindow = 0;
}
