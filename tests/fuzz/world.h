// A desktop for the program to live in, driven one step at a time by a
// stream of choices: the fuzzer's bytes, or a seeded generator for the soak.
// A step is one world event (a remote press, a TV window coming, going or
// retitled, a power or display notice, a keyboard layout, a box or dialog
// answered later, a boundary call failing, a tray menu choice) and then a
// stretch of virtual time.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program.h"
#include "device/tuner_connection.h"
#include "engine/mouse_emulation.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_input.h"
#include "os/sim/sim_registry.h"

namespace world {

// The fuzzer's bytes while they last (then zeros), or xorshift64* from a seed.
struct Choices {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    std::uint64_t state = 0;

    bool Exhausted() const { return data != nullptr && at >= size; }
    std::uint8_t Byte() {
        if (data != nullptr) return at < size ? data[at++] : 0;
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<std::uint8_t>((state * 0x2545F4914F6CDD1DULL) >> 56);
    }
    std::string Bytes(std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(Byte());
        return s;
    }
};

struct Named {
    const char* cls;
    const char* title;
};
// The TV applications' main windows, then forms the key maps look for.
const Named kWindows[] = {
    {"TarvelMainPanel_Class", "TVR"},
    {"TarvelMainPanel_Class", "Orbisk Center"},
    {"AnyClass", "Dravune"},
    {"eHome Render Window", "Windows Media Center"},
    {"ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "Arcsoft TotalMedia"},
    {"_MIRACLE_20090309_1", "Arcsoft TV 5.0"},
    {"AnyClass", "PowerCinema"},
    {"TVEnhance", "TV Enhance"},
    {"TPopupForm", "Popup"},
    {"TarvelPlayer_Class", "PictureView"},
    {"Dravune", "PictureView"},
    {"Dravune", "Playback"},
    {"TWizardForm", "WizardForm"},
    {"TDialogForm", "Dialog"},
    {"PlayerMainWindow", "Player - TV"},  // the key-map file's application
};
constexpr std::size_t kWindowCount = sizeof kWindows / sizeof kWindows[0];

struct Install {
    const char* key;
    const char* value;
    const char* dir;
    const char* exe;  // its start makes kWindows[window] appear
    std::size_t window;
};
const Install kInstalls[] = {
    {"Software\\Tarvel Multimedia\\Mirrow\\Vorn", "AppPath", "C:\\Tarvel\\Mirrow", "Brisel.exe", 0},
    {"Software\\Tarvel Multimedia\\Quessa\\Vorn", "AppPath", "C:\\Tarvel\\Quessa", "Kestrin.exe", 1},
    {"Software\\Tarvel Multimedia\\Pelko", "AppPath", "C:\\Tarvel\\Pelko", "Nolvo.exe", 2},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident", "C:\\windows\\ehome",
     "ehshell.exe", 3},
    {"SOFTWARE\\ArcSoft\\TotalMedia", "AppPath", "C:\\ArcSoft\\TotalMedia", "TotalMedia.exe", 4},
    {"SOFTWARE\\ArcSoft\\ArcSoft TV\\5.0", "AppPath", "C:\\ArcSoft\\TV5", "TotalMediaTV5.exe", 5},
    {"SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "C:\\CyberLink\\PowerCinema", "PowerCinema.exe", 6},
    {"SOFTWARE\\CyberLink\\TVEnhance", "InstallPath", "C:\\CyberLink\\TVEnhance", "TVEnhance.exe", 7},
};

struct Board {
    const char* hardwareId;
    sim::FilterCategory category;
    const char* filter;
    sim::DriverBoard driver;
};
const Board kBoards[] = {
    {"PCI\\VEN_1131&DEV_7133&SUBSYS_33047F43", sim::FilterCategory::Capture,
     "713x BDA Analog Capture", {6, true, true, false, 0x7134}},
    {"PCI\\VEN_1131&DEV_7130&SUBSYS_30014A10", sim::FilterCategory::Capture,
     "Philips Cap713x Video Capture", {6, true, false, false, 0x7134}},
    {"PCI\\VEN_1131&DEV_7160&SUBSYS_60014A10", sim::FilterCategory::MainDevice,
     "7160 BDA Main Device0", {3, true, true, false, 0x7162}},
};

const char kSettingsKey[] = "Software\\Tarvel Multimedia\\RI Darer Izaz Ivararadi";
const std::uint32_t kAppCodes[] = {2, 4, 5, 6, 7, 8, 9, 10, 100};
const char kKeymapPath[] = "C:\\Users\\User\\AppData\\Roaming\\Remote Control\\RemoteControl.ini";
const char kPlayerExe[] = "C:\\Program Files\\Player\\player.exe";
const char* const kRepeats[] = {"every", "tenth", "none"};
const std::uint32_t kPowerEvents[] = {0, 2, 4, 6, 7, 18, 4, 7};
const int kScreenWidths[] = {640, 800, 1024, 1152, 1280, 1600, 1920, 1};

struct World {
    Choices c;
    os::Hwnd main = 0;
    struct Name {
        std::string cls, title;
    };
    std::vector<Name> seen;  // windows added, as last named; scheduled changes find them by name
    std::uint32_t presses = 0;
    char step[160] = "start-up";

    // The world before the program starts; false when it did not start.
    bool Start(std::uint32_t startTime) {
        sim::Reset(startTime);
        g_Tuner = {0, nullptr, nullptr, nullptr, 0x7164, 0, 0};
        g_Board = {7, 2, 1};
        bMouseButtonHeld = 0;
        const Board& board = kBoards[c.Byte() % 3];
        sim::AddDevice(std::vector<std::string>{board.hardwareId});
        sim::FilterDesc filter;
        filter.friendlyName = board.filter;
        sim::AddFilterDevice(board.category, filter);
        sim::SetDriverBoard(board.driver);
        sim::SetRegDword(kSettingsKey, "DefaultTVAPP", kAppCodes[c.Byte() % 9]);
        sim::SetRegDword(kSettingsKey, "Default41keyIR", 1 + c.Byte() % 4);
        const std::uint8_t installed = c.Byte();
        for (std::size_t i = 0; i < 8; ++i) {
            if (!(installed & (1u << i))) continue;
            const Install& in = kInstalls[i];
            sim::SetRegString(in.key, in.value, i == 3 ? "5.0" : in.dir);
            const Named& w = kWindows[in.window];
            sim::SetLaunchWindow(std::string(in.dir) + "\\" + in.exe,
                                 sim::WindowDesc{w.cls, w.title, true, "", false, true},
                                 c.Byte() * 8u);
        }
        const std::uint8_t player = c.Byte();
        if (player & 1) {
            // A user application of the key-map file, with a key that waits.
            sim::SetFileContent(kKeymapPath, std::string("[app:Player]\r\nclass = PlayerMainWindow\r\n"
                                             "title prefix = Player -\r\nexe = ") + kPlayerExe +
                                             "\r\nrepeat = " + kRepeats[player / 2 % 3] +
                                             "\r\n11 = Space\r\n24 = post 0x8001 7 0\r\n"
                                             "25 = Alt+F4\r\n31 = Escape, once\r\n");
            if (player & 8)
                sim::SetLaunchWindow(kPlayerExe, {"PlayerMainWindow", "Player - TV", true, "", false, true},
                                     c.Byte() * 8u);
        }
        sim::LockForeground(c.Byte() & 1);
        main = ProgramStartUp(0x400000);
        sim::Run(0);  // the message loop's first turn
        return main != 0;
    }

    void Window(const std::string& cls, const std::string& title, std::uint8_t flags) {
        // A desktop holds a few dozen windows, not thousands.
        std::vector<os::Hwnd> others;
        for (os::Hwnd hwnd : sim::TopLevelWindows())
            if (os::GetWindowThreadProcessId(hwnd, nullptr) != os::GetCurrentThreadId()) others.push_back(hwnd);
        if (others.size() >= 24) sim::RemoveWindow(others[c.Byte() % others.size()]);
        sim::WindowDesc desc{cls, title, !(flags & 1), (flags & 2) ? "tv" : "", (flags & 4) != 0,
                             (flags & 8) != 0};
        sim::AddWindowAt(Later(), desc);
    }

    // Within the next 2 s: often inside a tick's sleep or a box's loop.
    std::uint32_t Later() { return sim::Now() + c.Byte() * 8u; }

    Name Pick() {
        if (seen.empty() || c.Byte() & 1) {
            const Named& w = kWindows[c.Byte() % kWindowCount];
            return {w.cls, w.title};
        }
        return seen[c.Byte() % seen.size()];
    }

    void Remember(const Name& w) {
        if (seen.size() < 32) seen.push_back(w);
        else seen[c.Byte() % seen.size()] = w;
    }

    // Over-long and non-ASCII names included.
    std::string OddName() { return c.Bytes(c.Byte() % 4 == 0 ? 100 + c.Byte() * 2u : c.Byte() % 24); }

    void Note(const char* format, unsigned a = 0, unsigned b = 0, unsigned d = 0) {
        std::snprintf(step, sizeof step, format, a, b, d);
    }

    // One event, then time passes. The caller checks the invariants.
    void Step() {
        const std::uint8_t kind = c.Byte();
        if (kind < 128) {
            std::uint8_t code = c.Byte();
            code = code >= 192 ? c.Byte() : code % 64;
            const std::uint32_t hold = c.Byte() * 4u;
            const std::uint32_t at = Later();  // may fall inside a box, a dialog or a sleep
            sim::PressKeyAt(at, code, hold);
            ++presses;
            Note("press %u at %u hold %u", code, at, hold);
        } else if (kind < 148) {
            const Named& w = kWindows[c.Byte() % kWindowCount];
            Window(w.cls, w.title, c.Byte());
            Remember({w.cls, w.title});
            Note("window %u appears", static_cast<unsigned>(&w - kWindows));
        } else if (kind < 164) {
            const Name w = Pick();
            sim::RemoveWindowAt(Later(), w.cls, w.title);
            Note("a window goes");
        } else if (kind < 172) {
            const Name w = Pick();
            const Name to = {w.cls, c.Byte() & 1 ? OddName() : kWindows[c.Byte() % kWindowCount].title};
            sim::SetWindowTitleAt(Later(), w.cls, w.title, to.title);
            Remember(to);
            Note("a window is retitled");
        } else if (kind < 176) {
            const Name w = Pick();
            sim::SetWindowVisibleAt(Later(), w.cls, w.title, c.Byte() & 1);
            Note("a window shows or hides");
        } else if (kind < 184) {
            const Name w = {OddName(), OddName()};
            Window(w.cls, w.title, c.Byte());
            Remember(w);
            Note("a window of odd class and title appears");
        } else if (kind < 190) {
            const std::uint8_t what = c.Byte();
            const Name w = Pick();
            const os::Hwnd hwnd = sim::FindExact(w.cls, w.title);
            if (what % 3 == 0) sim::LockForeground(what & 4);
            else if (what % 3 == 1 && hwnd != 0) sim::RefuseForeground(hwnd, what & 4);
            else if (hwnd != 0) sim::SetForeground(hwnd);
            Note("foreground change %u", what % 3);
        } else if (kind < 200) {
            const std::uint32_t event = kPowerEvents[c.Byte() % 8];
            sim::BroadcastAt(Later(), os::WM_POWERBROADCAST, event);
            Note("power notice %u", event);
        } else if (kind < 206) {
            const std::uint8_t what = c.Byte();
            if (what & 1) {
                sim::SetAltGrLayout(what & 2);
            } else {
                const int width = kScreenWidths[what / 2 % 8];
                const int height = width * 3 / 4 + (what & 64 ? 1 : 0);
                sim::SetScreen(width, height);
                sim::BroadcastAt(Later(), os::WM_DISPLAYCHANGE, 32, width | height << 16);
            }
            Note("layout or display change %u", what);
        } else if (kind < 216) {
            const int answers[] = {1, 2, 6, 7};
            const int answer = answers[c.Byte() % 4];
            const std::uint32_t after = c.Byte() * 16u;
            sim::AnswerMessageBox(answer, after);
            Note("next box answered %u after %u ms", answer, after);
        } else if (kind < 224) {
            const std::uint8_t what = c.Byte();
            const std::uint32_t after = c.Byte() * 16u;
            if (what & 1) sim::CloseDialogAt(sim::Now() + after);
            else sim::PressDialogButton(1 + (what >> 1) % 2, after);
            Note("next dialog answered (%u) after %u ms", what & 3, after);
        } else if (kind < 240) {
            Fault();
        } else if (kind < 244) {
            const std::uint8_t what = c.Byte();
            sim::SetShutdownPrivilegeHeld(what & 1);
            sim::SetExitWindowsResult(what & 2 ? 0 : 1);
            sim::SetProcessTokenOpens(!(what & 4));
            Note("power-off %u", what & 7);
        } else if (kind < 248) {
            const std::uint32_t items[] = {0, 30, 32, 1101, 1102, 1103, 1104, 1105, 1106, 1107, 1108};
            const std::uint32_t item = items[c.Byte() % 11];
            const std::uint32_t at = Later();
            sim::ClickTrayIconAt(at, sim::TrayClick::Right);
            sim::ChooseMenuItemAt(at + 10, item);
            if (item == 32) {
                sim::PickComboEntryAt(at + 20, 11, c.Byte() % 8);
                if (c.Byte() & 1) sim::PressDialogButtonAt(at + 30, 1);
            }
            Note("tray menu item %u", item);
        } else if (kind < 252) {
            sim::TurnWindowListFor(c.Byte());
            Note("the window list turns");
        } else {
            Note("idle");
        }
        sim::Run(c.Byte() * 4u);
        sim::ClearEffects();
    }

    void Fault() {
        const std::uint8_t what = c.Byte();
        const int count = 1 + c.Byte() % 4;
        switch (what % 5) {
        case 0: sim::FailNext(sim::Call::SetTimer, 0, count); break;
        case 1: sim::FailNext(sim::Call::PostMessageA, 0, count); break;
        case 2: sim::FailNext(sim::Call::SetForegroundWindow, 0, count); break;
        case 3: sim::FailNext(sim::Call::ShellExecuteA, what & 8 ? 31 : 2, count); break;
        default:
            sim::FailNext(sim::Call::KsProperty, what & 8 ? 1 : static_cast<std::int32_t>(0x80004005u),
                          count);
            break;
        }
        Note("the next %u calls of boundary call %u fail", count, what % 5);
    }
};

}  // namespace world
