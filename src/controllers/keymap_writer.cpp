// Prints KeyRow tables in the key-map file's own format, so that what the
// parser reads back is the same row.
#include <cstdarg>
#include <cstdio>

#include "controllers/key_names.h"
#include "controllers/keymap_file.h"

namespace {

// Appends to a fixed buffer, keeping count of what did not fit.
struct Out {
    char* p;
    std::size_t size;
    std::size_t len = 0;

    void Add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        char* at = len < size ? p + len : nullptr;
        int n = std::vsnprintf(at, at != nullptr ? size - len : 0, format, args);
        va_end(args);
        if (n > 0) len += static_cast<std::size_t>(n);
    }
    void Key(std::uint8_t vk) {
        const char* name = KeyName(vk);
        if (name != nullptr)
            Add("%s", name);
        else
            Add("vk0x%02X", vk);
    }
    void Rule(Delivery rule) {
        const char* name = DeliveryName(rule);
        Add(" %s", name != nullptr ? name : "none");
    }
};

void Action(Out& o, const ::Action& a) {
    switch (a.kind) {
    case ActionKind::None: o.Add("nothing"); break;
    case ActionKind::BringForward: o.Add("forward"); break;
    case ActionKind::Tap: o.Key(a.vk[0]); break;
    case ActionKind::Chord:
        for (std::size_t i = 0; i < a.nKeys && i < 4; ++i) {
            if (i > 0) o.Add("+");
            o.Key(a.vk[i]);
        }
        break;
    case ActionKind::NumpadDigit: o.Add("numpad %d", static_cast<int>(a.nDigit)); break;
    case ActionKind::PostKeyDown:
        o.Add("post key ");
        o.Key(a.vk[0]);
        break;
    case ActionKind::PostDigit: o.Add("post digit %d", static_cast<int>(a.nDigit)); break;
    case ActionKind::PostMessage:
        o.Add("post 0x%04X %u %d", static_cast<unsigned>(a.nMessage), static_cast<unsigned>(a.wParam),
              static_cast<int>(a.lParam));
        break;
    case ActionKind::Command:
        o.Add("command %u %u", static_cast<unsigned>(a.nMessage), static_cast<unsigned>(a.wParam));
        o.Rule(a.rule);
        break;
    case ActionKind::CommandDigit:
        o.Add("command %u digit %d", static_cast<unsigned>(a.nMessage), static_cast<int>(a.nDigit));
        o.Rule(a.rule);
        break;
    }
    if (a.nWaitMs != 0) o.Add(", wait %u", static_cast<unsigned>(a.nWaitMs));
}

void Row(Out& o, const KeyRow& row, bool bOnce) {
    if (row.nFirst == row.nLast)
        o.Add("%u = ", static_cast<unsigned>(row.nFirst));
    else
        o.Add("%u-%u = ", static_cast<unsigned>(row.nFirst), static_cast<unsigned>(row.nLast));
    Action(o, row.action);
    if (bOnce) o.Add(", once");
}

}  // namespace

std::size_t FormatMapRow(const KeyRow& row, bool bOnce, char* out, std::size_t size) {
    Out o{out, size};
    if (size > 0) out[0] = '\0';
    Row(o, row, bOnce);
    return o.len;
}

std::size_t WriteKeymapSection(const char* header, const KeyRow* rows, std::size_t count,
                               char* out, std::size_t size) {
    Out o{out, size};
    if (size > 0) out[0] = '\0';
    o.Add("[%s]\n", header);
    for (std::size_t i = 0; i < count; ++i) {
        Row(o, rows[i], false);
        o.Add("\n");
    }
    return o.len;
}

std::size_t MapSectionName(const BuiltinMap& map, char* out, std::size_t size) {
    Out o{out, size};
    if (size > 0) out[0] = '\0';
    o.Add("%s", BuiltinAppName(map.app));
    if (map.layouts != kLayoutEvery)
        for (std::size_t i = 0; i < kLayoutCount; ++i)
            if (map.layouts & (1u << i)) o.Add(".%s", LayoutName(i));
    return o.len;
}

std::size_t WriteBuiltinMapFile(const BuiltinMap& map, const KeyRow* rows, std::size_t count,
                                const char* boards, char* out, std::size_t size) {
    char name[96];
    MapSectionName(map, name, sizeof name);
    Out o{out, size};
    if (size > 0) out[0] = '\0';
    o.Add("; The built-in key map [%s]%s%s.\n", name, boards != nullptr ? " on boards with nBoardVariant " : "",
          boards != nullptr ? boards : "");
    o.Add("; Written by tools/keymaps from the program's own table: copy rows into\n"
          "; RemoteControl.ini and change them there (docs/keymaps.md).\n");
    if (map.szNote != nullptr) o.Add("; %s.\n", map.szNote);
    std::size_t len = o.len;
    std::size_t need = WriteKeymapSection(name, rows, count, len < size ? out + len : nullptr,
                                          len < size ? size - len : 0);
    return len + need;
}
