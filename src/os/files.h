// Where the program's own files are (shell32, kernel32) and reading one
// whole file of limited size.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

constexpr std::uint32_t MAX_PATH = 260;
constexpr int CSIDL_APPDATA = 0x001A;           // the user's roaming application data
constexpr std::uint32_t SHGFP_TYPE_CURRENT = 0;

// SHGetFolderPathA with no access token: `path` holds MAX_PATH characters.
// S_OK with the folder; any other result leaves `path` empty.
HResult SHGetFolderPathA(Hwnd owner, int folder, std::uint32_t flags, char* path);

// GetModuleFileNameA of the running program (module NULL). Returns the
// length copied; `size` or more means the name was cut (the buffer is then
// still terminated, which XP itself does not do); 0 on failure.
std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size);

// CreateFileA (read, share read and write), GetFileSize, ReadFile and
// CloseHandle, always made together.
enum class ReadResult : std::uint8_t {
    Read,       // *size bytes in `buffer`
    Missing,    // no such file or folder
    TooLarge,   // larger than `cap`: nothing read, *size holds its size
    Failed,     // there, but it could not be opened or read
};
ReadResult ReadFileBytes(const char* path, std::uint8_t* buffer, std::uint32_t cap,
                         std::uint32_t* size);

}  // namespace os
