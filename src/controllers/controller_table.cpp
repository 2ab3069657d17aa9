// The identity and slot tables, and the start-up of the eight records.
#include "controllers/controller_table.h"

#include <cstring>

#include "config/app_locator.h"
#include "controllers/arcsoft_tv5.h"
#include "controllers/media_center.h"
#include "controllers/orbisk.h"
#include "controllers/orbisk_center.h"
#include "controllers/savrin.h"
#include "controllers/totalmedia35.h"

const WindowIdentity WindowIdentities[kIdentityCount] = {
    {&Orbisk, kAppOrbisk, "TarvelMainPanel_Class", "TVR"},
    {&OrbiskCenter, kAppOrbiskCenter, "TarvelMainPanel_Class", "Orbisk Center"},
    {&Savrin, kAppSavrin, nullptr, "Dravune"},
    {&MediaCenter, kAppMediaCenter, "eHome Render Window", nullptr},
    {&TotalMedia35, kAppTotalMedia35, "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia"},
    {&ArcSoftTV5, kAppArcSoftTV5, "_MIRACLE_20090309_1", "Arcsoft TV 5.0"},
    {&PowerCinema, kAppPowerCinema, nullptr, "PowerCinema"},
    {&TVEnhance, kAppTVEnhance, "TVEnhance", "TV Enhance"},
};

const WindowIdentity* IdentityOf(const AppController& app) {
    for (const WindowIdentity& id : WindowIdentities)
        if (id.pApp == &app) return &id;
    return nullptr;
}

os::Hwnd FindIdentityWindow(const WindowIdentity& identity) {
    return os::FindWindowExA(os::GetDesktopWindow(), 0, identity.szClass, identity.szTitle);
}

bool NoTvAppWindow() {
    bool none = true;
    // All eight searches run, as the router has always done them.
    for (const WindowIdentity& id : WindowIdentities)
        if (FindIdentityWindow(id) != 0) none = false;
    return none;
}

namespace {

// The default window search of a controller: its row of the identity table.
template <std::size_t Row>
os::Hwnd FindByIdentity() {
    return FindIdentityWindow(WindowIdentities[Row]);
}

struct InitRow {
    AppController* pApp;
    const char* szClassName;
    const char* szWindowTitle;
};

// Texts copied into each record whatever the install lookup found.
const InitRow kInitRows[kControllerCount] = {
    {&ArcSoftTV5, "_MIRACLE_20090309_1", "Arcsoft TV 5.0"},
    {&TotalMedia35, "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia"},
    {&OrbiskCenter, "TarvelMainPanel_Class", "Orbisk Center"},
    {&MediaCenter, "eHome Render Window", "eHome Render Window"},
    {&PowerCinema, "", "PowerCinema"},
    {&TVEnhance, "", "TVEnhance"},
    {&Savrin, "", "Dravune"},
    {&Orbisk, "TarvelMainPanel_Class", "TVR"},
};

void CopyText(char* dest, std::size_t size, const char* text) {
    std::strncpy(dest, text, size - 1);
    dest[size - 1] = '\0';
}

}  // namespace

const ControllerSlot ControllerSlots[kControllerCount] = {
    {&ArcSoftTV5, kAppArcSoftTV5, &bWatchArcSoftTV5, ArcSoftTV5FindMainWindow, Close, nullptr, 0},
    {&TotalMedia35, kAppTotalMedia35, &bWatchTotalMedia35, TotalMedia35FindMainWindow, Close,
     nullptr, 0},
    {&OrbiskCenter, kAppOrbiskCenter, &bWatchOrbiskCenter, FindByIdentity<1>, OrbiskCenterClose,
     nullptr, 2000},
    {&MediaCenter, kAppMediaCenter, &bWatchMediaCenter, MediaCenterFindMainWindow,
     MediaCenterClose, MediaCenterPrepareLaunch, 0},
    {&PowerCinema, kAppPowerCinema, &bWatchPowerCinema, FindByIdentity<6>, Close, nullptr, 0},
    {&TVEnhance, kAppTVEnhance, &bWatchTVEnhance, FindByIdentity<7>, Close, nullptr, 0},
    {&Savrin, kAppSavrin, &bWatchSavrin, FindByIdentity<2>, SavrinClose, nullptr, 0},
    {&Orbisk, kAppOrbisk, &bWatchOrbisk, FindByIdentity<0>, OrbiskClose, nullptr, 2000},
};

const ControllerSlot* SlotOf(const AppController& app) {
    for (const ControllerSlot& slot : ControllerSlots)
        if (slot.pApp == &app) return &slot;
    return nullptr;
}

const ControllerSlot* SlotOfCode(std::int32_t code) {
    for (const ControllerSlot& slot : ControllerSlots)
        if (slot.nTargetAppCode == code) return &slot;
    return nullptr;
}

void CloseApp(AppController& app) {
    const ControllerSlot* slot = SlotOf(app);
    if (slot != nullptr && slot->pClose != nullptr)
        slot->pClose(app);
    else
        Close(app);
}

void InitControllerRecords() {
    for (const InitRow& row : kInitRows) {
        AppController& app = *row.pApp;
        std::memset(&app, 0, sizeof app);
        CopyText(app.szClassName, sizeof app.szClassName, row.szClassName);
        CopyText(app.szWindowTitle, sizeof app.szWindowTitle, row.szWindowTitle);
    }
    LocateApplications();
}
