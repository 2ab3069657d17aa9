// The feed of remote presses: a text file that tests and the remote tool
// append "<code> <holdMs> [gapMs]" lines to; presses play in order.
#include <cstdlib>
#include <cstring>
#include <deque>

#include "vtuner.h"

namespace vt {

namespace {

struct Press {
    int nCode;
    DWORD nHoldMs;
    DWORD nGapMs;
};

// A press stays visible for at least one whole tick, and the release after
// it is long enough that the next press of the same key reads as new.
constexpr DWORD kMinHoldMs = 70;
constexpr DWORD kDefaultHoldMs = 200;
constexpr DWORD kDefaultGapMs = 300;
constexpr DWORD kMaxMs = 60000;
constexpr size_t kMaxQueue = 4096;
constexpr size_t kMaxLine = 128;

struct FeedState {
    char szPath[MAX_PATH];
    ULONGLONG nOffset;
    char szPartial[kMaxLine + 1];
    size_t nPartial;
    bool bOverlong;     // the current line is too long and is dropped
    std::deque<Press> queue;
    bool bHeld;
    Press current;
    DWORD nStart;       // tick the current press began
    DWORD nNextAllowed; // tick from which the next press may begin
    bool bClockSet;
    bool bPrimed;       // the file has been looked at once
};

FeedState g_feed;

void ClearState() {
    g_feed.nOffset = 0;
    g_feed.nPartial = 0;
    g_feed.bOverlong = false;
    g_feed.queue.clear();
    g_feed.bHeld = false;
    g_feed.bClockSet = false;
}

DWORD ClampMs(unsigned long v) { return v > kMaxMs ? kMaxMs : static_cast<DWORD>(v); }

void ParseLine(const char* line) {
    while (*line == ' ' || *line == '\t') ++line;
    if (*line == 0 || *line == '#') return;
    char* end = nullptr;
    long code = std::strtol(line, &end, 0);
    if (end == line || code < 0 || code > 255) return;
    Press p{static_cast<int>(code), kDefaultHoldMs, kDefaultGapMs};
    const char* rest = end;
    unsigned long v = std::strtoul(rest, &end, 10);
    if (end != rest) {
        p.nHoldMs = ClampMs(v);
        rest = end;
        v = std::strtoul(rest, &end, 10);
        if (end != rest) p.nGapMs = ClampMs(v);
    }
    if (p.nHoldMs < kMinHoldMs) p.nHoldMs = kMinHoldMs;
    if (g_feed.queue.size() < kMaxQueue) g_feed.queue.push_back(p);
}

void TakeBytes(const char* bytes, DWORD n) {
    for (DWORD i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c == '\n') {
            if (!g_feed.bOverlong) {
                g_feed.szPartial[g_feed.nPartial] = 0;
                ParseLine(g_feed.szPartial);
            }
            g_feed.nPartial = 0;
            g_feed.bOverlong = false;
        } else if (c == '\r') {
            continue;
        } else if (g_feed.nPartial < kMaxLine) {
            g_feed.szPartial[g_feed.nPartial++] = c;
        } else {
            g_feed.bOverlong = true;
        }
    }
}

// Cheap when nothing was appended: one attribute query.
void ReadNewLines(const char* path) {
    if (std::strncmp(path, g_feed.szPath, sizeof g_feed.szPath) != 0) {
        ClearState();
        std::strncpy(g_feed.szPath, path, sizeof g_feed.szPath - 1);
        g_feed.szPath[sizeof g_feed.szPath - 1] = 0;
        g_feed.bPrimed = false;
    }
    WIN32_FILE_ATTRIBUTE_DATA fad;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &fad)) {
        g_feed.bPrimed = true;
        // A deleted feed starts over when it comes back.
        if (g_feed.nOffset != 0) ClearState();
        return;
    }
    ULONGLONG size = (static_cast<ULONGLONG>(fad.nFileSizeHigh) << 32) | fad.nFileSizeLow;
    if (!g_feed.bPrimed) {
        // Presses written before the driver was first asked are stale.
        g_feed.bPrimed = true;
        g_feed.nOffset = size;
        return;
    }
    if (size < g_feed.nOffset) ClearState();
    if (size == g_feed.nOffset) return;
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER pos;
    pos.QuadPart = static_cast<LONGLONG>(g_feed.nOffset);
    if (SetFilePointerEx(f, pos, nullptr, FILE_BEGIN)) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) {
            TakeBytes(chunk, got);
            g_feed.nOffset += got;
        }
    }
    CloseHandle(f);
}

} // namespace

void FeedReset() {
    ClearState();
    g_feed.szPath[0] = 0;
}

int FeedCodeAt(const char* path, DWORD now) {
    ReadNewLines(path);
    if (!g_feed.bClockSet) {
        g_feed.nNextAllowed = now;
        g_feed.bClockSet = true;
    }
    if (g_feed.bHeld && now - g_feed.nStart >= g_feed.current.nHoldMs) {
        g_feed.bHeld = false;
        g_feed.nNextAllowed = g_feed.nStart + g_feed.current.nHoldMs + g_feed.current.nGapMs;
    }
    // Signed difference: the tick count wraps after 49.7 days.
    if (!g_feed.bHeld && !g_feed.queue.empty() &&
        static_cast<LONG>(now - g_feed.nNextAllowed) >= 0) {
        g_feed.current = g_feed.queue.front();
        g_feed.queue.pop_front();
        g_feed.nStart = now;
        g_feed.bHeld = true;
    }
    return g_feed.bHeld ? g_feed.current.nCode : -1;
}

} // namespace vt
