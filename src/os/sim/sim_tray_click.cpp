// The user's clicks on the program's tray icon: the icons the program added
// (from its Shell_NotifyIconA calls), and a click's notices to the icon's
// window.
#include <string>
#include <vector>

#include "os/shell.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_world.h"

namespace {

constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;

struct Icon {
    os::Hwnd hwnd;
    std::uint32_t id;
    std::uint32_t callbackMessage;
};

struct Tray {
    std::vector<Icon> icons;
    std::vector<sim::TrayClick> clicks;  // scheduled, by index
};
Tray g_tray;
const bool g_registered = (sim::AddResetHook([] { g_tray = Tray(); }), true);

const char* ClickName(sim::TrayClick click) {
    switch (click) {
    case sim::TrayClick::Left: return "left";
    case sim::TrayClick::Right: return "right";
    case sim::TrayClick::Double: return "double";
    }
    return "?";
}

std::vector<std::uint32_t> Notices(sim::TrayClick click) {
    switch (click) {
    case sim::TrayClick::Left: return {os::WM_LBUTTONDOWN, WM_LBUTTONUP};
    case sim::TrayClick::Right: return {os::WM_RBUTTONDOWN, WM_RBUTTONUP};
    case sim::TrayClick::Double:
        return {os::WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    }
    return {};
}

void Click(std::uint32_t index) {
    if (index >= g_tray.clicks.size()) return;
    const sim::TrayClick click = g_tray.clicks[index];
    // The program's icon; a window that has gone takes its icon with it.
    const Icon* icon = nullptr;
    for (const Icon& i : g_tray.icons)
        if (sim::world::Find(i.hwnd)) icon = &i;
    const std::string what = std::string("user click ") + ClickName(click) + " on tray icon ";
    if (icon == nullptr) {
        sim::Log(what + "(none)");
        return;
    }
    sim::Log(what + std::to_string(icon->id) + " of " + sim::DescribeWindow(icon->hwnd));
    sim::world::CloseTrackedMenuByClick();
    for (std::uint32_t notice : Notices(click))
        sim::world::QueueMessage(icon->hwnd, icon->callbackMessage, icon->id,
                                 static_cast<std::int32_t>(notice));
}

}  // namespace

namespace sim {

void ClickTrayIconAt(std::uint32_t time, TrayClick click) {
    g_tray.clicks.push_back(click);
    world::Schedule(world::ElapsedAt(time), Click, static_cast<std::uint32_t>(g_tray.clicks.size() - 1));
}

namespace world {

void NoteTrayCall(std::uint32_t message, os::Hwnd hwnd, std::uint32_t id, std::uint32_t flags,
                  std::uint32_t callbackMessage) {
    auto& icons = g_tray.icons;
    for (auto it = icons.begin(); it != icons.end(); ++it) {
        if (it->hwnd != hwnd || it->id != id) continue;
        if (message == os::NIM_DELETE) {
            icons.erase(it);
        } else if (flags & os::NIF_MESSAGE) {
            it->callbackMessage = callbackMessage;
        }
        return;
    }
    // Without a callback message the shell tells the program nothing.
    if (message == os::NIM_ADD && (flags & os::NIF_MESSAGE))
        icons.push_back(Icon{hwnd, id, callbackMessage});
}

}  // namespace world
}  // namespace sim
