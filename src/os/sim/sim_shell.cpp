// The simulated notification area: keeps the icons the shell shows, refuses
// what Windows refuses, logs every call; the shell's coming and going; the
// registered window messages.
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "os/shell.h"
#include "os/sim/sim.h"
#include "os/sim/sim_shell.h"
#include "os/sim/sim_world.h"

namespace {

constexpr std::uint32_t kFirstRegistered = 0xC000;
constexpr std::size_t kMaxRegistered = 0x4000;  // up to 0xFFFF

struct Shell {
    bool running = true;
    std::vector<std::pair<os::Hwnd, std::uint32_t>> icons;
    std::deque<std::string> registered;  // names; the id is the index + 0xC000
};
Shell g_shell;

const bool g_registered = (sim::AddResetHook([] { g_shell = Shell(); }), true);

const char* NimName(std::uint32_t message) {
    switch (message) {
    case os::NIM_ADD: return "add";
    case os::NIM_MODIFY: return "modify";
    case os::NIM_DELETE: return "delete";
    default: return "?";
    }
}

int IconIndex(os::Hwnd hwnd, std::uint32_t id) {
    for (std::size_t i = 0; i < g_shell.icons.size(); ++i)
        if (g_shell.icons[i].first == hwnd && g_shell.icons[i].second == id) return static_cast<int>(i);
    return -1;
}

// Carries the call out; false when the shell refuses it.
bool Apply(std::uint32_t message, os::Hwnd hwnd, std::uint32_t id) {
    if (!g_shell.running) return false;
    const int at = IconIndex(hwnd, id);
    switch (message) {
    case os::NIM_ADD:
        if (at >= 0) return false;
        g_shell.icons.emplace_back(hwnd, id);
        return true;
    case os::NIM_MODIFY:
        return at >= 0;
    case os::NIM_DELETE:
        if (at < 0) return false;
        g_shell.icons.erase(g_shell.icons.begin() + at);
        return true;
    default:
        return false;
    }
}

// Atom names compare without regard to case, as the system's atoms do.
std::uint32_t Register(const char* name) {
    if (!name || !*name) return 0;
    for (std::size_t i = 0; i < g_shell.registered.size(); ++i)
        if (sim::world::SameIgnoringCase(g_shell.registered[i].c_str(), name))
            return kFirstRegistered + static_cast<std::uint32_t>(i);
    if (g_shell.registered.size() >= kMaxRegistered) return 0;
    g_shell.registered.emplace_back(name);
    return kFirstRegistered + static_cast<std::uint32_t>(g_shell.registered.size() - 1);
}

void AnnounceTaskbar() {
    const std::uint32_t msg = Register("TaskbarCreated");
    for (os::Hwnd hwnd : sim::TopLevelWindows())
        if (sim::world::ProcOf(hwnd) != nullptr) os::SendMessageA(hwnd, msg, 0, 0);
}

void PlayShellStart(std::uint32_t announce) {
    g_shell.running = true;
    sim::Log(announce ? "world shell start" : "world shell start quiet");
    if (announce) AnnounceTaskbar();
}

void PlayExplorerRestart(std::uint32_t) {
    g_shell.icons.clear();
    g_shell.running = true;
    sim::Log("world explorer restart");
    AnnounceTaskbar();
}

}  // namespace

namespace sim {

void SetShellRunning(bool running) { g_shell.running = running; }

void StartShellAt(std::uint32_t time, bool announce) {
    world::Schedule(world::ElapsedAt(time), PlayShellStart, announce ? 1 : 0);
}

void RestartExplorerAt(std::uint32_t time) {
    world::Schedule(world::ElapsedAt(time), PlayExplorerRestart, 0);
}

bool HasTrayIcon(os::Hwnd hwnd, std::uint32_t id) { return IconIndex(hwnd, id) >= 0; }

namespace world {

const char* RegisteredMessageName(std::uint32_t msg) {
    if (msg < kFirstRegistered || msg - kFirstRegistered >= g_shell.registered.size()) return nullptr;
    return g_shell.registered[msg - kFirstRegistered].c_str();
}

}  // namespace world
}  // namespace sim

namespace os {

int Shell_NotifyIconA(std::uint32_t message, const NotifyIconData* data) {
    if (!data) {
        sim::Log(std::string("tray ") + NimName(message) + " (null) failed");
        return 0;
    }
    char tip[sizeof data->szTip];
    std::memcpy(tip, data->szTip, sizeof tip);
    tip[sizeof tip - 1] = '\0';
    char line[200];
    std::snprintf(line, sizeof line, "tray %s size=%u id=%u flags=%u msg=%u icon=%u tip=\"%s\"",
                  NimName(message), data->cbSize, data->uID, data->uFlags, data->uCallbackMessage,
                  data->iconId, tip);
    const bool done = Apply(message, data->hWnd, data->uID);
    sim::Log(done ? std::string(line) : std::string(line) + " failed");
    if (done)
        sim::world::NoteTrayCall(message, data->hWnd, data->uID, data->uFlags,
                                 data->uCallbackMessage);
    return done ? 1 : 0;
}

std::uint32_t RegisterWindowMessageA(const char* name) { return Register(name); }

}  // namespace os
