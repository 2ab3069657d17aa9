// Simulated popup menus (a modal loop answered by the scripted user, the
// choice posted to the owner as WM_COMMAND) and the power-off calls.
#include <algorithm>
#include <deque>
#include <map>

#include "os/dialogs.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_world.h"

namespace {

struct Choice {
    std::uint32_t id;
    std::uint32_t afterMs;
    bool absolute = false;
    std::uint64_t at = 0;  // elapsed time when absolute
};

struct Menus {
    std::map<os::Hmenu, std::vector<sim::MenuItem>> menus;
    os::Hmenu next = 0x60000;
    std::deque<Choice> choices;
    std::vector<sim::MenuItem> lastTracked;
    // The menu being tracked (only one at a time, as on Windows): the serial
    // of its TrackPopupMenu call, 0 when none.
    std::uint32_t active = 0;
    std::uint32_t serial = 0;
    os::Hmenu activeMenu = 0;
    Choice activeChoice{0, 0};
    bool tokenOpens = true;
    int openTokens = 0;
    bool privilegeHeld = true;
    int exitResult = 1;
    int exitCount = 0;
};
Menus g_menus;

constexpr os::Htoken kToken = 0x7000;  // the one token OpenProcessToken hands out

const bool g_registered = (sim::AddResetHook([] { g_menus = Menus(); }), true);

std::string MenuName(os::Hmenu menu) { return "menu " + sim::world::Hex(menu, 1); }

// A menu closed before its choice's time: a choice scripted for a time
// still ahead is the next menu's.
bool ReturnLaterChoice() {
    const Choice c = g_menus.activeChoice;
    g_menus.activeChoice = Choice{0, 0};
    if (!c.absolute || c.at <= sim::world::Elapsed()) return false;
    g_menus.choices.push_front(c);
    return true;
}

std::string FlagNames(std::uint32_t flags) {
    if (flags & os::MF_SEPARATOR) return "separator";
    return (flags & os::MF_CHECKED) ? "checked" : "string";
}

}  // namespace

namespace sim {

void ChooseMenuItem(std::uint32_t id, std::uint32_t afterMs) {
    g_menus.choices.push_back(Choice{id, afterMs});
}
void ChooseMenuItemAt(std::uint32_t time, std::uint32_t id) {
    g_menus.choices.push_back(Choice{id, 0, true, world::ElapsedAt(time)});
}

namespace world {

bool CloseTrackedMenuByClick() {
    if (g_menus.active == 0) return false;
    g_menus.active = 0;
    const bool left = ReturnLaterChoice();
    sim::Log(MenuName(g_menus.activeMenu) + " closed by a click outside" +
             (left ? ", its choice left for the next menu" : ""));
    return true;
}

}  // namespace world
std::vector<MenuItem> LastTrackedMenu() { return g_menus.lastTracked; }

void SetProcessTokenOpens(bool opens) { g_menus.tokenOpens = opens; }
void SetShutdownPrivilegeHeld(bool held) { g_menus.privilegeHeld = held; }
void SetExitWindowsResult(int result) { g_menus.exitResult = result; }
int ExitWindowsCount() { return g_menus.exitCount; }

}  // namespace sim

