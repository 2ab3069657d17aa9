// The simulated host's files with content, the user's application-data
// folder and the program's own path. Reads are not logged: like window
// searches they change nothing.
#include <cstring>
#include <map>

#include "os/files.h"
#include "os/sim/sim_world.h"

namespace {

const char kDefaultAppData[] = "C:\\Users\\User\\AppData\\Roaming";
const char kDefaultModule[] = "C:\\Program Files\\Remote Control\\RemoteControl.exe";

struct Files {
    std::map<std::string, std::string> content;  // lower-case path
    std::string appData = kDefaultAppData;
    std::string module = kDefaultModule;
};
Files g_files;
const bool g_registered = (sim::AddResetHook([] { g_files = Files(); }), true);

std::string LowerCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Copies `text` with its NUL into `buffer` of `size`, cut to fit.
std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
    const std::uint32_t n = static_cast<std::uint32_t>(text.size()) < size
                                ? static_cast<std::uint32_t>(text.size())
                                : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace

namespace sim {

void SetFileContent(const std::string& path, const std::string& bytes) {
    g_files.content[LowerCase(path)] = bytes;
    SetFileExists(path);
}

void SetAppDataFolder(const std::string& path) { g_files.appData = path; }
void SetModuleFileName(const std::string& path) { g_files.module = path; }

}  // namespace sim

namespace os {

HResult SHGetFolderPathA(Hwnd, int folder, std::uint32_t, char* path) {
    if (!path) return E_FAIL;
    path[0] = '\0';
    std::int64_t fault = 0;
    if (sim::world::TakeFault(sim::Call::SHGetFolderPathA, &fault))
        return static_cast<HResult>(fault);
    if (folder != CSIDL_APPDATA || g_files.appData.empty() || g_files.appData.size() >= MAX_PATH)
        return E_FAIL;
    CopyOut(g_files.appData, path, MAX_PATH);
    return S_OK;
}

std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return 0;
    const std::uint32_t n = CopyOut(g_files.module, buffer, size);
    // As Windows: a cut name returns the buffer's size.
    return n < g_files.module.size() ? size : n;
}

ReadResult ReadFileBytes(const char* path, std::uint8_t* buffer, std::uint32_t cap,
                         std::uint32_t* size) {
    if (size) *size = 0;
    if (!path || !buffer || !size) return ReadResult::Failed;
    if (!sim::FileExists(path)) return ReadResult::Missing;
    if (sim::world::TakeFault(sim::Call::ReadFileBytes, nullptr)) return ReadResult::Failed;
    const auto it = g_files.content.find(LowerCase(path));
    const std::string empty;
    const std::string& bytes = it != g_files.content.end() ? it->second : empty;
    *size = static_cast<std::uint32_t>(bytes.size());
    if (bytes.size() > cap) return ReadResult::TooLarge;
    std::memcpy(buffer, bytes.data(), bytes.size());
    return ReadResult::Read;
}

}  // namespace os
