// Posted and sent messages, the thread's queue and the message loop calls.
// Messages to the program's own windows reach their window procedure;
// messages to stand-ins are logged, and a closable stand-in closes on
// WM_CLOSE or SC_CLOSE.
#include <deque>

#include "os/sim/sim_world.h"

namespace {

struct Queue {
    std::deque<os::Msg> messages;
    bool quit = false;
    bool hasEnd = false;
    std::uint64_t end = 0;
};
Queue g_queue;

std::string MessageText(const char* verb, os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam,
                        std::int32_t lParam) {
    const char* name = sim::world::MessageName(msg);
    const auto l = static_cast<std::uint32_t>(lParam);
    return std::string(verb) + " " + (name ? name : std::to_string(msg)) +
           " wParam=" + sim::world::Hex(wParam, 2) +
           " lParam=" + (l == 0 ? std::string("0x0") : sim::world::Hex(l, 8)) + " to " +
           (hwnd ? sim::DescribeWindow(hwnd) : std::string("none"));
}

bool AsksToClose(std::uint32_t msg, std::uint32_t wParam) {
    return msg == os::WM_CLOSE || (msg == os::WM_SYSCOMMAND && (wParam & 0xFFF0) == os::SC_CLOSE);
}

void StandInReceives(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam) {
    const sim::world::Window* w = sim::world::Find(hwnd);
    if (w && w->closable && AsksToClose(msg, wParam)) {
        sim::Log("world close " + sim::DescribeWindow(hwnd));
        sim::world::Destroy(hwnd);
    }
}

}  // namespace

namespace sim {

void EndMessageLoopAt(std::uint32_t time) {
    g_queue.hasEnd = true;
    g_queue.end = world::ElapsedAt(time);
}

namespace world {

bool HasProgramMessage() { return !g_queue.messages.empty(); }
bool QuitPending() { return g_queue.quit; }

void QueueMessage(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    g_queue.messages.push_back(os::Msg{hwnd, msg, wParam, lParam});
}

bool DispatchOneProgramMessage() {
    if (g_queue.messages.empty()) return false;
    const os::Msg m = g_queue.messages.front();
    g_queue.messages.pop_front();
    os::DispatchMessageA(&m);
    return true;
}

void ResetMessages() { g_queue = Queue(); }

const char* MessageName(std::uint32_t msg) {
    switch (msg) {
    case os::WM_CREATE: return "WM_CREATE";
    case os::WM_DESTROY: return "WM_DESTROY";
    case os::WM_CLOSE: return "WM_CLOSE";
    case os::WM_DISPLAYCHANGE: return "WM_DISPLAYCHANGE";
    case os::WM_KEYDOWN: return "WM_KEYDOWN";
    case os::WM_KEYUP: return "WM_KEYUP";
    case os::WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case os::WM_INITDIALOG: return "WM_INITDIALOG";
    case os::WM_COMMAND: return "WM_COMMAND";
    case os::WM_SYSCOMMAND: return "WM_SYSCOMMAND";
    case os::WM_TIMER: return "WM_TIMER";
    case os::WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case os::WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case os::WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case os::WM_POWERBROADCAST: return "WM_POWERBROADCAST";
    default: return RegisteredMessageName(msg);
    }
}

}  // namespace world
}  // namespace sim

namespace os {

int PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    const std::string line = MessageText("post", hwnd, msg, wParam, lParam);
    std::int64_t fault = 0;
    if (sim::world::TakeFault(sim::Call::PostMessageA, &fault)) {
        sim::Log(line + " failed");
        return static_cast<int>(fault);
    }
    if (hwnd != 0 && !sim::world::Find(hwnd)) {
        sim::Log(line + " failed");
        return 0;
    }
    sim::Log(line);
    if (hwnd == 0 || sim::world::ProcOf(hwnd))
        sim::world::QueueMessage(hwnd, msg, wParam, lParam);
    else
        StandInReceives(hwnd, msg, wParam);
    return 1;
}

std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    const std::string line = MessageText("send", hwnd, msg, wParam, lParam);
    if (!sim::world::Find(hwnd)) {
        sim::Log(line + " failed");
        return 0;
    }
    sim::Log(line);
    if (WndProc proc = sim::world::ProcOf(hwnd)) return proc(hwnd, msg, wParam, lParam);
    StandInReceives(hwnd, msg, wParam);
    return 0;
}

void PostQuitMessage(int exitCode) {
    sim::Log("quit " + std::to_string(exitCode));
    g_queue.quit = true;
}

int GetMessageA(Msg* msg) {
    for (;;) {
        if (g_queue.quit) return 0;
        if (!g_queue.messages.empty()) {
            if (msg) *msg = g_queue.messages.front();
            g_queue.messages.pop_front();
            return 1;
        }
        if (g_queue.hasEnd && sim::world::Elapsed() >= g_queue.end) return 0;
        // Nothing could ever arrive: the real call would block for good.
        if (!sim::world::AnythingScheduled() && !g_queue.hasEnd) return -1;
        const std::uint64_t step = sim::world::Elapsed() + 60000;
        sim::world::Pump(g_queue.hasEnd ? g_queue.end : step, true);
    }
}

std::uint32_t LoadAcceleratorsA(Hinstance instance, std::uint32_t id) { return 0x30000u | id; }

// No keyboard input reaches the program's windows here, so no accelerator
// keystroke can arrive; every message goes on to dispatch.
int TranslateAcceleratorA(Hwnd hwnd, std::uint32_t accel, Msg* msg) { return 0; }

int TranslateMessage(const Msg* msg) { return 0; }

std::int32_t DispatchMessageA(const Msg* msg) {
    if (!msg) return 0;
    WndProc proc = sim::world::ProcOf(msg->hwnd);
    if (!proc) return 0;
    sim::world::EnterCallback(0);
    const std::int32_t result = proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    sim::world::LeaveCallback();
    return result;
}

}  // namespace os
