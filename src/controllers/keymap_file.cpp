// The key-map file's lines and sections; map rows are read by keymap_row.cpp.
#include "controllers/keymap_file.h"

#include <cstring>

#include "controllers/key_names.h"
#include "controllers/keymap_text.h"

namespace {

using keymap::Find;
using keymap::Is;
using keymap::NextWord;
using keymap::Quote;
using keymap::Say;
using keymap::Span;
using keymap::Trim;

enum Setting { kClass, kTitle, kExe, kArgs, kDelivery, kRepeat, kSettingCount };

struct Parser {
    Parser(const char* name, KeymapFile& file) : file(name), out(file) {}
    const char* file;
    KeymapFile& out;
    std::uint32_t line = 0;

    enum class Kind { None, Skip, Builtin, App } kind = Kind::None;
    std::size_t app = 0;         // built-in index or user application index
    unsigned slots = 0;          // bit s: slot s of that application
    bool base = false;           // [app:NAME] itself: settings allowed
    std::uint32_t codeLine[257] = {};  // per code (256: 3852), the row's line
    std::uint32_t settingLine[kSettingCount] = {};
    bool rowsFull = false;

    void Error(std::uint32_t at, const char* what) {
        ++out.nErrorsTotal;
        if (out.nErrors == kKeymapMaxErrors) return;
        KeymapError& e = out.errors[out.nErrors++];
        e.nLine = at;
        if (at == 0)
            Say(e.szText, sizeof e.szText, "%s: %s", file, what);
        else
            Say(e.szText, sizeof e.szText, "%s line %u: %s", file, static_cast<unsigned>(at), what);
    }
    void Expected(const char* what, Span found) {
        char text[200], q[32];
        Say(text, sizeof text, "%s expected, found '%s'", what, Quote(found, q));
        Error(line, text);
    }

    MapSlice* Slices() {
        return kind == Kind::App ? out.apps[app].maps : out.overrides[app];
    }

    void CloseSection() {
        if (kind == Kind::Builtin || kind == Kind::App)
            for (std::size_t s = 0; s < kMapSlots; ++s)
                if (slots & (1u << s))
                    Slices()[s].nCount = static_cast<std::uint16_t>(out.nRows - Slices()[s].nFirst);
        kind = Kind::Skip;
    }

    bool ParseLayouts(Span rest) {
        slots = 0;
        while (rest.n > 0) {
            std::size_t dot = Find(rest, '.');
            Span name = Trim(Span{rest.p, dot});
            std::size_t i = 0;
            while (i < kLayoutCount && !Is(name, LayoutName(i))) ++i;
            if (i == kLayoutCount || (slots & (2u << i)) != 0) {
                Expected("layout 41key, 36key, 35key or 44key, each once", name);
                return false;
            }
            slots |= 2u << i;
            rest = dot < rest.n ? Span{rest.p + dot + 1, rest.n - dot - 1} : Span{rest.p, 0};
        }
        if (slots == 0) slots = 1;
        return true;
    }

    bool ValidName(Span name) {
        if (name.n == 0 || name.n >= sizeof out.apps[0].szName) return false;
        for (std::size_t i = 0; i < name.n; ++i) {
            char c = name.p[i];
            if (c < 0x20 || c > 0x7E || std::strchr("[].=;#", c) != nullptr) return false;
        }
        return true;
    }

    bool FindUserApp(Span name) {
        for (app = 0; app < out.nApps; ++app)
            if (Is(name, out.apps[app].szName)) return true;
        if (out.nApps == kKeymapMaxUserApps) {
            Error(line, "at most 16 user applications: this one is not read");
            return false;
        }
        UserApp& a = out.apps[out.nApps++];
        std::memcpy(a.szName, name.p, name.n);
        a.szName[name.n] = '\0';
        return true;
    }

