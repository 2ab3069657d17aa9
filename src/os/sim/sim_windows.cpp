// Top-level windows in z-order, foreground and active window, and the
// searches over them. FindWindow(Ex)A compare without regard to case, as
// user32 does; the title walk hands out the exact bytes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "os/sim/sim_world.h"

namespace {

constexpr os::Hwnd kDesktop = 0x10000;

struct Windows {
    std::vector<sim::world::Window> zorder;  // topmost first
    os::Hwnd next = 0x10002;
    os::Hwnd foreground = 0;
    os::Hwnd active = 0;
    std::vector<sim::WindowDesc> pendingAdds;
    std::vector<std::pair<std::string, std::string>> pendingRemoves;
    struct Change {
        std::string className, title, newTitle;
        bool titleChange;
        bool visible;
    };
    std::vector<Change> pendingChanges;
    std::uint32_t turns = 0;      // GW_HWNDNEXT steps left that lead from the bottom to the top
    std::uint32_t walkSteps = 0;  // GW_HWNDNEXT calls
};
Windows g_windows;

int IndexOf(os::Hwnd hwnd) {
    for (int i = 0; i < static_cast<int>(g_windows.zorder.size()); ++i)
        if (g_windows.zorder[i].hwnd == hwnd) return i;
    return -1;
}

os::Hwnd Insert(sim::world::Window w, bool atBottom) {
    w.hwnd = g_windows.next;
    g_windows.next += 2;
    if (atBottom)
        g_windows.zorder.push_back(w);
    else
        g_windows.zorder.insert(g_windows.zorder.begin(), w);
    return w.hwnd;
}

void PlayAdd(std::uint32_t index) {
    const os::Hwnd h = sim::AddWindow(g_windows.pendingAdds[index]);
    sim::Log("world add " + sim::DescribeWindow(h));
}

void PlayRemove(std::uint32_t index) {
    const auto& [cls, title] = g_windows.pendingRemoves[index];
    if (os::Hwnd h = sim::FindExact(cls, title)) {
        sim::Log("world remove " + sim::DescribeWindow(h));
        sim::RemoveWindow(h);
    }
}

void PlayChange(std::uint32_t index) {
    const auto& c = g_windows.pendingChanges[index];
    const os::Hwnd h = sim::FindExact(c.className, c.title);
    if (!h) return;
    if (c.titleChange) {
        sim::SetWindowTitle(h, c.newTitle);
        sim::Log("world title " + sim::DescribeWindow(h));
    } else {
        sim::SetWindowVisible(h, c.visible);
        sim::Log(std::string(c.visible ? "world show " : "world hide ") + sim::DescribeWindow(h));
    }
}

os::Hwnd TopVisible() {
    for (const auto& w : g_windows.zorder)
        if (w.visible) return w.hwnd;
    return 0;
}

}  // namespace

