// Word helpers of the scenario reader, and the world lines of the card, its
// driver connection, the DirectShow devices and the registry.
#include <cstdlib>

#include "device/tuner_connection.h"
#include "os/registry.h"
#include "os/sim/sim_devices.h"
#include "os/sim/sim_registry.h"
#include "scenario_lines.h"

namespace rcsim {

bool Number(const std::string& word, std::uint32_t* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(word.c_str(), &end, 0);
    if (*end != '\0' || v > 0xFFFFFFFFul || word[0] == '-') return false;
    *value = static_cast<std::uint32_t>(v);
    return true;
}

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

}  // namespace rcsim
