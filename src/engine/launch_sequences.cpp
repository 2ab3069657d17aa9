// The launch path: the installed test of the selected application, then its
// sequence, which touches all eight applications once: every other one is
// closed, the selected one is started or, when it runs, closed.
#include "config/host_probes.h"
#include "controllers/controller_table.h"
#include "core/tick_box.h"
#include "controllers/user_apps.h"
#include "engine/route.h"
#include "engine/route_user.h"

namespace {

enum class Step : std::uint8_t { Close, Power };

struct LaunchStep {
    Step step;
    AppController* pApp;
};

struct LaunchSequence {
    std::int32_t nTargetAppCode;
    LaunchStep steps[kControllerCount];
};

constexpr Step C = Step::Close;
constexpr Step P = Step::Power;

const LaunchSequence kLaunchSequences[] = {
    {kAppOrbisk,
     {{C, &OrbiskCenter}, {C, &MediaCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5},
      {C, &PowerCinema}, {C, &TVEnhance}, {P, &Orbisk}, {C, &Savrin}}},
    {kAppOrbiskCenter,
     {{C, &Orbisk}, {C, &MediaCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &PowerCinema},
      {C, &TVEnhance}, {P, &OrbiskCenter}, {C, &Savrin}}},
    {kAppMediaCenter,
     {{C, &OrbiskCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Orbisk}, {C, &PowerCinema},
      {C, &TVEnhance}, {P, &MediaCenter}, {C, &Savrin}}},
    {kAppTotalMedia35,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {C, &PowerCinema}, {C, &TVEnhance},
      {P, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Savrin}}},
    {kAppArcSoftTV5,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {C, &PowerCinema}, {C, &TVEnhance},
      {C, &TotalMedia35}, {P, &ArcSoftTV5}, {C, &Savrin}}},
    {kAppPowerCinema,
     {{C, &OrbiskCenter}, {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Orbisk}, {P, &PowerCinema},
      {C, &MediaCenter}, {C, &TVEnhance}, {C, &Savrin}}},
    {kAppTVEnhance,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {P, &TVEnhance}, {C, &PowerCinema},
      {C, &TotalMedia35}, {C, &ArcSoftTV5}, {C, &Savrin}}},
    {kAppSavrin,
     {{C, &OrbiskCenter}, {C, &Orbisk}, {C, &MediaCenter}, {C, &TVEnhance}, {C, &PowerCinema},
      {C, &TotalMedia35}, {C, &ArcSoftTV5}, {P, &Savrin}}},
};

}  // namespace

void RunLaunchPath(std::int32_t target) {
    if (RunUserLaunchPath(target)) return;
    const LaunchSequence* sequence = nullptr;
    for (const LaunchSequence& s : kLaunchSequences)
        if (s.nTargetAppCode == target) sequence = &s;
    if (sequence == nullptr) return;
    // Both boxes of this path come from here: a launch key arriving while
    // one is up would open it again, once per tick.
    if (TickMessageBoxUp()) return;

    if (target == kAppMediaCenter) {
        IsMediaCenterAvailable();  // marks it installed; no message either way
    } else {
        const ControllerSlot* slot = SlotOfCode(target);
        if (slot != nullptr && slot->pApp->bInstalled == 0) {
            TickMessageBox("Please re-initialize the TV application settings.", "Remote Control",
                           os::MB_SETFOREGROUND);
        }
    }
    CloseUserAppsExcept(-1);
    for (const LaunchStep& step : sequence->steps) {
        if (step.step == Step::Power)
            LaunchOrClose(*step.pApp);
        else
            CloseApp(*step.pApp);
    }
}
