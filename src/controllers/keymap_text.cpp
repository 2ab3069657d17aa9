#include "controllers/keymap_text.h"

#include <cstdarg>
#include <cstdio>

#include "controllers/key_names.h"

namespace keymap {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

Span Trim(Span s) {
    while (s.n > 0 && IsBlank(s.p[0])) ++s.p, --s.n;
    while (s.n > 0 && IsBlank(s.p[s.n - 1])) --s.n;
    return s;
}

Span NextWord(Span& rest) {
    rest = Trim(rest);
    std::size_t i = 0;
    while (i < rest.n && !IsBlank(rest.p[i])) ++i;
    Span word{rest.p, i};
    rest = Trim(Span{rest.p + i, rest.n - i});
    return word;
}

std::size_t Find(Span s, char c) {
    for (std::size_t i = 0; i < s.n; ++i)
        if (s.p[i] == c) return i;
    return s.n;
}

bool Is(Span s, const char* word) { return SameWord(s.p, s.n, word); }

bool ParseNumber(Span s, std::uint64_t max, std::uint64_t& value) {
    std::uint64_t base = 10;
    if (s.n > 2 && s.p[0] == '0' && (s.p[1] == 'x' || s.p[1] == 'X')) {
        base = 16;
        s.p += 2;
        s.n -= 2;
    }
    if (s.n == 0 || s.n > 10) return false;  // ten digits cannot overflow 64 bits
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < s.n; ++i) {
        char c = s.p[i];
        std::uint64_t d;
        if (c >= '0' && c <= '9')
            d = static_cast<std::uint64_t>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<std::uint64_t>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<std::uint64_t>(c - 'A' + 10);
        else
            return false;
        v = v * base + d;
    }
    if (v > max) return false;
    value = v;
    return true;
}

void Say(char* out, std::size_t size, const char* format, ...) {
    if (out == nullptr || size == 0) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(out, size, format, args);
    va_end(args);
}

const char* Quote(Span s, char (&buf)[32]) {
    std::size_t n = s.n > 24 ? 24 : s.n;
    for (std::size_t i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(s.p[i]);
        buf[i] = c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    std::size_t end = n;
    if (s.n > n)
        for (int k = 0; k < 3; ++k) buf[end++] = '.';
    buf[end] = '\0';
    return buf;
}

}  // namespace keymap
