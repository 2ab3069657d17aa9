// Answers the driver's property requests. Every field is read at its byte
// offset in the request, never through a caller's structure, and results
// go only through the addresses the request carries.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "vtuner.h"

namespace vt {

namespace {

const HRESULT kInvalid = E_INVALIDARG;
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
const HRESULT kRefused = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);

enum class Kind { CapPin, MainPin, CapI2C, MainI2C, Probe };

struct SetRow {
    GUID set;
    const char* szName;
    Kind kind;
    ULONG nId;
    ULONG nPropertyLength;
    ULONG nDataLength;
    bool bMainDevice; // belongs to the main-device driver
};

const SetRow kSets[] = {
    {{0x9490E589, 0x6B17, 0x44EC, {0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE}},
     "cap-pin", Kind::CapPin, 0, 32, 1, false},
    {{0x8FDF6765, 0x6DB7, 0x4C9B, {0x86, 0x0B, 0x2E, 0x8D, 0xE7, 0x2D, 0x42, 0x0C}},
     "main-pin", Kind::MainPin, 1, 32, 1, true},
    {{0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}},
     "cap-i2c", Kind::CapI2C, 0, 48, 8, false},
    {{0xDCDF1D99, 0xAEAC, 0x445C, {0x9C, 0x1F, 0xDE, 0xF8, 0xDF, 0x2D, 0x8C, 0x97}},
     "main-i2c", Kind::MainI2C, 1, 48, 8, true},
    {{0x8EE0EBA8, 0x7DA6, 0x4AA9, {0xBD, 0x80, 0x87, 0xE7, 0x6B, 0x8A, 0xDB, 0xC8}},
     "probe", Kind::Probe, 0, 40, 1, true},
};

constexpr std::uint8_t kI2CAddress = 0x60;
constexpr std::uint32_t kMaxPin = 31;
constexpr std::uint32_t kMaxReadLength = 16;

CRITICAL_SECTION g_lock;
bool g_bLockReady = false;

HANDLE OpenForAppend(const char* path) {
    return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The request log is opened once, not on every poll (15 a second): the
// figures taken under Wine are to measure the program, not this log.
struct RequestLog {
    HANDLE hFile = INVALID_HANDLE_VALUE;
    char szPath[MAX_PATH] = {};
};
RequestLog g_log;

// The open log is still the file at `path`: a reader that deleted or
// replaced it gets a new one rather than lines written into the old.
bool LogStillThere(const char* path) {
    if (g_log.hFile == INVALID_HANDLE_VALUE || std::strcmp(path, g_log.szPath) != 0) return false;
    WIN32_FILE_ATTRIBUTE_DATA fad;
    LARGE_INTEGER size;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &fad) || !GetFileSizeEx(g_log.hFile, &size))
        return false;
    return fad.nFileSizeLow == size.LowPart && fad.nFileSizeHigh == static_cast<DWORD>(size.HighPart);
}

bool OpenLog(const char* path) {
    if (LogStillThere(path)) return true;
    CloseLog();
    if (std::strlen(path) >= sizeof g_log.szPath) return false;
    HANDLE f = OpenForAppend(path);
    if (f == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND) {
        // First request of a fresh machine: make the log's folder.
        char dir[MAX_PATH];
        std::strcpy(dir, path);
        char* slash = std::strrchr(dir, '\\');
        if (slash) {
            *slash = 0;
            CreateDirectoryA(dir, nullptr);
            f = OpenForAppend(path);
        }
    }
    if (f == INVALID_HANDLE_VALUE) return false;
    g_log.hFile = f;
    std::strcpy(g_log.szPath, path);
    return true;
}

