// Launch watcher over the shared window identities.
#include "engine/launch_watcher.h"

#include <cstdint>

#include "core/interval_timer.h"
#include "controllers/controller_table.h"
#include "controllers/user_apps.h"

namespace {

struct Watched {
    std::int32_t nTargetAppCode;
    std::int32_t* pWatchFlag;
};

// Watching order.
const Watched kWatchOrder[] = {
    {kAppSavrin, &bWatchSavrin},
    {kAppOrbisk, &bWatchOrbisk},
    {kAppOrbiskCenter, &bWatchOrbiskCenter},
    {kAppMediaCenter, &bWatchMediaCenter},
    {kAppTotalMedia35, &bWatchTotalMedia35},
    {kAppArcSoftTV5, &bWatchArcSoftTV5},
    {kAppPowerCinema, &bWatchPowerCinema},
    {kAppTVEnhance, &bWatchTVEnhance},
};

// Sweeping order. Savrin's active mark is cleared too when its window has
// gone, as for every other application: a stale mark would feed its keys
// to a closed program.
const Watched kSweepOrder[] = {
    {kAppOrbisk, &bWatchOrbisk},
    {kAppOrbiskCenter, &bWatchOrbiskCenter},
    {kAppMediaCenter, &bWatchMediaCenter},
    {kAppSavrin, &bWatchSavrin},
    {kAppTotalMedia35, &bWatchTotalMedia35},
    {kAppArcSoftTV5, &bWatchArcSoftTV5},
    {kAppPowerCinema, &bWatchPowerCinema},
    {kAppTVEnhance, &bWatchTVEnhance},
};

const WindowIdentity* IdentityOfCode(std::int32_t code) {
    for (const WindowIdentity& id : WindowIdentities)
        if (id.nTargetAppCode == code) return &id;
    return nullptr;
}

bool WindowExists(std::int32_t code) {
    const WindowIdentity* id = IdentityOfCode(code);
    return id && FindIdentityWindow(*id) != 0;
}

void ClearActive(std::int32_t code) {
    const WindowIdentity* id = IdentityOfCode(code);
    if (id) id->pApp->bActive = 0;
}

// Applications closed behind our back while another one is watched: a
// stale mark would feed its keys to a closed program.
void ClearUnwatchedStaleMarks() {
    for (const Watched& w : kSweepOrder)
        if (*w.pWatchFlag == 0 && !WindowExists(w.nTargetAppCode)) ClearActive(w.nTargetAppCode);
}

}  // namespace

void OnWatchTimer() {
    for (const Watched& w : kWatchOrder) {
        if (*w.pWatchFlag == 0) continue;
        ClearUnwatchedStaleMarks();
        if (WindowExists(w.nTargetAppCode)) return;
        ClearActive(w.nTargetAppCode);
        StopWatchTimer();
        *w.pWatchFlag = 0;
        return;
    }
    for (std::size_t i = 0; i < UserAppCount(); ++i) {
        if (UserApps[i].bWatch == 0) continue;
        if (FindUserAppWindow(i) != 0) return;
        UserApps[i].bActive = UserApps[i].bWatch = 0;
        StopWatchTimer();
        return;
    }
    // Nothing watched: a launch was tried and failed. Give a slow start a
    // moment, then clear every mark whose window is absent.
    os::Sleep(kSweepWaitMs);
    for (const Watched& w : kSweepOrder) {
        if (WindowExists(w.nTargetAppCode)) continue;
        *w.pWatchFlag = 0;
        ClearActive(w.nTargetAppCode);
    }
    for (std::size_t i = 0; i < UserAppCount(); ++i)
        if (FindUserAppWindow(i) == 0) UserApps[i].bActive = UserApps[i].bWatch = 0;
    StopWatchTimer();
}