namespace sim {
namespace world {

Window* Find(os::Hwnd hwnd) {
    const int i = IndexOf(hwnd);
    return i < 0 ? nullptr : &g_windows.zorder[i];
}

os::WndProc ProcOf(os::Hwnd hwnd) {
    const Window* w = Find(hwnd);
    return w ? w->proc : nullptr;
}

void DestroyOwnedBy(os::Hwnd owner) {
    for (;;) {
        os::Hwnd owned = 0;
        for (const auto& w : g_windows.zorder)
            if (w.ownedBy == owner && owner != 0) owned = w.hwnd;
        if (owned == 0) return;
        sim::Log("destroywindow " + sim::DescribeWindow(owned) + " with its owner");
        if (os::WndProc proc = ProcOf(owned)) proc(owned, os::WM_DESTROY, 0, 0);
        Destroy(owned);
    }
}

void Destroy(os::Hwnd hwnd) {
    if (IndexOf(hwnd) < 0) return;
    DestroyOwnedBy(hwnd);
    const int i = IndexOf(hwnd);
    if (i < 0) return;
    g_windows.zorder.erase(g_windows.zorder.begin() + i);
    ForgetTimersOf(hwnd);
    // Windows hands the foreground on to another window.
    if (g_windows.foreground == hwnd) g_windows.foreground = TopVisible();
    if (g_windows.active == hwnd) g_windows.active = 0;
}

os::Hwnd AddProgramWindow(const std::string& className, const std::string& title, bool visible,
                          os::WndProc proc) {
    Window w;
    w.className = className;
    w.title = title;
    w.owner = "program";
    w.visible = visible;
    w.proc = proc;
    return Insert(w, false);
}

void ResetWindows() { g_windows = Windows(); }

}  // namespace world

os::Hwnd AddWindow(const WindowDesc& desc) {
    world::Window w;
    w.className = desc.className;
    w.title = desc.title;
    w.owner = desc.owner;
    w.visible = desc.visible;
    w.closable = desc.closable;
    return Insert(w, desc.atBottom);
}

void RemoveWindow(os::Hwnd hwnd) { world::Destroy(hwnd); }

void SetWindowTitle(os::Hwnd hwnd, const std::string& title) {
    if (auto* w = world::Find(hwnd)) w->title = title;
}

void SetWindowVisible(os::Hwnd hwnd, bool visible) {
    if (auto* w = world::Find(hwnd)) w->visible = visible;
}

void SetForeground(os::Hwnd hwnd) {
    if (world::Find(hwnd) || hwnd == 0) g_windows.foreground = hwnd;
}

void RefuseForeground(os::Hwnd hwnd, bool refuse) {
    if (auto* w = world::Find(hwnd)) w->refuseForeground = refuse;
}

void AddWindowAt(std::uint32_t time, const WindowDesc& desc) {
    g_windows.pendingAdds.push_back(desc);
    world::Schedule(world::ElapsedAt(time), PlayAdd,
                    static_cast<std::uint32_t>(g_windows.pendingAdds.size() - 1));
}

void RemoveWindowAt(std::uint32_t time, const std::string& className, const std::string& title) {
    g_windows.pendingRemoves.emplace_back(className, title);
    world::Schedule(world::ElapsedAt(time), PlayRemove,
                    static_cast<std::uint32_t>(g_windows.pendingRemoves.size() - 1));
}

void SetWindowTitleAt(std::uint32_t time, const std::string& className, const std::string& title,
                      const std::string& newTitle) {
    g_windows.pendingChanges.push_back({className, title, newTitle, true, true});
    world::Schedule(world::ElapsedAt(time), PlayChange,
                    static_cast<std::uint32_t>(g_windows.pendingChanges.size() - 1));
}

void SetWindowVisibleAt(std::uint32_t time, const std::string& className, const std::string& title,
                        bool visible) {
    g_windows.pendingChanges.push_back({className, title, "", false, visible});
    world::Schedule(world::ElapsedAt(time), PlayChange,
                    static_cast<std::uint32_t>(g_windows.pendingChanges.size() - 1));
}

std::string DescribeWindow(os::Hwnd hwnd) {
    const std::string handle = world::Hex(hwnd, 1);
    const world::Window* w = world::Find(hwnd);
    if (!w) return handle + " (no window)";
    return handle + " " + world::Quote(w->className.c_str()) + " " + world::Quote(w->title.c_str());
}

std::vector<os::Hwnd> TopLevelWindows() {
    std::vector<os::Hwnd> list;
    for (const auto& w : g_windows.zorder) list.push_back(w.hwnd);
    return list;
}

os::Hwnd ActiveWindow() { return g_windows.active; }

void TurnWindowListFor(std::uint32_t steps) { g_windows.turns = steps; }
std::uint32_t WindowWalkSteps() { return g_windows.walkSteps; }

os::Hwnd FindExact(const std::string& className, const std::string& title) {
    for (const auto& w : g_windows.zorder)
        if (w.className == className && w.title == title) return w.hwnd;
    return 0;
}

}  // namespace sim

