#include "engine/trace.h"

#include <cstring>

#include "os/os.h"

namespace {

// Up to five of these lines go out with every key: each is written once,
// straight into its buffer, without the printf family.
const char kTag[] = "<RCMessageBox>  ";
constexpr std::size_t kTagLength = sizeof kTag - 1;
constexpr std::size_t kLineSize = 512;
// Text and value of a TraceValue line together, terminator included.
constexpr std::size_t kValueBodySize = 256;

// Copies as much of text as fits before `limit`; the caller terminates.
char* Put(char* at, char* limit, const char* text) {
    std::size_t length = std::strlen(text);
    const std::size_t room = static_cast<std::size_t>(limit - at);
    if (length > room) length = room;
    std::memcpy(at, text, length);
    return at + length;
}

// Upper-case hex without leading zeros, as %X writes it.
char* PutHex(char* at, char* limit, std::uint32_t value) {
    char digits[8];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (count > 0 && at < limit) *at++ = digits[--count];
    return at;
}

}  // namespace

void TraceText(const char* text) {
    char line[kLineSize];
    std::memcpy(line, kTag, kTagLength);
    char* end = Put(line + kTagLength, line + kLineSize - 1, text ? text : "");
    *end = '\0';
    os::OutputDebugStringA(line);
}

void TraceValue(const char* text, std::int32_t value) {
    char line[kTagLength + kValueBodySize];
    std::memcpy(line, kTag, kTagLength);
    char* limit = line + sizeof line - 1;
    char* end = Put(line + kTagLength, limit, text ? text : "");
    end = Put(end, limit, " (");
    end = PutHex(end, limit, static_cast<std::uint32_t>(value));
    end = Put(end, limit, ")");
    *end = '\0';
    os::OutputDebugStringA(line);
}
