// Printable charts: one page per map, each code and what its key does in
// words, sized for A4 and Letter alike.
#include <cstdio>
#include <string>

#include "controllers/key_names.h"
#include "controllers/keymap_file.h"
#include "keymaps.h"

namespace {

std::string Key(std::uint8_t vk) {
    const char* name = KeyName(vk);
    char buf[16];
    std::snprintf(buf, sizeof buf, "key 0x%02X", vk);
    return name != nullptr ? name : buf;
}

const char* RuleWords(Delivery rule) {
    switch (rule) {
    case Delivery::Main: return "to the main window while no form shows";
    case Delivery::Always: return "to the main window, form or not";
    case Delivery::NotViewer: return "to the main window unless the picture viewer shows";
    case Delivery::Form: return "to the visible form, else the main window";
    case Delivery::FormWithMessage:
        return "to the visible form, else the main window; a message box if there is none";
    case Delivery::Plain: return "to the main window (no form search)";
    case Delivery::Raised: return "to the main window, brought forward first";
    case Delivery::None: break;
    }
    return "";
}

std::string Words(const KeyRow& row, std::uint32_t code) {
    const Action& a = row.action;
    const int digit = static_cast<int>(a.nDigit + static_cast<std::int32_t>(code - row.nFirst));
    std::string w;
    switch (a.kind) {
    case ActionKind::None: w = "nothing"; break;
    case ActionKind::BringForward: w = "brings the window forward"; break;
    case ActionKind::Tap: w = "presses " + Key(a.vk[0]); break;
    case ActionKind::Chord:
        w = "presses ";
        for (std::size_t i = 0; i < a.nKeys && i < 4; ++i) w += (i ? "+" : "") + Key(a.vk[i]);
        break;
    case ActionKind::NumpadDigit: w = "types " + std::to_string(digit) + " on the numeric keypad"; break;
    case ActionKind::PostKeyDown: w = "sends " + Key(a.vk[0]) + " to the window"; break;
    case ActionKind::PostDigit: w = "sends digit " + std::to_string(digit) + " to the window"; break;
    case ActionKind::PostMessage:
        w = "posts message " + std::to_string(a.nMessage) + " (" + std::to_string(a.wParam) + ", " +
            std::to_string(a.lParam) + ")";
        break;
    case ActionKind::Command:
        w = "command " + std::to_string(a.wParam) + " " + RuleWords(a.rule);
        break;
    case ActionKind::CommandDigit:
        w = "digit " + std::to_string(digit) + " (command " + std::to_string(10000 + digit) + ") " +
            RuleWords(a.rule);
        break;
    }
    if (a.nWaitMs != 0) w += ", then waits " + std::to_string(a.nWaitMs) + " ms";
    return w;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

const char kStyle[] =
    "<style>\n"
    "@page { margin: 12mm; }\n"
    "body { font: 9pt/1.25 sans-serif; margin: 0; }\n"
    "h1 { font-size: 14pt; margin: 0 0 2mm; }\n"
    "p { margin: 0 0 3mm; }\n"
    "table { border-collapse: collapse; width: 100%; }\n"
    "th, td { border-bottom: 0.2mm solid #999; padding: 0.4mm 2mm; text-align: left; }\n"
    "td.code { width: 12mm; text-align: right; }\n"
    "tr { break-inside: avoid; page-break-inside: avoid; }\n"
    "</style>\n";

std::string Chart(const MapExport& e) {
    KeyRow rows[256];
    std::size_t n = 0;
    // The chart shows what the board runs: the export's own text, read back.
    static KeymapFile file;
    ParseKeymapFile(e.name.c_str(), reinterpret_cast<const std::uint8_t*>(e.text.data()),
                    e.text.size(), file);
    for (std::size_t i = 0; i < file.nRows && n < 256; ++i) rows[n++] = file.rows[i].row;

    std::string title = std::string(BuiltinAppName(e.pMap->app)) + ", ";
    if (e.pMap->layouts == kLayoutEvery) title += "every remote";
    for (std::size_t i = 0; i < kLayoutCount && e.pMap->layouts != kLayoutEvery; ++i)
        if (e.pMap->layouts & (1u << i))
            title += std::string(title.back() == ' ' ? "" : ", ") + LayoutName(i) + " remote";
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>" +
                       Escape(title) + "</title>\n" + kStyle + "</head><body>\n<h1>" +
                       Escape(title) + "</h1>\n<p>";
    html += e.boards.empty() ? "Every board." : "Boards with nBoardVariant " + Escape(e.boards) + ".";
    html += " Codes not listed do nothing.";
    if (e.pMap->szNote != nullptr) html += " " + Escape(e.pMap->szNote) + ".";
    html += "</p>\n<table>\n<tr><th>Code</th><th>The key</th></tr>\n";
    for (std::size_t i = 0; i < n; ++i)
        for (std::uint32_t code = rows[i].nFirst; code <= rows[i].nLast; ++code)
            html += "<tr><td class=\"code\">" + std::to_string(code) + "</td><td>" +
                    Escape(Words(rows[i], code)) + "</td></tr>\n";
    return html + "</table>\n</body></html>\n";
}

}  // namespace

void AddCharts(const std::map<std::string, MapExport>& maps, ExportFiles& files) {
    for (const auto& m : maps) files["charts/" + m.first + ".html"] = Chart(m.second);
}