namespace os {

Hmenu CreatePopupMenu() {
    const Hmenu menu = g_menus.next++;
    g_menus.menus[menu];
    sim::Log("createpopupmenu -> " + MenuName(menu));
    return menu;
}

int AppendMenuA(Hmenu menu, std::uint32_t flags, std::uint32_t id, const char* text) {
    auto it = g_menus.menus.find(menu);
    std::string line = "appendmenu " + MenuName(menu) + " " + FlagNames(flags);
    if (!(flags & MF_SEPARATOR)) line += " " + std::to_string(id) + " " + sim::world::Quote(text);
    if (it == g_menus.menus.end()) {
        sim::Log(line + " failed");
        return 0;
    }
    sim::Log(line);
    it->second.push_back(sim::MenuItem{flags, id, (flags & MF_SEPARATOR) || !text ? "" : text});
    return 1;
}

int TrackPopupMenu(Hmenu menu, std::uint32_t flags, int x, int y, Hwnd owner) {
    auto it = g_menus.menus.find(menu);
    std::string line = "trackpopupmenu " + MenuName(menu) + " flags=" + sim::world::Hex(flags, 1) +
                       " at " + std::to_string(x) + "," + std::to_string(y) +
                       " owner=" + (owner ? sim::DescribeWindow(owner) : std::string("none"));
    // One popup menu at a time: Windows refuses another while one is up.
    if (it == g_menus.menus.end() || !sim::world::Find(owner) || g_menus.active != 0) {
        sim::Log(line + " failed");
        return 0;
    }
    // The tracked menu stays alive until tracking ends, even when it is
    // destroyed meanwhile: its items are held here.
    const std::vector<sim::MenuItem> items = it->second;
    g_menus.lastTracked = items;
    Choice choice{0, 0};  // dismissed at once when nobody scripted a choice
    if (!g_menus.choices.empty()) {
        choice = g_menus.choices.front();
        g_menus.choices.pop_front();
    }
    sim::Log(line + " -> " + std::to_string(choice.id));
    const std::uint32_t serial = ++g_menus.serial;
    g_menus.active = serial;
    g_menus.activeMenu = menu;
    g_menus.activeChoice = choice;
    const std::uint64_t due =
        choice.absolute ? std::max(choice.at, sim::world::Elapsed()) : sim::world::Elapsed() + choice.afterMs;
    // 1 ms slices, so that a click outside ends the menu at that moment.
    bool ended = false;
    do {
        sim::world::Pump(std::min(sim::world::Elapsed() + 1, due), false);
        if (g_menus.active != serial) {
            ended = true;  // a click outside closed it
        } else if (!sim::world::Find(owner) || sim::world::QuitPending()) {
            g_menus.active = 0;
            ReturnLaterChoice();
            sim::Log(MenuName(menu) + " closed with its owner");
            ended = true;
        }
    } while (!ended && sim::world::Elapsed() < due);
    if (ended) return 0;
    g_menus.active = 0;
    // Only an item the menu holds can be chosen; separators cannot.
    bool found = false;
    for (const sim::MenuItem& item : items)
        if (choice.id != 0 && item.id == choice.id && !(item.flags & MF_SEPARATOR)) found = true;
    if (!found) return 0;
    sim::world::QueueMessage(owner, WM_COMMAND, choice.id, 0);
    return 1;
}

int DestroyMenu(Hmenu menu) {
    const bool known = g_menus.menus.erase(menu) > 0;
    sim::Log("destroymenu " + MenuName(menu) + (known ? "" : " failed"));
    return known ? 1 : 0;
}

int OpenProcessToken(std::uint32_t access, Htoken* token) {
    const bool opens = g_menus.tokenOpens && token;
    sim::Log("openprocesstoken access=" + sim::world::Hex(access, 2) + (opens ? " -> 1" : " -> 0"));
    if (!opens) return 0;
    *token = kToken;
    ++g_menus.openTokens;
    return 1;
}

int CloseHandle(Htoken token) {
    // Only a token the program holds can be closed, and only once.
    const bool known = token == kToken && g_menus.openTokens > 0;
    sim::Log("closehandle token " + sim::world::Hex(token, 1) + (known ? "" : " failed"));
    if (!known) return 0;
    --g_menus.openTokens;
    return 1;
}

std::uint32_t AdjustTokenPrivileges(Htoken token, const char* privilege, std::uint32_t attributes) {
    constexpr std::uint32_t ERROR_NOT_ALL_ASSIGNED = 1300;
    const std::uint32_t error = g_menus.privilegeHeld ? 0 : ERROR_NOT_ALL_ASSIGNED;
    sim::Log("adjusttokenprivileges " + sim::world::Quote(privilege) +
             " attributes=" + sim::world::Hex(attributes, 1) + " -> error " + std::to_string(error));
    return error;
}

int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    ++g_menus.exitCount;
    sim::Log("exitwindowsex flags=" + sim::world::Hex(flags, 2) + " reason=" + std::to_string(reason) +
             " -> " + std::to_string(g_menus.exitResult));
    return g_menus.exitResult;
}

}  // namespace os
