#include "controllers/switching.h"

#include "config/host_probes.h"
#include "controllers/controller_table.h"
#include "controllers/user_apps.h"

namespace {

constexpr std::int32_t C = 0;  // Close
constexpr std::int32_t A = 1;  // ActivateOrLaunch

}  // namespace

// Six sequences activate before the last closes; Savrin and ArcSoft TV 5.0
// activate last.
const SwitchRow SwitchRows[kSwitchRowCount] = {
    {1101, kAppOrbisk, &Orbisk,
     {{C, &OrbiskCenter}, {C, &MediaCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5},
      {C, &PowerCinema}, {C, &TVEnhance}, {A, &Orbisk}, {C, &Savrin}}},
    {1102, kAppOrbiskCenter, &OrbiskCenter,
     {{C, &Orbisk}, {C, &MediaCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &PowerCinema},
      {C, &TVEnhance}, {A, &OrbiskCenter}, {C, &Savrin}}},
    {1103, kAppTotalMedia35, &TotalMedia35,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {C, &PowerCinema}, {C, &TVEnhance},
      {A, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Savrin}}},
    {1104, kAppMediaCenter, &MediaCenter,
     {{C, &OrbiskCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Orbisk}, {C, &PowerCinema},
      {C, &TVEnhance}, {A, &MediaCenter}, {C, &Savrin}}},
    {1105, kAppPowerCinema, &PowerCinema,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {A, &PowerCinema}, {C, &TotalMedia35},
      {C, &ArcSoftTV5}, {C, &TVEnhance}, {C, &Savrin}}},
    {1106, kAppTVEnhance, &TVEnhance,
     {{C, &OrbiskCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Orbisk}, {A, &TVEnhance},
      {C, &PowerCinema}, {C, &MediaCenter}, {C, &Savrin}}},
    {1107, kAppSavrin, &Savrin,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {C, &TVEnhance}, {C, &PowerCinema},
      {C, &TotalMedia35}, {C, &ArcSoftTV5}, {A, &Savrin}}},
    {1108, kAppArcSoftTV5, &ArcSoftTV5,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {C, &PowerCinema}, {C, &TVEnhance},
      {C, &TotalMedia35}, {C, &Savrin}, {A, &ArcSoftTV5}}},
};

const SwitchRow* SwitchRowOfCommand(std::uint32_t command) {
    for (const SwitchRow& row : SwitchRows)
        if (row.nMenuCommand == command) return &row;
    return nullptr;
}

const SwitchRow* SwitchRowOfCode(std::int32_t code) {
    for (const SwitchRow& row : SwitchRows)
        if (row.nTargetAppCode == code) return &row;
    return nullptr;
}

bool IsSwitchEntryAvailable(const SwitchRow& row) {
    if (row.nTargetAppCode == kAppMediaCenter) return IsMediaCenterAvailable() != 0;
    return row.pApp->bInstalled != 0;
}

bool SwitchWindowExists(const SwitchRow& row) {
    // Each entry tests its own application's window; ArcSoft TV 5.0 once
    // borrowed TotalMedia's and was checked while the other one ran.
    const WindowIdentity* identity = IdentityOf(*row.pApp);
    return identity != nullptr && FindIdentityWindow(*identity) != 0;
}

void RunSwitch(const SwitchRow& row) {
    for (const SwitchStep& step : row.steps) {
        if (step.bActivate == A)
            ActivateOrLaunch(*step.pApp);
        else
            CloseApp(*step.pApp);
    }
}

void RunUserSwitch(std::size_t index) {
    if (UserAppAt(index) == nullptr) return;
    for (const SwitchRow& row : SwitchRows) CloseApp(*row.pApp);
    CloseUserAppsExcept(static_cast<int>(index));
    ActivateOrLaunchUserApp(index);
}