    void OpenSection(Span inner) {
        CloseSection();
        std::size_t dot = Find(inner, '.');
        Span head = Trim(Span{inner.p, dot});
        Span layouts = dot < inner.n ? Span{inner.p + dot + 1, inner.n - dot - 1} : Span{inner.p, 0};
        bool user = head.n >= 4 && Is(Span{head.p, 4}, "app:");
        if (user) {
            Span name = Trim(Span{head.p + 4, head.n - 4});
            if (!ValidName(name))
                return Expected("application name of 1..31 characters without [ ] . = ; #", name);
            if (!ParseLayouts(layouts) || !FindUserApp(name)) return;
        } else {
            for (app = 0; app < kBuiltinAppCount; ++app)
                if (Is(head, BuiltinAppName(static_cast<BuiltinApp>(app)))) break;
            if (app == kBuiltinAppCount)
                return Expected("Orbisk, OrbiskCenter, Savrin, MediaCenter, TotalMedia35, "
                                "ArcSoftTV5, PowerCinema, TVEnhance or app:NAME", head);
            if (!ParseLayouts(layouts)) return;
        }
        kind = user ? Kind::App : Kind::Builtin;
        MapSlice* slices = Slices();
        for (std::size_t s = 0; s < kMapSlots; ++s) {
            if ((slots & (1u << s)) == 0 || slices[s].nLine == 0) continue;
            char text[120];
            Say(text, sizeof text, "%s already given at line %u: this section is not read",
                s == 0 ? "the section for every layout" : LayoutName(s - 1),
                static_cast<unsigned>(slices[s].nLine));
            Error(line, text);
            kind = Kind::Skip;
            return;
        }
        for (std::size_t s = 0; s < kMapSlots; ++s)
            if (slots & (1u << s)) slices[s] = MapSlice{line, static_cast<std::uint16_t>(out.nRows), 0};
        base = user && slots == 1;
        if (base) out.apps[app].nLine = line;
        std::memset(codeLine, 0, sizeof codeLine);
        std::memset(settingLine, 0, sizeof settingLine);
    }

    void Row(Span text) {
        text = Span{text.p, Find(text, ';') < Find(text, '#') ? Find(text, ';') : Find(text, '#')};
        MapRow row;
        char why[160];
        if (!ParseMapRow(text.p, text.n, kind == Kind::Builtin, row, why, sizeof why))
            return Error(line, why);
        for (std::uint32_t c = row.row.nFirst; c <= row.row.nLast; ++c) {
            std::uint32_t at = codeLine[c > 255 ? 256 : c];
            if (at == 0) continue;
            Say(why, sizeof why, "code %u already mapped at line %u", static_cast<unsigned>(c),
                static_cast<unsigned>(at));
            return Error(line, why);
        }
        if (out.nRows == kKeymapMaxRows) {
            if (!rowsFull) Error(line, "at most 2048 map rows in a file: the rest are not read");
            rowsFull = true;
            return;
        }
        for (std::uint32_t c = row.row.nFirst; c <= row.row.nLast; ++c) codeLine[c > 255 ? 256 : c] = line;
        out.rows[out.nRows++] = row;
    }

    bool Choice(Span value, const char* a, const char* b, const char* c, std::uint8_t& out) {
        value = Trim(Span{value.p, Find(value, ';') < Find(value, '#') ? Find(value, ';') : Find(value, '#')});
        const char* names[3] = {a, b, c};
        for (std::uint8_t i = 0; i < 3; ++i)
            if (names[i] != nullptr && Is(value, names[i])) return out = i, true;
        return false;
    }

    void Text(Span value, char* dest, std::size_t size) {
        if (value.n >= size) {
            char text[80];
            Say(text, sizeof text, "value of at most %u characters", static_cast<unsigned>(size - 1));
            return Expected(text, value);
        }
        std::memcpy(dest, value.p, value.n);
        dest[value.n] = '\0';
    }

    void SettingLine(Span text) {
        std::size_t eq = Find(text, '=');
        Span key = Trim(Span{text.p, eq});
        if (eq == text.n) return Expected("'CODE = action' or 'setting = value'", key);
        Span value = Trim(Span{text.p + eq + 1, text.n - eq - 1});
        Span words = key;
        Span w1 = NextWord(words), w2 = NextWord(words);
        int which = -1;
        bool prefix = Is(w1, "title") && Is(w2, "prefix") && words.n == 0;
        if (prefix) which = kTitle;
        const char* const names[kSettingCount] = {"class", "title", "exe", "args", "delivery", "repeat"};
        for (int i = 0; i < kSettingCount && which < 0; ++i)
            if (Is(key, names[i])) which = i;
        if (which < 0)
            return Expected("scan code, or class, title, title prefix, exe, args, delivery or repeat", key);
        if (settingLine[which] != 0) {
            char why[80];
            Say(why, sizeof why, "%s already given at line %u", names[which],
                static_cast<unsigned>(settingLine[which]));
            return Error(line, why);
        }
        if (value.n == 0) return Expected("value after '='", value);
        UserApp& a = out.apps[app];
        std::uint8_t choice = 0;
        switch (which) {
        case kClass: Text(value, a.szClass, sizeof a.szClass); break;
        case kTitle: Text(value, a.szTitle, sizeof a.szTitle); a.bTitlePrefix = prefix; break;
        case kExe: Text(value, a.szExe, sizeof a.szExe); break;
        case kArgs: Text(value, a.szArgs, sizeof a.szArgs); break;
        case kDelivery:
            if (!Choice(value, "keys", "messages", nullptr, choice)) return Expected("keys or messages", value);
            a.delivery = static_cast<AppDelivery>(choice);
            break;
        case kRepeat:
            if (!Choice(value, "every", "tenth", "none", choice)) return Expected("every, tenth or none", value);
            a.repeat = static_cast<AppRepeat>(choice);
            break;
        }
        settingLine[which] = line;
    }

