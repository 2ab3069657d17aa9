// Small text helpers of the key-map file's parser: spans, words, numbers,
// and error texts that quote what was found safely.
#pragma once
#include <cstddef>
#include <cstdint>

namespace keymap {

struct Span {
    const char* p;
    std::size_t n;
};

bool IsBlank(char c);
Span Trim(Span s);
// The next blank-separated word of `rest`, which moves past it.
Span NextWord(Span& rest);
// Position of `c` in s, or s.n.
std::size_t Find(Span s, char c);
bool Is(Span s, const char* word);  // any case

// Decimal, or hex after 0x; no sign. False past `max` or for anything else.
bool ParseNumber(Span s, std::uint64_t max, std::uint64_t& value);

// snprintf into `out`, always terminated; a null or empty buffer is left alone.
void Say(char* out, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Up to 24 bytes of `s` for an error text: bytes outside printable ASCII
// become '?', and a longer text ends in "...".
const char* Quote(Span s, char (&buf)[32]);

}  // namespace keymap
