// The virtual clock, window timers and the scheduler that plays them and the
// scripted world events in time order. Sleep blocks the thread: the clock
// moves and the world goes on, but no timer fires until it returns.
#include <algorithm>
#include <limits>
#include <vector>

#include "os/sim/sim_world.h"

namespace {

struct Timer {
    os::Hwnd hwnd;
    std::uint32_t id;
    std::uint32_t elapse;
    os::TimerProc proc;
    std::uint64_t due;
};

struct Event {
    std::uint64_t at;
    std::uint64_t seq;
    void (*action)(std::uint32_t);
    std::uint32_t arg;
};

struct Clock {
    std::uint32_t start = 0;
    std::uint64_t elapsed = 0;
    std::vector<Timer> timers;
    std::vector<Event> events;
    std::uint64_t nextSeq = 0;
    std::uint32_t nextThreadTimerId = 0x7FF0;
    int pumpDepth = 0;
    std::uint64_t deadline = 0;  // `until` of the outermost Pump
};
Clock g_clock;

std::vector<void (*)()>& Hooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

// USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM, as SetTimer clamps them.
std::uint32_t ClampElapse(std::uint32_t ms) { return std::min(std::max(ms, 10u), 0x7FFFFFFFu); }

std::string TimerTarget(os::Hwnd hwnd) { return hwnd ? sim::DescribeWindow(hwnd) : "none"; }

int NextEvent() {
    int best = -1;
    for (int i = 0; i < static_cast<int>(g_clock.events.size()); ++i) {
        const Event& e = g_clock.events[i];
        if (best < 0 || e.at < g_clock.events[best].at ||
            (e.at == g_clock.events[best].at && e.seq < g_clock.events[best].seq))
            best = i;
    }
    return best;
}

int NextTimer() {
    int best = -1;
    for (int i = 0; i < static_cast<int>(g_clock.timers.size()); ++i)
        if (best < 0 || g_clock.timers[i].due < g_clock.timers[best].due) best = i;
    return best;
}

void RunEvent(int index) {
    Event e = g_clock.events[index];
    g_clock.events.erase(g_clock.events.begin() + index);
    g_clock.elapsed = std::max(g_clock.elapsed, e.at);
    sim::world::EnterCallback(0);
    e.action(e.arg);
    sim::world::LeaveCallback();
}

void FireTimer(int index) {
    Timer& t = g_clock.timers[index];
    g_clock.elapsed = std::max(g_clock.elapsed, t.due);
    // Rescheduled before the call, so that a modal loop inside the callback
    // sees the timer again, as the real message loop does.
    t.due = g_clock.elapsed + t.elapse;
    const Timer copy = t;
    // Without a procedure the timer posts WM_TIMER, which the scheduler or
    // the program's own message loop then dispatches.
    if (copy.proc) {
        sim::world::EnterCallback(copy.id);
        copy.proc(copy.hwnd, os::WM_TIMER, copy.id, sim::Now());
        sim::world::LeaveCallback();
    } else {
        sim::world::QueueMessage(copy.hwnd, os::WM_TIMER, copy.id, 0);
    }
}

}  // namespace

