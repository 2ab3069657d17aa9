// Scenario lines: the world (windows, board, tuner, registry, host) and the
// timeline (presses, windows coming and going, message-box answers, runs).
#include "scenario.h"

#include <cstdlib>
#include <sstream>

#include "device/tuner_connection.h"
#include "os/sim/sim_devices.h"
#include "os/registry.h"
#include "os/sim/sim.h"
#include "os/sim/sim_dialogs.h"
#include "os/sim/sim_devices.h"
#include "os/sim/sim_input.h"
#include "os/sim/sim_registry.h"
#include "os/sim/sim_shell.h"

namespace rcsim {
namespace {

using Words = std::vector<std::string>;

bool Number(const std::string& word, std::uint32_t* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(word.c_str(), &end, 0);
    if (*end != '\0' || v > 0xFFFFFFFFul || word[0] == '-') return false;
    *value = static_cast<std::uint32_t>(v);
    return true;
}

// "key=value" words after the first `from` words.
bool Option(const Words& w, std::size_t from, const std::string& key, std::uint32_t* value,
            bool* bad) {
    for (std::size_t i = from; i < w.size(); ++i)
        if (w[i].compare(0, key.size() + 1, key + "=") == 0) {
            if (!Number(w[i].substr(key.size() + 1), value)) *bad = true;
            return true;
        }
    return false;
}

bool Flag(const Words& w, std::size_t from, const std::string& flag) {
    for (std::size_t i = from; i < w.size(); ++i)
        if (w[i] == flag) return true;
    return false;
}

// `"Class" "Title" [hidden] [bottom] [closable] [owner=NAME]` from word `from`.
bool WindowFrom(const Words& w, std::size_t from, sim::WindowDesc* desc, std::string* error) {
    if (w.size() < from + 2) {
        *error = "expected \"Class\" \"Title\"";
        return false;
    }
    desc->className = w[from];
    desc->title = w[from + 1];
    for (std::size_t i = from + 2; i < w.size(); ++i) {
        if (w[i] == "hidden") desc->visible = false;
        else if (w[i] == "bottom") desc->atBottom = true;
        else if (w[i] == "closable") desc->closable = true;
        else if (w[i].compare(0, 6, "owner=") == 0) desc->owner = w[i].substr(6);
        else {
            *error = "unknown window flag '" + w[i] + "'";
            return false;
        }
    }
    return true;
}

bool Board(const Words& w, std::string* error) {
    sim::DriverBoard board;
    std::uint32_t reader = 2, pin = 6, chip = board.chipId, variant = 1;
    bool bad = false;
    Option(w, 1, "reader", &reader, &bad);
    Option(w, 1, "pin", &pin, &bad);
    Option(w, 1, "chip", &chip, &bad);
    Option(w, 1, "variant", &variant, &bad);
    if (bad || pin > 255 || reader > 255 || chip > 0xFFFF || variant > 255) {
        *error = "bad board option";
        return false;
    }
    board.readyPin = static_cast<std::uint8_t>(pin);
    board.chipId = static_cast<std::uint16_t>(chip);
    board.i2cShifted = Flag(w, 1, "shifted");
    board.answersPins = !Flag(w, 1, "nopins");
    board.answersI2C = !Flag(w, 1, "noi2c");
    sim::SetDriverBoard(board);
    g_Board.nIRReaderType = static_cast<std::uint8_t>(reader);
    g_Board.nIRReadyPin = static_cast<std::uint8_t>(pin);
    g_Board.nBoardVariant = static_cast<std::uint8_t>(variant);
    return true;
}

// tuner capture|main|none ["Friendly Name"]: the card's driver as the
// device enumerator lists it; start-up finds and opens it.
bool Tuner(const Words& w, std::string* error) {
    if (w.size() < 2 || w.size() > 3 || (w[1] != "capture" && w[1] != "main" && w[1] != "none")) {
        *error = "expected tuner capture|main|none [\"Friendly Name\"]";
        return false;
    }
    if (w[1] == "none") return true;
    sim::FilterDesc desc;
    if (w[1] == "capture") {
        desc.friendlyName = w.size() == 3 ? w[2] : "713x BDA Analog Capture";
        sim::AddFilterDevice(sim::FilterCategory::Capture, desc);
    } else {
        desc.friendlyName = w.size() == 3 ? w[2] : "7160 BDA Main Device0";
        sim::AddFilterDevice(sim::FilterCategory::MainDevice, desc);
    }
    return true;
}

// "Path" "Name" dword N | sz "text" | binary XX XX ..., from word `from`.
bool RegValueFrom(const Words& w, std::size_t from, std::uint32_t* type,
                  std::vector<std::uint8_t>* data, std::string* error) {
    if (w.size() < from + 3) {
        *error = "expected reg \"Path\" \"Name\" dword|sz|binary ...";
        return false;
    }
    const std::string& kind = w[from + 2];
    std::uint32_t value = 0;
    data->clear();
    if (kind == "dword" && w.size() == from + 4 && Number(w[from + 3], &value)) {
        *type = os::REG_DWORD;
        for (int i = 0; i < 4; ++i) data->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    } else if (kind == "sz" && w.size() == from + 4) {
        *type = os::REG_SZ;
        data->assign(w[from + 3].begin(), w[from + 3].end());
        data->push_back(0);
    } else if (kind == "binary") {
        *type = os::REG_BINARY;
        for (std::size_t i = from + 3; i < w.size(); ++i) {
            if (!Number("0x" + w[i], &value) || value > 255) {
                *error = "bad byte '" + w[i] + "'";
                return false;
            }
            data->push_back(static_cast<std::uint8_t>(value));
        }
    } else {
        *error = "bad reg value";
        return false;
    }
    return true;
}

bool Registry(const Words& w, std::string* error) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!RegValueFrom(w, 1, &type, &data, error)) return false;
    sim::SetRegValue(w[1], w[2], type, data);
    return true;
}

// filter capture|main "Friendly Name" [noname] [nobag] [nobind] [noks]
bool Filter(const Words& w, std::string* error) {
    if (w.size() < 3 || (w[1] != "capture" && w[1] != "main")) {
        *error = "expected filter capture|main \"Name\" [flags]";
        return false;
    }
    sim::FilterDesc desc;
    desc.friendlyName = w[2];
    for (std::size_t i = 3; i < w.size(); ++i) {
        if (w[i] == "noname") desc.hasName = false;
        else if (w[i] == "nobag") desc.bagOpens = false;
        else if (w[i] == "nobind") desc.binds = false;
        else if (w[i] == "noks") desc.hasKsControl = false;
        else {
            *error = "unknown filter flag '" + w[i] + "'";
            return false;
        }
    }
    sim::AddFilterDevice(
        w[1] == "capture" ? sim::FilterCategory::Capture : sim::FilterCategory::MainDevice, desc);
    return true;
}

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