namespace os {

Hwnd GetDesktopWindow() { return kDesktop; }

Hwnd GetWindow(Hwnd hwnd, std::uint32_t cmd) {
    const auto& z = g_windows.zorder;
    if (cmd == GW_CHILD) return (hwnd == kDesktop && !z.empty()) ? z.front().hwnd : 0;
    if (cmd == GW_HWNDNEXT) {
        ++g_windows.walkSteps;
        const int i = IndexOf(hwnd);
        if (i < 0) return 0;
        if (i + 1 < static_cast<int>(z.size())) return z[i + 1].hwnd;
        if (g_windows.turns == 0) return 0;
        --g_windows.turns;
        return z.front().hwnd;
    }
    return 0;
}

int GetClassNameA(Hwnd hwnd, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    const sim::world::Window* w = sim::world::Find(hwnd);
    const char* text = w ? w->className.c_str() : "";
    const int n = static_cast<int>(std::min<std::size_t>(std::strlen(text), maxCount - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return n;
}

int GetWindowTextA(Hwnd hwnd, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    const sim::world::Window* w = sim::world::Find(hwnd);
    const char* text = w ? w->title.c_str() : "";
    const int n = static_cast<int>(std::min<std::size_t>(std::strlen(text), maxCount - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return n;
}

Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* title) {
    // Only top-level windows exist here; other parents have no children.
    if (parent != 0 && parent != kDesktop) return 0;
    int start = 0;
    if (childAfter != 0) {
        start = IndexOf(childAfter) + 1;
        if (start == 0) return 0;
    }
    const auto& z = g_windows.zorder;
    for (int i = start; i < static_cast<int>(z.size()); ++i) {
        // The stored texts end at their first NUL, as the window's text does.
        if (className && !sim::world::SameIgnoringCase(z[i].className.c_str(), className)) continue;
        if (title && !sim::world::SameIgnoringCase(z[i].title.c_str(), title)) continue;
        return z[i].hwnd;
    }
    return 0;
}

Hwnd FindWindowA(const char* className, const char* title) {
    return FindWindowExA(0, 0, className, title);
}

int IsWindowVisible(Hwnd hwnd) {
    const sim::world::Window* w = sim::world::Find(hwnd);
    return w && w->visible ? 1 : 0;
}

int IsWindow(Hwnd hwnd) { return sim::world::Find(hwnd) ? 1 : 0; }

int SetForegroundWindow(Hwnd hwnd) {
    const std::string line = "foreground " + sim::DescribeWindow(hwnd);
    std::int64_t fault = 0;
    if (sim::world::TakeFault(sim::Call::SetForegroundWindow, &fault)) {
        sim::Log(line + " failed");
        return static_cast<int>(fault);
    }
    const int i = IndexOf(hwnd);
    if (i < 0) {
        sim::Log(line + " failed");
        return 0;
    }
    if (g_windows.zorder[i].refuseForeground ||
        !sim::world::ProgramMayTakeForeground(g_windows.foreground)) {
        sim::Log(line + " refused");
        return 0;
    }
    sim::world::Window w = g_windows.zorder[i];
    g_windows.zorder.erase(g_windows.zorder.begin() + i);
    g_windows.zorder.insert(g_windows.zorder.begin(), w);
    g_windows.foreground = hwnd;
    g_windows.active = hwnd;
    sim::Log(line);
    return 1;
}

Hwnd SetActiveWindow(Hwnd hwnd) {
    const std::string line = "active " + sim::DescribeWindow(hwnd);
    // user32 activates only windows of the calling thread (or one whose
    // input it is attached to).
    const std::uint32_t thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (!sim::world::Find(hwnd) ||
        (thread != GetCurrentThreadId() && !sim::world::InputAttachedTo(thread))) {
        sim::Log(line + " failed");
        return 0;
    }
    const Hwnd previous = g_windows.active;
    g_windows.active = hwnd;
    sim::Log(line);
    return previous;
}

Hwnd GetForegroundWindow() { return g_windows.foreground; }

int BringWindowToTop(Hwnd hwnd) {
    const std::string line = "top " + sim::DescribeWindow(hwnd);
    const int i = IndexOf(hwnd);
    if (i < 0) {
        sim::Log(line + " failed");
        return 0;
    }
    // Only the z-order moves; foreground and active window stay.
    sim::world::Window w = g_windows.zorder[i];
    g_windows.zorder.erase(g_windows.zorder.begin() + i);
    g_windows.zorder.insert(g_windows.zorder.begin(), w);
    sim::Log(line);
    return 1;
}

}  // namespace os
