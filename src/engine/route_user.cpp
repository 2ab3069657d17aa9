#include "engine/route_user.h"

#include "controllers/controller_table.h"
#include "controllers/user_apps.h"
#include "core/records.h"
#include "core/tick_box.h"
#include "engine/press_latch.h"

namespace {

// The power key of each layout, as for the built-in applications.
std::int32_t LayoutPowerKey() {
    switch (nIRKEYType) {
    case 2: return 3;
    case 3: return 22;
    default: return 12;
    }
}

}  // namespace

bool RouteToActiveUserApp(std::int32_t code, bool heldPower) {
    for (std::size_t i = 0; i < UserAppCount(); ++i) {
        UserAppRecord& rec = UserApps[i];
        if (rec.bActive != 1) continue;
        // As the built-in applications: closed behind our back, it loses the
        // flag; just started, the launch watcher gives its window time.
        if (FindUserAppWindow(i) == 0) {
            if (rec.bWatch == 0) rec.bActive = 0;
            continue;
        }
        if (code == -1) return true;
        if (code == LayoutPowerKey())
            OnNewPowerPress(heldPower, [i] { LaunchOrCloseUserApp(i); });
        else
            RunUserAppKey(i, static_cast<std::uint32_t>(code));
        return true;
    }
    return false;
}

bool RouteToFirstFoundUserApp(std::int32_t code) {
    for (std::size_t i = 0; i < UserAppCount(); ++i) {
        if (FindUserAppWindow(i) == 0) continue;
        UserApps[i].bActive = 1;
        RunUserAppKey(i, static_cast<std::uint32_t>(code));
        return true;
    }
    return false;
}

bool RunUserLaunchPath(std::int32_t target) {
    if (target < kAppUserFirst) return false;
    const int index = UserAppOfCode(target);
    // An application no longer in the file is an unknown code: nothing.
    if (index < 0 || TickMessageBoxUp()) return true;
    for (const ControllerSlot& slot : ControllerSlots) CloseApp(*slot.pApp);
    CloseUserAppsExcept(index);
    LaunchOrCloseUserApp(static_cast<std::size_t>(index));
    return true;
}