std::uint8_t U8(const std::uint8_t* p, size_t off) { return p[off]; }
std::uint16_t U16(const std::uint8_t* p, size_t off) {
    std::uint16_t v;
    std::memcpy(&v, p + off, 2);
    return v;
}
std::uint32_t U32(const std::uint8_t* p, size_t off) {
    std::uint32_t v;
    std::memcpy(&v, p + off, 4);
    return v;
}
// On this 32-bit build an address field is the pointer itself.
std::uint8_t* Address(std::uint32_t a) { return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(a)); }

struct Answer {
    char szFields[160];
    HRESULT hr;
};

void Refuse(Answer* a, HRESULT hr, const char* why) {
    a->hr = hr;
    std::snprintf(a->szFields, sizeof a->szFields, "refused=%s", why);
}

int PinLevel(const Settings& s, int code, std::uint32_t pin) {
    if (code < 0) return 0;
    if (pin == s.nReadyPin) return 1;
    return pin <= 5 ? (code >> pin) & 1 : 0;
}

void AnswerPin(const Settings& s, Kind kind, const std::uint8_t* req, std::uint8_t* data, int code, Answer* a) {
    std::uint32_t pin;
    if (kind == Kind::CapPin) {
        pin = U8(req, 24);
        if (data[0] != pin) return Refuse(a, kInvalid, "data-pin");
    } else {
        if (U32(req, 24) != 2) return Refuse(a, kInvalid, "selector");
        if (U8(req, 30) != 1) return Refuse(a, kInvalid, "byte30");
        if (data[0] != 0) return Refuse(a, kInvalid, "data-byte");
        if (U16(req, 28) != s.nChipId) {
            std::snprintf(a->szFields, sizeof a->szFields, "chip=0x%04X refused=chip", U16(req, 28));
            a->hr = kNotFound;
            return;
        }
        pin = U8(req, 31);
    }
    if (pin > kMaxPin) return Refuse(a, kInvalid, "pin");
    int level = PinLevel(s, code, pin);
    data[0] = static_cast<std::uint8_t>(level);
    a->hr = S_OK;
    if (kind == Kind::MainPin)
        std::snprintf(a->szFields, sizeof a->szFields, "chip=0x%04X pin=%u level=%d", U16(req, 28), pin, level);
    else
        std::snprintf(a->szFields, sizeof a->szFields, "pin=%u level=%d", pin, level);
}

void AnswerI2C(Kind kind, const std::uint8_t* req, int code, Answer* a) {
    std::uint8_t selector = 0;
    std::uint8_t device;
    if (kind == Kind::CapI2C) {
        device = U8(req, 24);
    } else {
        selector = U8(req, 24);
        device = U8(req, 25);
        if (selector > 1) return Refuse(a, kInvalid, "selector");
    }
    std::uint32_t writeAddr = U32(req, 28), writeLen = U32(req, 32);
    std::uint32_t readAddr = U32(req, 36), readLen = U32(req, 40);
    if (writeLen > 1 || (writeLen == 1 && writeAddr == 0)) return Refuse(a, kInvalid, "write");
    if (readAddr == 0 || readLen == 0 || readLen > kMaxReadLength) return Refuse(a, kInvalid, "read");
    if (device != kI2CAddress) return Refuse(a, kNotFound, "device");
    std::uint8_t* out = Address(readAddr);
    out[0] = code < 0 ? 0xFF : static_cast<std::uint8_t>(code);
    // Filler a reader should never take for the code.
    for (std::uint32_t i = 1; i < readLen; ++i) out[i] = 0xA5;
    a->hr = S_OK;
    if (kind == Kind::MainI2C)
        std::snprintf(a->szFields, sizeof a->szFields, "sel=%u addr=0x%02X len=%u byte0=0x%02X", selector,
                      device, readLen, out[0]);
    else
        std::snprintf(a->szFields, sizeof a->szFields, "addr=0x%02X len=%u byte0=0x%02X", device, readLen, out[0]);
}