namespace sim {

void AddResetHook(void (*hook)()) {
    auto& hooks = Hooks();
    if (hook && std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}

void Reset(std::uint32_t startTime) {
    g_clock.start = startTime;
    g_clock.elapsed = 0;
    g_clock.timers.clear();
    g_clock.events.clear();
    g_clock.nextSeq = 0;
    g_clock.nextThreadTimerId = 0x7FF0;
    world::ResetWindows();
    world::ResetMessages();
    world::ResetFaults();
    world::ResetShell();
    world::ResetHost();
    world::ResetDriver();
    world::ResetTokens();
    world::ResetEffects();
    world::ResetModals();
    for (auto hook : Hooks()) hook();
}

std::uint32_t Now() { return static_cast<std::uint32_t>(g_clock.start + g_clock.elapsed); }

void Run(std::uint32_t ms) { world::Pump(g_clock.elapsed + ms, false); }

bool HasTimer(os::Hwnd hwnd, std::uint32_t id) {
    return std::any_of(g_clock.timers.begin(), g_clock.timers.end(),
                       [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

namespace world {

std::uint64_t Elapsed() { return g_clock.elapsed; }

void AdvanceTo(std::uint64_t until) {
    for (;;) {
        const int e = NextEvent();
        if (e < 0 || g_clock.events[e].at > until) break;
        RunEvent(e);
    }
    g_clock.elapsed = std::max(g_clock.elapsed, until);
}

bool Pump(std::uint64_t until, bool stopOnMessage) {
    // Modal loops nested inside read the outermost end as their own limit.
    struct Depth {
        Depth(std::uint64_t until) {
            if (g_clock.pumpDepth++ == 0) g_clock.deadline = until;
        }
        ~Depth() { --g_clock.pumpDepth; }
    } depth(until);
    for (;;) {
        if (stopOnMessage && QuitPending()) return true;
        if (HasProgramMessage()) {
            if (stopOnMessage) return true;
            DispatchOneProgramMessage();
            continue;
        }
        const int e = NextEvent();
        const int t = NextTimer();
        const bool eventDue = e >= 0 && g_clock.events[e].at <= until;
        const bool timerDue = t >= 0 && g_clock.timers[t].due <= until;
        if (eventDue && (!timerDue || g_clock.events[e].at <= g_clock.timers[t].due)) {
            RunEvent(e);
        } else if (timerDue) {
            FireTimer(t);
        } else {
            g_clock.elapsed = std::max(g_clock.elapsed, until);
            return false;
        }
    }
}

std::uint64_t RunDeadline() {
    return g_clock.pumpDepth > 0 ? g_clock.deadline : std::numeric_limits<std::uint64_t>::max();
}

bool AnythingScheduled() { return !g_clock.timers.empty() || !g_clock.events.empty(); }

void Schedule(std::uint64_t at, void (*action)(std::uint32_t), std::uint32_t arg) {
    g_clock.events.push_back(Event{std::max(at, g_clock.elapsed), g_clock.nextSeq++, action, arg});
}

void ForgetTimersOf(os::Hwnd hwnd) {
    auto& ts = g_clock.timers;
    ts.erase(std::remove_if(ts.begin(), ts.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
             ts.end());
}

std::uint64_t ElapsedAt(std::uint32_t time) {
    const std::uint32_t ahead = time - Now();
    // A time in the past (more than half the counter behind) means now.
    return ahead >= 0x80000000u ? g_clock.elapsed : g_clock.elapsed + ahead;
}

}  // namespace world
}  // namespace sim

namespace os {

std::uint32_t GetTickCount() { return sim::Now(); }

void Sleep(std::uint32_t ms) {
    sim::Log("sleep " + std::to_string(ms));
    sim::world::AdvanceTo(g_clock.elapsed + ms);
}

std::uint32_t SetTimer(Hwnd hwnd, std::uint32_t id, std::uint32_t elapseMs, TimerProc proc) {
    std::string line = "settimer id=" + std::to_string(id) + " elapse=" + std::to_string(elapseMs) +
                       (proc ? " proc" : "") + " on " + TimerTarget(hwnd);
    std::int64_t fault = 0;
    // Windows refuses timers on windows of other programs.
    if (sim::world::TakeFault(sim::Call::SetTimer, &fault) ||
        (hwnd != 0 && !sim::world::ProcOf(hwnd))) {
        sim::Log(line + " failed");
        return static_cast<std::uint32_t>(fault);
    }
    const std::uint64_t due = g_clock.elapsed + ClampElapse(elapseMs);
    for (Timer& t : g_clock.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.elapse = ClampElapse(elapseMs);
            t.proc = proc;
            t.due = due;
            sim::Log(line);
            return hwnd ? (id ? id : 1) : id;
        }
    }
    const std::uint32_t newId = hwnd ? id : g_clock.nextThreadTimerId++;
    g_clock.timers.push_back(Timer{hwnd, newId, ClampElapse(elapseMs), proc, due});
    sim::Log(line);
    return hwnd ? (id ? id : 1) : newId;
}

int KillTimer(Hwnd hwnd, std::uint32_t id) {
    auto& ts = g_clock.timers;
    auto it = std::find_if(ts.begin(), ts.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    const std::string line = "killtimer id=" + std::to_string(id) + " on " + TimerTarget(hwnd);
    if (it == ts.end()) {
        sim::Log(line + " failed");
        return 0;
    }
    ts.erase(it);
    sim::Log(line);
    return 1;
}

}  // namespace os
