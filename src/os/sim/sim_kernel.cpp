// Kernel-side answers of the simulated host: debugger output, the Windows
// directory, which files exist, and the program's module and string table.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "os/sim/sim_world.h"

namespace {

struct Host {
    std::string windowsDir = "C:\\windows";
    std::set<std::string> files;  // lower case
    std::map<std::uint32_t, std::string> strings = {{22, "Remote Control"}, {23, "Remote Control"}};
};
Host g_host;

std::string LowerCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

namespace sim {

void SetWindowsDirectory(const std::string& dir) { g_host.windowsDir = dir; }

void SetFileExists(const std::string& path, bool exists) {
    if (exists)
        g_host.files.insert(LowerCase(path));
    else
        g_host.files.erase(LowerCase(path));
}

bool FileExists(const std::string& path) { return g_host.files.count(LowerCase(path)) != 0; }

void SetResourceString(std::uint32_t id, const std::string& text) { g_host.strings[id] = text; }

namespace world {
void ResetHost() { g_host = Host(); }
}  // namespace world

}  // namespace sim

namespace os {

void OutputDebugStringA(const char* text) { sim::Log("debug " + sim::world::Quote(text)); }

std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    std::int64_t fault = 0;
    if (sim::world::TakeFault(sim::Call::GetWindowsDirectoryA, &fault))
        return static_cast<std::uint32_t>(fault);
    const std::string& dir = g_host.windowsDir;
    const auto length = static_cast<std::uint32_t>(dir.size());
    // Too small: nothing copied, the size needed (with the NUL) returned.
    if (!buffer || size <= length) return length + 1;
    std::memcpy(buffer, dir.c_str(), length + 1);
    return length;
}

Hinstance GetModuleHandleA(const char* name) { return name ? 0 : 0x400000u; }

int LoadStringA(Hinstance instance, std::uint32_t id, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    auto it = g_host.strings.find(id);
    if (it == g_host.strings.end()) {
        buffer[0] = '\0';
        return 0;
    }
    const int n = static_cast<int>(std::min<std::size_t>(it->second.size(), maxCount - 1));
    std::memcpy(buffer, it->second.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace os
