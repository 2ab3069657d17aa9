// The program's own window classes and windows: creation runs WM_CREATE
// through the class's window procedure, as CreateWindowExA does.
#include <vector>

#include "os/sim/sim_world.h"

namespace {

constexpr std::uint32_t WS_VISIBLE = 0x10000000;

struct Class {
    std::string name;
    os::WndProc proc;
};
std::vector<Class> g_classes;
const bool g_registered = (sim::AddResetHook([] { g_classes.clear(); }), true);

const Class* FindClass(const char* name) {
    if (!name) return nullptr;
    for (const auto& c : g_classes)
        if (sim::world::SameIgnoringCase(c.name.c_str(), name)) return &c;
    return nullptr;
}

}  // namespace

namespace os {

int RegisterClassExA(const WindowClass& wc) {
    if (!wc.className || !wc.proc || FindClass(wc.className)) {
        sim::Log("registerclass " + sim::world::Quote(wc.className) + " failed");
        return 0;
    }
    g_classes.push_back(Class{wc.className, wc.proc});
    sim::Log("registerclass " + sim::world::Quote(wc.className));
    return static_cast<int>(0xC000 + g_classes.size() - 1);
}

Hwnd CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                     std::uint32_t style, int x, int y, int width, int height, Hwnd parent,
                     Hmenu menu, Hinstance instance) {
    const Class* c = FindClass(className);
    if (!c) {
        sim::Log("createwindow " + sim::world::Quote(className) + " " + sim::world::Quote(title) +
                 " failed");
        return 0;
    }
    const WndProc proc = c->proc;
    const Hwnd hwnd =
        sim::world::AddProgramWindow(c->name, title ? title : "", (style & WS_VISIBLE) != 0, proc);
    sim::Log("createwindow " + sim::DescribeWindow(hwnd));
    if (proc(hwnd, WM_CREATE, 0, 0) == -1) {
        sim::world::Destroy(hwnd);
        sim::Log("createwindow refused by WM_CREATE");
        return 0;
    }
    return hwnd;
}

int ShowWindow(Hwnd hwnd, int cmd) {
    sim::world::Window* w = sim::world::Find(hwnd);
    if (!w) return 0;
    const bool wasVisible = w->visible;
    w->visible = cmd != SW_HIDE;
    sim::Log("showwindow " + sim::DescribeWindow(hwnd) + " cmd=" + std::to_string(cmd));
    return wasVisible ? 1 : 0;
}

int UpdateWindow(Hwnd hwnd) { return sim::world::Find(hwnd) ? 1 : 0; }

int DestroyWindow(Hwnd hwnd) {
    const WndProc proc = sim::world::ProcOf(hwnd);
    // Only the program's own windows can be destroyed by it.
    if (!proc) return 0;
    sim::Log("destroywindow " + sim::DescribeWindow(hwnd));
    // Owned windows (its dialogs) go first, as on Windows.
    sim::world::DestroyOwnedBy(hwnd);
    proc(hwnd, WM_DESTROY, 0, 0);
    sim::world::Destroy(hwnd);
    return 1;
}

std::int32_t DefWindowProcA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    if (msg == WM_CLOSE) DestroyWindow(hwnd);
    return 0;
}

}  // namespace os
