// RouteScanCode: the active applications first, in their fixed order; with
// nothing active the launch keys, the shutdown keys, or the first TV
// application found running; the mouse when there is none.
#include "engine/route.h"

#include "controllers/controller_table.h"
#include "controllers/key_maps.h"
#include "core/records.h"
#include "core/tick_box.h"
#include "engine/mouse_emulation.h"
#include "engine/press_latch.h"
#include "engine/route_user.h"
#include "engine/shutdown.h"
#include "engine/trace.h"

namespace {

using KeyMapFn = void (*)(std::uint32_t code);

constexpr std::int32_t kNoKey = -2;  // no scan code is ever -2

// Which remote layouts a row serves.
enum class Layout : std::uint8_t { Any, Key41, Key36, Key35, Other, Not35 };

bool LayoutMatches(Layout layout, std::int32_t type) {
    switch (layout) {
    case Layout::Any: return true;
    case Layout::Key41: return type == 1;
    case Layout::Key36: return type == 2;
    case Layout::Key35: return type == 3;
    case Layout::Other: return type != 1 && type != 2 && type != 3;
    case Layout::Not35: return type != 3;
    }
    return false;
}

// Stage 1, one row per application and layout, in the order they are tried.
struct ActiveRow {
    AppController* pApp;
    const char* szSendLine;  // written with the layout before choosing
    Layout layout;
    const char* szLayoutLine;
    std::int32_t nPowerKey;
    std::int32_t nShutdownKey;
    const char* szShutdownLine;
    KeyMapFn pKeyMap;
};

const char kSavrinLine[] = "Send Message to SAVRIN";
const char kMediaCenterLine[] = "Send Message to Media Center";
const char kTotalMediaLine[] = "Send Message to TotalMedia 3.5";
const char kArcSoftLine[] = "Send Message to ArcSoft TV 5.0";

const ActiveRow kActiveRows[] = {
    {&Orbisk, nullptr, Layout::Any, nullptr, 12, kNoKey, nullptr, OrbiskKeyMap},
    {&OrbiskCenter, nullptr, Layout::Any, nullptr, 12, kNoKey, nullptr, OrbiskCenterKeyMap},
    {&Savrin, kSavrinLine, Layout::Key41, "41KEY", 12, kNoKey, nullptr, SavrinKeyMap41},
    {&Savrin, kSavrinLine, Layout::Key36, "36KEY", 3, kNoKey, nullptr, SavrinKeyMap36},
    {&Savrin, kSavrinLine, Layout::Key35, "35KEY", 22, kNoKey, nullptr, SavrinKeyMap35},
    {&Savrin, kSavrinLine, Layout::Other, "44KEY", 12, kNoKey, nullptr, SavrinKeyMap44},
    {&MediaCenter, kMediaCenterLine, Layout::Key41, "IR_41KEY", 12, kNoKey, nullptr,
     MediaCenterKeyMap41},
    {&MediaCenter, kMediaCenterLine, Layout::Key36, "IR_36KEY", 3, kNoKey, nullptr,
     MediaCenterKeyMap36},
    {&MediaCenter, kMediaCenterLine, Layout::Key35, "IR_35KEY", 22, 3852, "IR_35KEY_ShutDownDlg",
     MediaCenterKeyMap35},
    {&MediaCenter, kMediaCenterLine, Layout::Other, "IR_44KEY", 12, 29, "IR_44KEY_ShutDownDlg",
     MediaCenterKeyMap44},
    {&TotalMedia35, kTotalMediaLine, Layout::Not35, nullptr, 12, 29, "TTM IS ACTIVE ShutDownDlg",
     TotalMedia35KeyMapShared},
    {&TotalMedia35, kTotalMediaLine, Layout::Key35, "IR_35KEY", 22, 3852,
     "TTM IS ACTIVE ShutDownDlg", TotalMedia35KeyMap35},
    {&ArcSoftTV5, kArcSoftLine, Layout::Not35, nullptr, 12, 29, "TTM_5 IS ACTIVE ShutDownDlg",
     ArcSoftTV5KeyMapShared},
    {&ArcSoftTV5, kArcSoftLine, Layout::Key35, "IR_35KEY", 22, 3852,
     "TTM_5 IS ACTIVE ShutDownDlg", ArcSoftTV5KeyMap35},
    {&PowerCinema, nullptr, Layout::Any, nullptr, 12, 29, "PCM IS ACTIVE ShutDownDlg",
     PowerCinemaKeyMap},
    {&TVEnhance, nullptr, Layout::Any, nullptr, 12, 29, "TVE IS ACTIVE ShutDownDlg",
     TVEnhanceKeyMap},
};

// First detection: the key map each application gets, whatever the layout,
// in priority order.
struct FirstFoundRow {
    AppController* pApp;
    KeyMapFn pKeyMap;
};
const FirstFoundRow kFirstFound[] = {
    {&Orbisk, OrbiskKeyMap},
    {&OrbiskCenter, OrbiskCenterKeyMap},
    {&Savrin, SavrinKeyMap41},
    {&MediaCenter, MediaCenterKeyMap44},
    {&TotalMedia35, TotalMedia35KeyMapShared},
    {&ArcSoftTV5, ArcSoftTV5KeyMapShared},
    {&PowerCinema, PowerCinemaKeyMap},
    {&TVEnhance, TVEnhanceKeyMap},
};
// ...and the order the eight windows are searched in.
AppController* const kSearchOrder[] = {&Orbisk,     &OrbiskCenter, &MediaCenter, &TotalMedia35,
                                       &ArcSoftTV5, &PowerCinema,  &TVEnhance,   &Savrin};

os::Hwnd SearchWindowOf(const AppController& app) {
    const WindowIdentity* identity = IdentityOf(app);
    return identity != nullptr ? FindIdentityWindow(*identity) : 0;
}

void OpenShutdownDialog(const char* line, os::Hwnd owner) {
    // A tick nested in the loop of another tick's box: a dialog now would
    // stand on top of that box, two modal loops for one remote.
    if (TickMessageBoxUp()) return;
    TraceText(line);
    ShowShutdownDialog(owner);
}

// Stage 1: true when an active application took the code.
bool RouteToActive(std::int32_t code, os::Hwnd owner, bool heldPower) {
    const AppController* tried = nullptr;
    for (const ActiveRow& row : kActiveRows) {
        if (row.pApp == tried) continue;  // one test per application
        if (row.pApp->bActive != 1) continue;
        tried = row.pApp;
        // Without its window the key belongs to whatever runs now, which
        // the next stages find. Closed behind our back, it loses the flag;
        // just started, the launch watcher gives its window time to appear.
        if (SearchWindowOf(*row.pApp) == 0) {
            const ControllerSlot* slot = SlotOf(*row.pApp);
            if (slot == nullptr || *slot->pWatchFlag == 0) row.pApp->bActive = 0;
            continue;
        }

        const ActiveRow* chosen = nullptr;
        for (const ActiveRow& r : kActiveRows)
            if (chosen == nullptr && r.pApp == row.pApp && LayoutMatches(r.layout, nIRKEYType))
                chosen = &r;
        if (chosen == nullptr) return true;  // every application covers every layout
        if (row.szSendLine != nullptr) {
            TraceText(row.szSendLine);
            TraceValue("nIRKEYType=", nIRKEYType);
        }
        if (chosen->szLayoutLine != nullptr) TraceText(chosen->szLayoutLine);

        if (code == -1) return true;
        if (code == chosen->nPowerKey)
            OnNewPowerPress(heldPower, [&] { LaunchOrClose(*chosen->pApp); });
        else if (code == chosen->nShutdownKey)
            OpenShutdownDialog(chosen->szShutdownLine, owner);
        else
            chosen->pKeyMap(static_cast<std::uint32_t>(code));
        return true;
    }
    return RouteToActiveUserApp(code, heldPower);
}

void RouteShutdownKey(std::int32_t code, os::Hwnd owner) {
    os::Hwnd orbisk = SearchWindowOf(Orbisk);
    os::Hwnd orbiskCenter = SearchWindowOf(OrbiskCenter);
    std::uint32_t key = static_cast<std::uint32_t>(code);
    if (NoTvAppWindow()) {
        OpenShutdownDialog("Have to make sure there is no running ap ShutDownDlg", owner);
    } else if (orbisk != 0) {
        Orbisk.bActive = 1;
        OrbiskKeyMap(key);
    } else if (orbiskCenter != 0) {
        OrbiskCenter.bActive = 1;
        OrbiskCenterKeyMap(key);
    } else {
        EmulateMouse(code);
    }
}

void RouteToFirstFound(std::int32_t code) {
    // All eight searches run first, in their own order; then the priority.
    const AppController* running[kControllerCount] = {};
    std::size_t count = 0;
    for (AppController* app : kSearchOrder)
        if (SearchWindowOf(*app) != 0) running[count++] = app;
    for (const FirstFoundRow& row : kFirstFound) {
        for (std::size_t i = 0; i < count; ++i) {
            if (running[i] != row.pApp) continue;
            row.pApp->bActive = 1;
            row.pKeyMap(static_cast<std::uint32_t>(code));
            return;
        }
    }
    if (RouteToFirstFoundUserApp(code)) return;
    EmulateMouse(code);
}

void Route(std::int32_t code, os::Hwnd owner, bool heldPower) {
    if (RouteToActive(code, owner, heldPower)) return;
    switch (code) {
    case 3:
    case 12:
    case 22: OnNewPowerPress(heldPower, [] { RunLaunchPath(DefaultTVAPP); }); return;
    case 29:
    case 30:
    case 3852: RouteShutdownKey(code, owner); return;
    default: RouteToFirstFound(code); return;
    }
}

RoutedCode g_ring[kRoutedRingSize];
std::size_t g_count = 0;

}  // namespace

void RouteScanCode(std::int32_t code, os::Hwnd owner, bool heldPower) {
    g_ring[g_count % kRoutedRingSize] = RoutedCode{code, owner};
    ++g_count;
    EnterRouteTick();
    Route(code, owner, heldPower);
    LeaveRouteTick();
}

std::size_t RoutedCount() { return g_count; }

RoutedCode RoutedAt(std::size_t i) {
    std::size_t kept = g_count < kRoutedRingSize ? g_count : kRoutedRingSize;
    if (i >= kept) return RoutedCode{0, 0};
    std::size_t first = g_count - kept;
    return g_ring[(first + i) % kRoutedRingSize];
}

void ClearRouted() { g_count = 0; }