    void Line(Span text) {
        Span s = Trim(text);
        if (s.n == 0 || s.p[0] == ';' || s.p[0] == '#') return;
        if (s.p[0] == '[') {
            std::size_t close = Find(s, ']');
            Span after = close < s.n ? Trim(Span{s.p + close + 1, s.n - close - 1}) : s;
            if (close == s.n || (after.n > 0 && after.p[0] != ';' && after.p[0] != '#')) {
                CloseSection();
                return Expected("section header such as [Savrin.41key] or [app:NAME]", s);
            }
            return OpenSection(Trim(Span{s.p + 1, close - 1}));
        }
        if (kind == Kind::Skip) return;  // the section's header gave the error
        if (kind == Kind::None) return Expected("section header such as [Savrin] before rows", s);
        if (kind == Kind::App && base && !(s.p[0] >= '0' && s.p[0] <= '9')) return SettingLine(s);
        Row(s);
    }

    // User applications without a window to look for are dropped.
    void CheckApps() {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < out.nApps; ++i) {
            UserApp& a = out.apps[i];
            if (a.szClass[0] == '\0' && a.szTitle[0] == '\0') {
                char why[120];
                Say(why, sizeof why, "class, title or title prefix for application '%s' expected",
                    a.szName);
                std::uint32_t at = a.nLine;
                for (const MapSlice& m : a.maps) at = at != 0 ? at : m.nLine;
                Error(at, why);
                continue;
            }
            if (kept != i) out.apps[kept] = a;
            ++kept;
        }
        for (std::size_t i = kept; i < out.nApps; ++i) std::memset(&out.apps[i], 0, sizeof out.apps[i]);
        out.nApps = kept;
    }
};

std::uint32_t LineOf(const std::uint8_t* bytes, std::size_t at) {
    std::uint32_t line = 1;
    for (std::size_t i = 0; i < at; ++i) line += bytes[i] == '\n';
    return line;
}

}  // namespace

void ParseKeymapFile(const char* fileName, const std::uint8_t* bytes, std::size_t length,
                     KeymapFile& out) {
    std::memset(&out, 0, sizeof out);
    Parser p(fileName != nullptr ? fileName : "key-map file", out);
    if (bytes == nullptr || length == 0) return;
    if (length > kKeymapFileMaxBytes)
        return p.Error(0, "larger than 256 KiB (262144 bytes): not read");
    if (length >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return p.Error(1, "UTF-16 text: not read; save the file as ANSI or UTF-8");
    if (const void* nul = std::memchr(bytes, 0, length))
        return p.Error(LineOf(bytes, static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - bytes)),
                       "NUL byte (UTF-16 or binary): not read; save the file as ANSI or UTF-8 text");
    std::size_t at = length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    while (at < length) {
        std::size_t end = at;
        while (end < length && bytes[end] != '\n') ++end;
        std::size_t n = end - at;
        if (n > 0 && bytes[at + n - 1] == '\r') --n;
        ++p.line;
        const char* text = reinterpret_cast<const char*>(bytes + at);
        at = end + 1;
        if (n > kKeymapMaxLine) {
            p.Error(p.line, "line of at most 1024 characters expected: not read");
            continue;
        }
        std::size_t bad = 0;
        while (bad < n && !((static_cast<unsigned char>(text[bad]) < 0x20 && text[bad] != '\t') ||
                            text[bad] == 0x7F))
            ++bad;
        if (bad < n) {
            char why[80];
            Say(why, sizeof why, "text expected, found byte 0x%02X at column %u: line not read",
                static_cast<unsigned char>(text[bad]), static_cast<unsigned>(bad + 1));
            p.Error(p.line, why);
            continue;
        }
        p.Line(Span{text, n});
    }
    p.CloseSection();
    p.CheckApps();
}
