// The ordered effect log and the text helpers its lines are written with.
#include <cstdio>
#include <cstring>
#include <vector>

#include "os/sim/sim_world.h"

namespace {

std::vector<sim::Effect> g_effects;

}  // namespace

namespace sim {

const std::vector<Effect>& Effects() { return g_effects; }

std::vector<std::string> EffectLines() {
    std::vector<std::string> lines;
    for (const auto& e : g_effects) lines.push_back("t=" + std::to_string(e.time) + " " + e.text);
    return lines;
}

std::vector<std::string> EffectTexts() {
    std::vector<std::string> texts;
    for (const auto& e : g_effects) texts.push_back(e.text);
    return texts;
}

void ClearEffects() { g_effects.clear(); }

void Log(const std::string& text) { g_effects.push_back(Effect{Now(), text}); }

namespace world {

std::string Quote(const char* text) {
    if (!text) return "(null)";
    std::string out;
    out.reserve(std::strlen(text) + 2);
    out += '"';
    // Plain characters go in a run at a time: every effect line passes here.
    const char* run = text;
    for (const char* p = text;; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c != 0 && c != '"' && c >= 0x20 && c < 0x7F) continue;
        out.append(run, static_cast<std::size_t>(p - run));
        if (c == 0) break;
        if (c == '"') {
            out += "\\\"";
        } else {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", c);
            out += esc;
        }
        run = p + 1;
    }
    out += '"';
    return out;
}

std::string Hex(std::uint32_t value, int minDigits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", minDigits, value);
    return buf;
}

bool SameIgnoringCase(const char* a, const char* b) {
    if (!a || !b) return false;
    std::size_t i = 0;
    for (; a[i] && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return a[i] == b[i];
}

void ResetEffects() { g_effects.clear(); }

}  // namespace world
}  // namespace sim
