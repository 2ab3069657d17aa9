// Simulated modal dialogs: the three templates, their controls, and a modal
// loop that keeps the scheduler running until EndDialog, while a scripted
// user presses buttons, picks combo-box entries or types.
#include "os/sim/sim_dialogs.h"

#include <cstring>
#include <limits>
#include <deque>
#include <vector>

#include "os/dialogs.h"
#include "os/sim/sim_world.h"

namespace {

enum class Kind : std::uint8_t { Button, Combo, Static };

struct TemplateControl {
    int id;
    Kind kind;
    const char* text;
};
struct Template {
    std::uint32_t id;
    const char* title;
    std::vector<TemplateControl> controls;
};
// The templates as the resource script gives them (controls the program
// reaches by id).
const Template kTemplates[] = {
    {20, "Remote Control - Setting", {{1, Kind::Button, "OK"}, {11, Kind::Combo, ""}}},
    {21, "Remote Control - About", {{1, Kind::Button, "OK"}}},
    {107, "Remote Control - Shut Down", {{1, Kind::Button, "OK"}, {2, Kind::Button, "Cancel"}}},
};

struct Control {
    int id;
    Kind kind;
    os::Hwnd hwnd;
    std::string text;
    std::vector<std::string> entries;
    int selection = os::CB_ERR;
};

struct Dialog {
    os::Hwnd hwnd;
    std::uint32_t templateId;
    os::DlgProc proc;
    std::vector<Control> controls;
    bool ended = false;
    std::int32_t result = 0;
};

enum class Act : std::uint8_t { Press, Pick, Type, Close };
struct Action {
    Act act;
    int id;
    int index;
    std::string text;
    bool absolute;
    std::uint64_t at;       // elapsed time when absolute
    std::uint32_t afterMs;  // else: after its turn comes
};

struct Dialogs {
    std::deque<Dialog> open;  // innermost last
    std::deque<Action> actions;
    bool actionTimed = false;  // the front action has its time
    std::uint64_t actionAt = 0;
    os::Hwnd nextControl = 0x50000;
};
Dialogs g_dialogs;

const bool g_registered = (sim::AddResetHook([] { g_dialogs = Dialogs(); }), true);

const Template* FindTemplate(std::uint32_t id) {
    for (const Template& t : kTemplates)
        if (t.id == id) return &t;
    return nullptr;
}

Dialog* FindDialog(os::Hwnd hwnd) {
    for (Dialog& d : g_dialogs.open)
        if (d.hwnd == hwnd) return &d;
    return nullptr;
}

Control* FindControl(os::Hwnd dlg, int id) {
    Dialog* d = FindDialog(dlg);
    if (!d) return nullptr;
    for (Control& c : d->controls)
        if (c.id == id) return &c;
    return nullptr;
}

std::string Name(os::Hwnd dlg) { return sim::DescribeWindow(dlg); }

// Apart from the message boxes' keys, which count up from 1.
std::uint64_t DialogKey(os::Hwnd dlg) { return std::uint64_t{1} << 40 | static_cast<std::uint64_t>(dlg); }

std::uint32_t Command(int id, std::uint32_t notification) {
    return (notification << 16) | static_cast<std::uint32_t>(id & 0xFFFF);
}

// Sends through the procedure, as the dialog manager does for a click.
void Notify(os::Hwnd dlg, int id, std::uint32_t notification) {
    if (Dialog* d = FindDialog(dlg)) d->proc(dlg, os::WM_COMMAND, Command(id, notification), 0);
}

// The dialog's window procedure: the program's dialog procedure, then
// what DefDlgProc does for WM_CLOSE (the close box, a WM_CLOSE posted by
// someone else) when it was not handled: WM_COMMAND IDCANCEL.
std::int32_t DialogWindowProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                              std::int32_t lParam) {
    Dialog* d = FindDialog(dlg);
    if (!d) return 0;
    const os::DlgProc proc = d->proc;
    const std::int32_t handled = proc(dlg, msg, wParam, lParam);
    if (msg == os::WM_CLOSE && handled == 0) proc(dlg, os::WM_COMMAND, os::IDCANCEL, 0);
    return handled;
}

void Perform(os::Hwnd dlg, const Action& a) {
    constexpr std::uint32_t BN_CLICKED = 0, CBN_SELCHANGE = 1, CBN_EDITCHANGE = 5;
    Control* c = FindControl(dlg, a.id);
    switch (a.act) {
    case Act::Press:
        sim::Log("user press " + std::to_string(a.id) + " in " + Name(dlg));
        Notify(dlg, a.id, BN_CLICKED);
        return;
    case Act::Pick:
        sim::Log("user pick " + std::to_string(a.index) + " in combo " + std::to_string(a.id) + " of " +
                 Name(dlg));
        if (!c || a.index < 0 || a.index >= static_cast<int>(c->entries.size())) return;
        c->selection = a.index;
        c->text = c->entries[a.index];
        Notify(dlg, a.id, CBN_SELCHANGE);
        return;
    case Act::Type:
        sim::Log("user type " + sim::world::Quote(a.text.c_str()) + " in " + std::to_string(a.id) +
                 " of " + Name(dlg));
        if (!c) return;
        // Typing into a drop-down's edit field leaves no entry selected.
        c->text = a.text;
        c->selection = os::CB_ERR;
        Notify(dlg, a.id, CBN_EDITCHANGE);
        return;
    case Act::Close:
        sim::Log("user closes " + Name(dlg));
        DialogWindowProc(dlg, os::WM_CLOSE, 0, 0);
        return;
    }
}

