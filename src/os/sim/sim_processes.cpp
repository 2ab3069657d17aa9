// Processes and threads behind the windows, AttachThreadInput, and the
// foreground lock that Windows applies to background programs.
#include <algorithm>
#include <string>
#include <vector>

#include "os/sim/sim.h"
#include "os/sim/sim_world.h"

namespace {

constexpr std::uint32_t kProgramProcess = 0x100;
constexpr std::uint32_t kOwnerProcessBase = 0x200;
constexpr std::uint32_t kLoneProcessBase = 0x1000000;
constexpr std::uint32_t kThreadOffset = 4;  // each process has one thread

struct Processes {
    std::vector<std::string> owners;  // named owners in order of first use
    bool locked = false;
    std::uint32_t attachedTo = 0;     // the thread the program's input is joined to
};
Processes g_processes;
const bool g_registered = (sim::AddResetHook([] { g_processes = Processes(); }), true);

std::uint32_t ProcessOfOwner(const std::string& owner) {
    if (owner == "program") return kProgramProcess;
    auto it = std::find(g_processes.owners.begin(), g_processes.owners.end(), owner);
    if (it == g_processes.owners.end()) it = g_processes.owners.insert(it, owner);
    return kOwnerProcessBase + 0x10 * static_cast<std::uint32_t>(it - g_processes.owners.begin());
}

bool ThreadExists(std::uint32_t thread) {
    for (os::Hwnd hwnd : sim::TopLevelWindows())
        if (sim::world::ProcessOf(hwnd) + kThreadOffset == thread) return true;
    return thread == kProgramProcess + kThreadOffset;
}

}  // namespace

namespace sim {

void LockForeground(bool locked) { g_processes.locked = locked; }

namespace world {

std::uint32_t ProcessOf(os::Hwnd hwnd) {
    const Window* w = Find(hwnd);
    if (!w) return 0;
    if (w->proc || !w->owner.empty()) return ProcessOfOwner(w->proc ? "program" : w->owner);
    return kLoneProcessBase + hwnd;
}

bool ProgramMayTakeForeground(os::Hwnd foreground) {
    if (!g_processes.locked || foreground == 0) return true;
    const std::uint32_t process = ProcessOf(foreground);
    return process == kProgramProcess || process + kThreadOffset == g_processes.attachedTo;
}

bool InputAttachedTo(std::uint32_t thread) {
    return thread != 0 && thread == g_processes.attachedTo;
}

}  // namespace world
}  // namespace sim

namespace os {

std::uint32_t GetWindowThreadProcessId(Hwnd hwnd, std::uint32_t* processId) {
    const std::uint32_t process = sim::world::ProcessOf(hwnd);
    if (processId) *processId = process;
    return process != 0 ? process + kThreadOffset : 0;
}

std::uint32_t GetCurrentThreadId() { return kProgramProcess + kThreadOffset; }

int AttachThreadInput(std::uint32_t thread, std::uint32_t toThread, int attach) {
    const bool ok = thread == GetCurrentThreadId() && thread != toThread && ThreadExists(toThread);
    if (ok) g_processes.attachedTo = attach ? toThread : 0;
    sim::Log("attachthreadinput " + sim::world::Hex(thread, 1) + (attach ? " to " : " from ") +
             sim::world::Hex(toThread, 1) + (ok ? " -> 1" : " -> 0"));
    return ok ? 1 : 0;
}

}  // namespace os
