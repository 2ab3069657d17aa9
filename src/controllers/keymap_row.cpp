// One map row of the key-map file: codes, the action, then "wait N" and
// "once". Every action kind of actions.h has a spelling here.
#include "controllers/key_names.h"
#include "controllers/keymap_file.h"
#include "controllers/keymap_text.h"

namespace {

using keymap::Is;
using keymap::NextWord;
using keymap::ParseNumber;
using keymap::Quote;
using keymap::Say;
using keymap::Span;
using keymap::Trim;

constexpr std::uint64_t kU32 = 0xFFFFFFFFu;

struct Why {
    char* p;
    std::size_t n;
};

bool Fail(Why why, const char* expected, Span found) {
    char q[32];
    if (found.n == 0)
        Say(why.p, why.n, "%s expected, found nothing", expected);
    else
        Say(why.p, why.n, "%s expected, found '%s'", expected, Quote(found, q));
    return false;
}

bool ParseCode(Span s, std::uint32_t& code) {
    std::uint64_t v = 0;
    if (!ParseNumber(Trim(s), kKeymapRemappedCode, v)) return false;
    if (v > 255 && v != kKeymapRemappedCode) return false;
    code = static_cast<std::uint32_t>(v);
    return true;
}

bool ParseCodes(Span s, KeyRow& row, Why why) {
    s = Trim(s);
    std::size_t dash = keymap::Find(s, '-');
    const char* expected = "scan code 0..255 (or 3852) or range such as 0-8";
    if (dash == s.n) {
        if (!ParseCode(s, row.nFirst)) return Fail(why, expected, s);
        row.nLast = row.nFirst;
        return true;
    }
    Span first{s.p, dash}, last{s.p + dash + 1, s.n - dash - 1};
    if (!ParseCode(first, row.nFirst) || !ParseCode(last, row.nLast) || row.nFirst > 255 ||
        row.nLast > 255)
        return Fail(why, "range of scan codes 0..255 such as 0-8", s);
    if (row.nLast < row.nFirst) return Fail(why, "range with its lower code first", s);
    return true;
}

// A digit row counts up from its first code and must stay within 0..9.
bool ParseDigit(Span word, const KeyRow& row, std::int32_t& digit, Why why) {
    std::uint64_t v = 0;
    if (!ParseNumber(word, 9, v)) return Fail(why, "digit 0..9", word);
    if (v + (row.nLast - row.nFirst) > 9) return Fail(why, "first digit that keeps the row within 9", word);
    digit = static_cast<std::int32_t>(v);
    return true;
}

bool ParseU32(Span word, const char* what, std::uint32_t& out, Why why) {
    std::uint64_t v = 0;
    if (!ParseNumber(word, kU32, v)) return Fail(why, what, word);
    out = static_cast<std::uint32_t>(v);
    return true;
}

bool ParseKey(Span word, std::uint8_t& vk, Why why) {
    if (!ParseKeyName(word.p, word.n, vk)) return Fail(why, "key name (see docs/keymaps.md)", word);
    return true;
}

// "Ctrl+Shift+S": up to three keys held, then the key tapped.
bool ParseKeys(Span s, Action& a, Why why) {
    std::uint8_t keys[4] = {};
    std::size_t n = 0;
    for (;;) {
        std::size_t plus = keymap::Find(s, '+');
        Span name = Trim(Span{s.p, plus});
        if (n == 4) return Fail(why, "at most four keys in a chord", s);
        if (!ParseKey(name, keys[n++], why)) return false;
        if (plus == s.n) break;
        s = Span{s.p + plus + 1, s.n - plus - 1};
    }
    if (n == 1) a = Tap(keys[0]);
    if (n == 2) a = Chord(keys[0], keys[1]);
    if (n == 3) a = Chord(keys[0], keys[1], keys[2]);
    if (n == 4) a = Chord(keys[0], keys[1], keys[2], keys[3]);
    return true;
}

bool ParsePost(Span rest, const KeyRow& row, Action& a, Why why) {
    Span w = NextWord(rest);
    if (Is(w, "key")) {
        std::uint8_t vk = 0;
        Span key = NextWord(rest);
        if (!ParseKey(key, vk, why)) return false;
        a = PostKeyDown(vk);
    } else if (Is(w, "digit")) {
        std::int32_t digit = 0;
        if (!ParseDigit(NextWord(rest), row, digit, why)) return false;
        a = PostDigit(digit);
    } else {
        std::uint32_t message = 0, wParam = 0;
        if (!ParseU32(w, "'key', 'digit' or a message number", message, why)) return false;
        if (!ParseU32(NextWord(rest), "wParam (a number)", wParam, why)) return false;
        Span l = NextWord(rest);
        bool negative = l.n > 0 && l.p[0] == '-';
        std::uint64_t v = 0;
        Span digits = negative ? Span{l.p + 1, l.n - 1} : l;
        if (!ParseNumber(digits, negative ? 0x80000000u : kU32, v))
            return Fail(why, "lParam (a number, may be negative)", l);
        auto bits = static_cast<std::uint32_t>(negative ? 0u - v : v);
        a = Post(message, wParam, static_cast<std::int32_t>(bits));
    }
    return rest.n == 0 || Fail(why, "end of the action", rest);
}

bool ParseCommand(Span rest, const KeyRow& row, Action& a, Why why) {
    std::uint32_t message = 0, command = 0;
    std::int32_t digit = 0;
    if (!ParseU32(NextWord(rest), "message number", message, why)) return false;
    Span w = NextWord(rest);
    bool digits = Is(w, "digit");
    if (digits ? !ParseDigit(NextWord(rest), row, digit, why)
               : !ParseU32(w, "command number or 'digit'", command, why))
        return false;
    Delivery rule = Delivery::None;
    Span r = NextWord(rest);
    if (!ParseDeliveryName(r.p, r.n, rule))
        return Fail(why, "delivery main, always, not-viewer, form, form-message, plain or raised", r);
    a = digits ? CommandDigit(message, digit, rule) : Command(message, command, rule);
    return rest.n == 0 || Fail(why, "end of the action", rest);
}

bool ParseAction(Span s, bool allowRemove, MapRow& out, Why why) {
    Action& a = out.row.action;
    Span rest = s;
    Span w = NextWord(rest);
    if (w.n == 0) return Fail(why, "action after '='", s);
    if (Is(w, "-")) {
        if (!allowRemove) return Fail(why, "action ('-' removes built-in rows only)", s);
        out.bRemove = true;
        a = NoAction();
    } else if (Is(w, "nothing") || Is(w, "forward")) {
        a = Is(w, "nothing") ? NoAction() : BringForward();
    } else if (Is(w, "numpad")) {
        std::int32_t digit = 0;
        if (!ParseDigit(NextWord(rest), out.row, digit, why)) return false;
        a = NumpadDigit(digit);
    } else if (Is(w, "post")) {
        return ParsePost(rest, out.row, a, why);
    } else if (Is(w, "command")) {
        return ParseCommand(rest, out.row, a, why);
    } else {
        return ParseKeys(s, a, why);
    }
    return rest.n == 0 || Fail(why, "end of the action", rest);
}

bool ParseFlag(Span s, MapRow& out, bool& waitSeen, Why why) {
    Span rest = Trim(s);
    Span w = NextWord(rest);
    if (Is(w, "once") && rest.n == 0 && !out.bOnce) return out.bOnce = true;
    if (Is(w, "wait") && !waitSeen) {
        std::uint64_t ms = 0;
        Span n = NextWord(rest);
        if (!ParseNumber(n, kKeymapMaxWaitMs, ms) || rest.n != 0)
            return Fail(why, "'wait N' with N 0..10000 ms", Trim(s));
        out.row.action.nWaitMs = static_cast<std::uint32_t>(ms);
        return waitSeen = true;
    }
    return Fail(why, "one 'wait N' and one 'once' after the action", Trim(s));
}

}  // namespace

bool ParseMapRow(const char* text, std::size_t len, bool allowRemove, MapRow& out, char* why,
                 std::size_t whySize) {
    out = MapRow{};
    Why w{why, whySize};
    Span line{text, len};
    std::size_t eq = keymap::Find(line, '=');
    if (eq == line.n) return Fail(w, "'CODE = action'", Trim(line));
    if (!ParseCodes(Span{text, eq}, out.row, w)) return false;
    Span rhs{text + eq + 1, len - eq - 1};
    std::size_t comma = keymap::Find(rhs, ',');
    if (!ParseAction(Trim(Span{rhs.p, comma}), allowRemove, out, w)) return false;
    bool waitSeen = false;
    while (comma < rhs.n) {
        if (out.bRemove) return Fail(w, "nothing after '-'", Trim(rhs));
        rhs = Span{rhs.p + comma + 1, rhs.n - comma - 1};
        comma = keymap::Find(rhs, ',');
        if (!ParseFlag(Span{rhs.p, comma}, out, waitSeen, w)) return false;
    }
    return true;
}