// When the front action is due, fixing its time the first time it is asked.
std::uint64_t FrontActionAt() {
    if (!g_dialogs.actionTimed) {
        const Action& a = g_dialogs.actions.front();
        g_dialogs.actionAt = a.absolute ? a.at : sim::world::Elapsed() + a.afterMs;
        g_dialogs.actionTimed = true;
    }
    return g_dialogs.actionAt;
}

// The modal loop of the innermost dialog `hwnd`: 1 ms slices, so that an
// EndDialog inside a nested timer ends the loop at that moment.
void RunModal(os::Hwnd hwnd) {
    for (;;) {
        Dialog* d = FindDialog(hwnd);
        if (!d || d->ended) return;
        // Destroyed with its owner, or WM_QUIT arrived: the loop ends, as
        // the dialog manager's does (and the quit stays posted).
        if (!sim::world::Find(hwnd)) return;
        if (sim::world::QuitPending()) {
            sim::Log("WM_QUIT ends the modal loop of " + Name(hwnd));
            return;
        }
        const bool hasAction = !g_dialogs.actions.empty();
        std::uint64_t limit = sim::world::RunDeadline();
        // Opened outside any run: the user's actions set the pace.
        if (limit == std::numeric_limits<std::uint64_t>::max() && !hasAction)
            limit = sim::world::Elapsed();
        const std::uint64_t target = hasAction ? std::min(FrontActionAt(), limit) : limit;
        if (sim::world::Elapsed() >= target) {
            if (hasAction && FrontActionAt() <= sim::world::Elapsed()) {
                const Action a = g_dialogs.actions.front();
                g_dialogs.actions.pop_front();
                g_dialogs.actionTimed = false;
                Perform(hwnd, a);
                continue;
            }
            sim::Log("dialog still open at end of run, user closes " + Name(hwnd));
            Notify(hwnd, os::IDCANCEL, 0);
            if (Dialog* again = FindDialog(hwnd); again && !again->ended) again->ended = true;
            return;
        }
        sim::world::Pump(std::min(sim::world::Elapsed() + 1, target), false);
    }
}

}  // namespace

namespace sim {

void PressDialogButton(int id, std::uint32_t afterMs) {
    g_dialogs.actions.push_back(Action{Act::Press, id, 0, {}, false, 0, afterMs});
}
void PickComboEntry(int id, int index, std::uint32_t afterMs) {
    g_dialogs.actions.push_back(Action{Act::Pick, id, index, {}, false, 0, afterMs});
}
void TypeDialogText(int id, const std::string& text, std::uint32_t afterMs) {
    g_dialogs.actions.push_back(Action{Act::Type, id, 0, text, false, 0, afterMs});
}
void PressDialogButtonAt(std::uint32_t time, int id) {
    g_dialogs.actions.push_back(Action{Act::Press, id, 0, {}, true, world::ElapsedAt(time), 0});
}
void PickComboEntryAt(std::uint32_t time, int id, int index) {
    g_dialogs.actions.push_back(Action{Act::Pick, id, index, {}, true, world::ElapsedAt(time), 0});
}
void CloseDialogAt(std::uint32_t time) {
    g_dialogs.actions.push_back(Action{Act::Close, 0, 0, {}, true, world::ElapsedAt(time), 0});
}

int OpenDialogCount() { return static_cast<int>(g_dialogs.open.size()); }

os::Hwnd OpenDialog() { return g_dialogs.open.empty() ? 0 : g_dialogs.open.back().hwnd; }

std::vector<std::string> ComboEntries(os::Hwnd dlg, int id) {
    const Control* c = FindControl(dlg, id);
    return c ? c->entries : std::vector<std::string>();
}

int ComboSelection(os::Hwnd dlg, int id) {
    const Control* c = FindControl(dlg, id);
    return c ? c->selection : os::CB_ERR;
}

std::string DialogItemText(os::Hwnd dlg, int id) {
    const Control* c = FindControl(dlg, id);
    return c ? c->text : std::string();
}

}  // namespace sim

