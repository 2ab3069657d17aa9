// Scenario lines: the world (windows, board, tuner, registry, host) and the
// timeline (presses, windows coming and going, message-box answers, runs).
#include "scenario.h"
#include "scenario_lines.h"

#include <cstdlib>
#include <sstream>

#include "device/tuner_connection.h"
#include "os/registry.h"
#include "os/sim/sim.h"
#include "os/sim/sim_devices.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_input.h"
#include "os/sim/sim_registry.h"
#include "os/sim/sim_shell.h"

namespace rcsim {
namespace {

// The shell's taskbar: `shell none` (world); `at <ms> shell start [quiet]`
// and `at <ms> explorer restart` (timeline, words from `at`).
bool ShellWorld(const Words& w, std::string* error) {
    if (w.size() == 2 && w[1] == "none") {
        sim::SetShellRunning(false);
        return true;
    }
    *error = "expected shell none";
    return false;
}

bool ShellTimeline(const Words& w, std::uint32_t time, std::string* error) {
    if (w[2] == "shell" && (w.size() == 4 || (w.size() == 5 && w[4] == "quiet")) && w[3] == "start") {
        sim::StartShellAt(time, w.size() == 4);
        return true;
    }
    if (w[2] == "explorer" && w.size() == 4 && w[3] == "restart") {
        sim::RestartExplorerAt(time);
        return true;
    }
    *error = "expected at <ms> shell start [quiet] or at <ms> explorer restart";
    return false;
}

// ---- the user at the tray icon, its menu and its dialogs:
// at <ms> tray click left|right|double
// at <ms> menu choose <id> | menu dismiss
// at <ms> dialog pick <combo> <index> | dialog close
// False when the line is none of these.
bool UserLine(const Words& w, std::uint32_t time, std::string* error) {
    std::uint32_t a = 0, b = 0;
    if (w[2] == "tray" && w.size() == 5 && w[3] == "click") {
        if (w[4] == "left") sim::ClickTrayIconAt(time, sim::TrayClick::Left);
        else if (w[4] == "right") sim::ClickTrayIconAt(time, sim::TrayClick::Right);
        else if (w[4] == "double") sim::ClickTrayIconAt(time, sim::TrayClick::Double);
        else *error = "expected at <ms> tray click left|right|double";
        return true;
    }
    if (w[2] == "menu" && w.size() == 5 && w[3] == "choose" && Number(w[4], &a)) {
        sim::ChooseMenuItemAt(time, a);
        return true;
    }
    if (w[2] == "menu" && w.size() == 4 && w[3] == "dismiss") {
        sim::ChooseMenuItemAt(time, 0);
        return true;
    }
    if (w[2] == "dialog" && w.size() == 6 && w[3] == "pick" && Number(w[4], &a) && Number(w[5], &b) &&
        a <= 0xFFFF && b <= 0x7FFFFFFF) {
        sim::PickComboEntryAt(time, static_cast<int>(a), static_cast<int>(b));
        return true;
    }
    if (w[2] == "dialog" && w.size() == 4 && w[3] == "close") {
        sim::CloseDialogAt(time);
        return true;
    }
    return false;
}

bool Timeline(const Words& w, Scenario* s, std::string* error) {
    std::uint32_t at = 0;
    if (w.size() < 3 || !Number(w[1], &at)) {
        *error = "expected at <ms> ...";
        return false;
    }
    const std::uint32_t time = s->start + at;
    std::uint32_t extra = 0;
    if (w[2] == "press") {
        std::uint32_t code = 0, hold = 60;
        if (w.size() < 4 || !Number(w[3], &code) || code > 255 ||
            (w.size() == 6 && (w[4] != "hold" || !Number(w[5], &hold))) ||
            (w.size() != 4 && w.size() != 6)) {
            *error = "expected at <ms> press <code> [hold <ms>]";
            return false;
        }
        sim::PressKeyAt(time, static_cast<std::uint8_t>(code), hold);
        extra = hold;
    } else if (w[2] == "window" && w.size() >= 4 && w[3] == "add") {
        sim::WindowDesc desc;
        if (!WindowFrom(w, 4, &desc, error)) return false;
        sim::AddWindowAt(time, desc);
    } else if (w[2] == "window" && w.size() == 6 && w[3] == "remove") {
        sim::RemoveWindowAt(time, w[4], w[5]);
    } else if (w[2] == "window" && w.size() == 7 && w[3] == "title") {
        sim::SetWindowTitleAt(time, w[4], w[5], w[6]);
    } else if (w[2] == "window" && w.size() == 6 && (w[3] == "show" || w[3] == "hide")) {
        sim::SetWindowVisibleAt(time, w[4], w[5], w[3] == "show");
    } else if (w[2] == "power" && w.size() == 4 && Number(w[3], &extra)) {
        sim::BroadcastAt(time, os::WM_POWERBROADCAST, extra);
        extra = 0;
    } else if (w[2] == "dialog" && w.size() == 5 && w[3] == "press" && Number(w[4], &extra)) {
        sim::PressDialogButtonAt(time, static_cast<int>(extra));
        extra = 0;
    } else if (w[2] == "messagebox" && w.size() == 5 && w[3] == "answer" && Number(w[4], &extra)) {
        sim::AnswerMessageBoxAt(time, static_cast<int>(extra));
        extra = 0;
    } else if (w[2] == "reg") {
        // another program changes a value while this one runs
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        if (!RegValueFrom(w, 3, &type, &data, error)) return false;
        sim::SetRegValueAt(time, w[3], w[4], type, data);
    } else if (w[2] == "shell" || w[2] == "explorer") {
        if (!ShellTimeline(w, time, error)) return false;
    } else if (UserLine(w, time, error)) {
        if (!error->empty()) return false;
    } else {
        *error = "unknown timeline line";
        return false;
    }
    if (at + extra > s->lastEvent) s->lastEvent = at + extra;
    return true;
}

bool Line(const Words& w, Scenario* s, std::string* error) {
    const std::string& k = w[0];
    std::uint32_t n = 0;
    if (k == "start") return true;  // read by ReadStart
    if (k == "at") return Timeline(w, s, error);
    if (k == "run" && w.size() == 2 && Number(w[1], &n)) {
        s->runs.push_back(n);
        return true;
    }
    if (k == "program" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
        s->startProgram = w[1] == "on";
        return true;
    }
    if (k == "window") {
        sim::WindowDesc desc;
        if (!WindowFrom(w, 1, &desc, error)) return false;
        sim::AddWindow(desc);
        return true;
    }
    if (k == "foreground" && w.size() == 3) {
        sim::SetForeground(sim::FindExact(w[1], w[2]));
        return true;
    }
    if (k == "refuse" && w.size() == 3) {
        sim::RefuseForeground(sim::FindExact(w[1], w[2]));
        return true;
    }
    if (k == "foregroundlock" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
        sim::LockForeground(w[1] == "on");
        return true;
    }
    if (k == "shell") return ShellWorld(w, error);
    if (k == "board") return Board(w, error);
    if (k == "device" && w.size() >= 2) {
        sim::AddDevice(Words(w.begin() + 1, w.end()));
        return true;
    }
    if (k == "filter") return Filter(w, error);
    if (k == "tuner") return Tuner(w, error);
    if (k == "reg") return Registry(w, error);
    if (k == "windir" && w.size() == 2) {
        sim::SetWindowsDirectory(w[1]);
        return true;
    }
    if (k == "file" && w.size() == 2) {
        sim::SetFileExists(w[1]);
        return true;
    }
    if (k == "keymap" && w.size() == 2) return true;  // read by ApplyKeymapFiles
    if (k == "appdata" && w.size() == 2) {
        sim::SetAppDataFolder(w[1] == "none" ? std::string() : w[1]);
        return true;
    }
    if (k == "exepath" && w.size() == 2) {
        sim::SetModuleFileName(w[1]);
        return true;
    }
    if (k == "shellresult" && w.size() == 2 && Number(w[1], &n)) {
        sim::SetShellExecuteResult(n);
        return true;
    }
    if (k == "launch" && w.size() >= 4) {
        sim::WindowDesc desc;
        std::uint32_t after = 500;
        Words rest(w.begin(), w.end());
        if (rest.size() >= 6 && rest[rest.size() - 2] == "after") {
            if (!Number(rest.back(), &after)) {
                *error = "bad launch delay";
                return false;
            }
            rest.resize(rest.size() - 2);
        }
        if (!WindowFrom(rest, 2, &desc, error)) return false;
        sim::SetLaunchWindow(w[1], desc, after);
        return true;
    }
    if (k == "messagebox" && w.size() == 5 && w[1] == "answer" && w[3] == "after") {
        std::uint32_t result = 0;
        if (Number(w[2], &result) && Number(w[4], &n)) {
            sim::AnswerMessageBox(static_cast<int>(result), n);
            return true;
        }
    }
    if (k == "keyboard" && w.size() == 2 && (w[1] == "us" || w[1] == "altgr")) {
        sim::SetAltGrLayout(w[1] == "altgr");
        return true;
    }
    if (k == "logdriver" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
        sim::LogDriverRequests(w[1] == "on");
        return true;
    }
    if (k == "token" && w.size() == 2 && (w[1] == "noprivilege" || w[1] == "fail")) {
        if (w[1] == "fail")
            sim::SetProcessTokenOpens(false);
        else
            sim::SetShutdownPrivilegeHeld(false);
        return true;
    }
    // winver <major> <minor> <build> [9x|nt]: the platform defaults to NT.
    if (k == "winver" && (w.size() == 4 || (w.size() == 5 && (w[4] == "9x" || w[4] == "nt")))) {
        sim::WindowsVersion v;
        if (w.size() == 5 && w[4] == "9x") v.platformId = 1;  // VER_PLATFORM_WIN32_WINDOWS
        if (Number(w[1], &v.major) && Number(w[2], &v.minor) && Number(w[3], &v.build)) {
            sim::SetWindowsVersion(v);
            return true;
        }
    }
    // screen <width> <height>: the primary display, in pixels
    if (k == "screen" && w.size() == 3) {
        std::uint32_t width = 0, height = 0;
        if (Number(w[1], &width) && Number(w[2], &height) && width > 0 && height > 0 &&
            width <= 0x7FFF && height <= 0x7FFF) {
            sim::SetScreen(static_cast<int>(width), static_cast<int>(height));
            return true;
        }
    }
    *error = "unknown or malformed line '" + k + "'";
    return false;
}

template <typename Visit>
bool EachLine(const std::string& text, std::string* error, Visit visit) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsKeymapContentLine(line)) continue;  // file text, read by ApplyKeymapFiles
        Words words;
        std::string why;
        if (!SplitWords(line, &words, &why) || (!words.empty() && !visit(words, &why))) {
            *error = std::to_string(number) + ": " + why;
            return false;
        }
    }
    return true;
}

}  // namespace

bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '"') ++i;
                word += line[i];
            }
            if (i >= line.size()) {
                *error = "unterminated quote";
                return false;
            }
            ++i;
            words->push_back(word);
        } else {
            const std::size_t end = line.find_first_of(" \t#", i);
            words->push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return true;
}

bool ReadStart(const std::string& text, std::uint32_t* start, std::string* error) {
    return EachLine(text, error, [start](const Words& w, std::string* why) {
        if (w[0] != "start") return true;
        if (w.size() == 2 && Number(w[1], start)) return true;
        *why = "expected start <ms>";
        return false;
    });
}

bool Apply(const std::string& text, Scenario* scenario, std::string* error) {
    if (!ApplyKeymapFiles(text, error)) return false;
    return EachLine(text, error, [scenario](const Words& w, std::string* why) {
        return Line(w, scenario, why);
    });
}

}  // namespace rcsim
