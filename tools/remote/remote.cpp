// remote <code> [holdMs] [gapMs]: presses a remote key on the virtual
// tuner by appending one line to its feed file.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The feed file the virtual tuner reads: its "FeedFile" setting, or the
// default when that is absent or not a fitting string.
void FeedPath(char* path, DWORD size) {
    std::strncpy(path, "C:\\vtuner\\feed.txt", size - 1);
    path[size - 1] = 0;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\VirtualTuner", 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    char buf[MAX_PATH];
    DWORD type = 0, len = sizeof buf - 1;
    if (RegQueryValueExA(h, "FeedFile", nullptr, &type, reinterpret_cast<BYTE*>(buf), &len) == ERROR_SUCCESS &&
        type == REG_SZ && len > 1 && len < sizeof buf) {
        buf[len] = 0;
        std::strncpy(path, buf, size - 1);
        path[size - 1] = 0;
    }
    RegCloseKey(h);
}

bool Number(const char* text, long lo, long hi, long* out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (end == text || *end != 0 || v < lo || v > hi) return false;
    *out = v;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    long code = 0, hold = 200, gap = -1;
    if (argc < 2 || argc > 4 || !Number(argv[1], 0, 255, &code) ||
        (argc > 2 && !Number(argv[2], 0, 60000, &hold)) || (argc > 3 && !Number(argv[3], 0, 60000, &gap))) {
        std::fprintf(stderr, "usage: remote <code 0..255> [holdMs] [gapMs]\n");
        return 2;
    }
    char path[MAX_PATH], line[64];
    FeedPath(path, sizeof path);
    if (gap >= 0) std::snprintf(line, sizeof line, "%ld %ld %ld\r\n", code, hold, gap);
    else std::snprintf(line, sizeof line, "%ld %ld\r\n", code, hold);
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "remote: cannot open %s (error %lu)\n", path, GetLastError());
        return 1;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(f, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(f);
    if (!ok || written != std::strlen(line)) {
        std::fprintf(stderr, "remote: write to %s failed\n", path);
        return 1;
    }
    return 0;
}