namespace os {

std::int32_t DialogBoxParamA(Hinstance instance, std::uint32_t templateId, Hwnd owner, DlgProc proc,
                             std::int32_t initParam) {
    const Template* t = FindTemplate(templateId);
    const std::string ownerText = owner ? " owner=" + sim::DescribeWindow(owner) : std::string();
    if (!t || !proc) {
        sim::Log("dialog " + std::to_string(templateId) + " failed" + ownerText);
        return -1;
    }
    Dialog d;
    d.hwnd = sim::world::AddProgramWindow("#32770", t->title, true, DialogWindowProc);
    if (sim::world::Window* w = sim::world::Find(d.hwnd); w && sim::world::Find(owner))
        w->ownedBy = owner;
    d.templateId = templateId;
    d.proc = proc;
    for (const TemplateControl& c : t->controls)
        d.controls.push_back(Control{c.id, c.kind, g_dialogs.nextControl++, c.text, {}, CB_ERR});
    const Hwnd hwnd = d.hwnd;
    g_dialogs.open.push_back(d);
    sim::Log("dialog " + std::to_string(templateId) + " opens " + sim::DescribeWindow(hwnd) + ownerText);
    sim::world::ModalOpened(DialogKey(hwnd));
    proc(hwnd, WM_INITDIALOG, 0, initParam);
    RunModal(hwnd);
    sim::world::ModalClosed(DialogKey(hwnd));
    std::int32_t result = 0;
    for (auto it = g_dialogs.open.begin(); it != g_dialogs.open.end(); ++it) {
        if (it->hwnd != hwnd) continue;
        result = it->result;
        g_dialogs.open.erase(it);
        break;
    }
    sim::Log("dialog " + std::to_string(templateId) + " closed -> " + std::to_string(result));
    sim::world::Destroy(hwnd);
    return result;
}

int EndDialog(Hwnd dlg, std::int32_t result) {
    Dialog* d = FindDialog(dlg);
    const std::string line = "enddialog " + std::to_string(result) + " " + sim::DescribeWindow(dlg);
    if (!d) {
        sim::Log(line + " failed");
        return 0;
    }
    sim::Log(line);
    d->ended = true;
    d->result = result;
    // Hidden at once; its loop ends when the procedure returns.
    sim::world::ModalClosed(DialogKey(dlg));
    return 1;
}

Hwnd GetDlgItem(Hwnd dlg, int id) {
    const Control* c = FindControl(dlg, id);
    return c ? c->hwnd : 0;
}

int SetDlgItemTextA(Hwnd dlg, int id, const char* text) {
    Control* c = FindControl(dlg, id);
    if (!c) return 0;
    c->text = text ? text : "";
    sim::Log("setdlgitemtext " + std::to_string(id) + " " + sim::world::Quote(c->text.c_str()));
    return 1;
}

int GetDlgItemTextA(Hwnd dlg, int id, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    const Control* c = FindControl(dlg, id);
    const std::string text = c ? c->text : std::string();
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

std::int32_t SendDlgItemMessageA(Hwnd dlg, int id, std::uint32_t msg, std::uint32_t wParam,
                                 std::int32_t lParam) {
    Control* c = FindControl(dlg, id);
    if (!c || c->kind != Kind::Combo) return 0;
    const int count = static_cast<int>(c->entries.size());
    switch (msg) {
    case CB_RESETCONTENT:
        c->entries.clear();
        c->selection = CB_ERR;
        c->text.clear();
        sim::Log("combo " + std::to_string(id) + " reset");
        return 0;
    case CB_GETCURSEL:
        return c->selection;
    case CB_SETCURSEL: {
        const int index = static_cast<int>(wParam);
        const bool valid = index >= 0 && index < count;
        sim::Log("combo " + std::to_string(id) + " select " + std::to_string(index) + " -> " +
                 (valid ? sim::world::Quote(c->entries[index].c_str()) : std::string("none")));
        if (!valid) {
            c->selection = CB_ERR;
            return CB_ERR;
        }
        c->selection = index;
        c->text = c->entries[index];
        return index;
    }
    case CB_GETLBTEXTLEN: {
        const int index = static_cast<int>(wParam);
        return (index < 0 || index >= count) ? CB_ERR
                                             : static_cast<std::int32_t>(c->entries[index].size());
    }
    default:
        return 0;
    }
}

std::int32_t ComboAddString(Hwnd dlg, int id, const char* text) {
    Control* c = FindControl(dlg, id);
    if (!c || c->kind != Kind::Combo || !text) return CB_ERR;
    c->entries.push_back(text);
    sim::Log("combo " + std::to_string(id) + " add " + sim::world::Quote(text));
    return static_cast<std::int32_t>(c->entries.size() - 1);
}

std::int32_t ComboGetLBText(Hwnd dlg, int id, int index, char* buffer, int size) {
    const Control* c = FindControl(dlg, id);
    if (!c || c->kind != Kind::Combo || index < 0 || index >= static_cast<int>(c->entries.size()))
        return CB_ERR;
    const std::string& text = c->entries[index];
    // The real message writes the whole entry; a buffer too small would
    // overflow there, so the simulation refuses it instead.
    if (!buffer || size <= static_cast<int>(text.size())) return CB_ERR;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<std::int32_t>(text.size());
}

int SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    std::string line = "setwindowpos " + sim::DescribeWindow(hwnd) +
                       (insertAfter == HWND_TOPMOST ? " topmost" : "") + " x=" + std::to_string(x) +
                       " y=" + std::to_string(y) + " cx=" + std::to_string(cx) +
                       " cy=" + std::to_string(cy) + " flags=" + sim::world::Hex(flags, 1);
    if (!sim::world::Find(hwnd)) {
        sim::Log(line + " failed");
        return 0;
    }
    sim::Log(line);
    return 1;
}

}  // namespace os