void AnswerProbe(const Settings& s, const std::uint8_t* req, Answer* a) {
    if (U32(req, 24) != 2) return Refuse(a, kInvalid, "selector");
    std::uint32_t foundAddr = U32(req, 32);
    if (foundAddr == 0) return Refuse(a, kInvalid, "found-address");
    std::uint16_t chip = U16(req, 28);
    bool found = chip == s.nChipId;
    if (found) *Address(foundAddr) = 1;
    a->hr = found ? S_OK : kNotFound;
    std::snprintf(a->szFields, sizeof a->szFields, "chip=0x%04X found=%d", chip, found ? 1 : 0);
}

void WriteLog(const Settings& s, const char* set, const Answer& a) {
    char line[256];
    std::snprintf(line, sizeof line, "%lu %s %s hr=0x%08lX", static_cast<unsigned long>(GetTickCount()), set,
                  a.szFields, static_cast<unsigned long>(a.hr));
    LogLine(s.szLogFile, line);
}

} // namespace

void LogLine(const char* path, const char* text) {
    if (!OpenLog(path)) return;
    // One write per line, straight to the file: a reader sees whole lines
    // as soon as they are written.
    char line[512];
    size_t n = std::strlen(text);
    if (n > sizeof line - 2) n = sizeof line - 2;
    std::memcpy(line, text, n);
    line[n++] = '\r';
    line[n++] = '\n';
    DWORD written = 0;
    WriteFile(g_log.hFile, line, static_cast<DWORD>(n), &written, nullptr);
}

void CloseLog() {
    if (g_log.hFile != INVALID_HANDLE_VALUE) CloseHandle(g_log.hFile);
    g_log.hFile = INVALID_HANDLE_VALUE;
}

HRESULT AnswerKsProperty(const Settings& s, void* property, ULONG propertyLength, void* data, ULONG dataLength,
                         ULONG* bytesReturned) {
    EnterCriticalSection(&g_lock);
    if (bytesReturned) *bytesReturned = 0;
    Answer a{};
    const char* setName = "unknown";
    const std::uint8_t* req = static_cast<const std::uint8_t*>(property);
    const SetRow* row = nullptr;
    if (req && propertyLength >= 24) {
        for (const SetRow& r : kSets)
            if (std::memcmp(req, &r.set, 16) == 0) row = &r;
    }
    if (!req || propertyLength < 24) {
        Refuse(&a, kInvalid, "header");
    } else if (!row) {
        Refuse(&a, kNotFound, "set");
    } else {
        setName = row->szName;
        std::uint32_t id = U32(req, 16), flags = U32(req, 20);
        int code = FeedCodeAt(s.szFeedFile, GetTickCount());
        if (s.bRefuse) Refuse(&a, kRefused, "driver");
        else if (row->bMainDevice != s.bMainDevice) Refuse(&a, kNotFound, "other-driver");
        else if (id != row->nId) Refuse(&a, kNotFound, "id");
        else if (flags != 1) Refuse(&a, kInvalid, "flags");
        else if (propertyLength != row->nPropertyLength) Refuse(&a, kInvalid, "length");
        else if (!data || dataLength != row->nDataLength) Refuse(&a, kInvalid, "data");
        else {
            std::uint8_t* out = static_cast<std::uint8_t*>(data);
            switch (row->kind) {
            case Kind::CapPin:
            case Kind::MainPin:
                AnswerPin(s, row->kind, req, out, code, &a);
                if (a.hr == S_OK && bytesReturned) *bytesReturned = 1;
                break;
            case Kind::CapI2C:
            case Kind::MainI2C: AnswerI2C(row->kind, req, code, &a); break;
            case Kind::Probe: AnswerProbe(s, req, &a); break;
            }
        }
    }
    WriteLog(s, setName, a);
    HRESULT hr = a.hr;
    LeaveCriticalSection(&g_lock);
    return hr;
}

void InitRequestLock() {
    if (!g_bLockReady) {
        InitializeCriticalSection(&g_lock);
        g_bLockReady = true;
    }
}

} // namespace vt
