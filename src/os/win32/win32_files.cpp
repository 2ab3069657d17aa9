// The program's folders and reading a whole file.
#include "os/files.h"

#include <cstring>

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>
#include <shlobj.h>

namespace os {

HResult SHGetFolderPathA(Hwnd owner, int folder, std::uint32_t flags, char* path) {
    if (!path) return E_FAIL;
    path[0] = '\0';
    const HRESULT hr = ::SHGetFolderPathA(reinterpret_cast<HWND>(static_cast<UINT_PTR>(owner)),
                                          folder, nullptr, flags, path);
    if (hr != S_OK) path[0] = '\0';
    return static_cast<HResult>(hr);
}

std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) return 0;
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, size);
    // XP leaves a cut name without its NUL.
    buffer[n < size ? n : size - 1] = '\0';
    return n;
}

ReadResult ReadFileBytes(const char* path, std::uint8_t* buffer, std::uint32_t cap,
                         std::uint32_t* size) {
    if (size) *size = 0;
    if (!path || !buffer || !size) return ReadResult::Failed;
    // Shared for writing too: an editor may hold the file open.
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                              : ReadResult::Failed;
    }
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file, &high);
    ReadResult result = ReadResult::Read;
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
        result = ReadResult::Failed;
    } else if (high != 0 || low > cap) {
        *size = high != 0 ? 0xFFFFFFFFu : low;
        result = ReadResult::TooLarge;
    } else {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, low, &got, nullptr)) result = ReadResult::Failed;
        else *size = got;  // a file cut short meanwhile gives what was there
    }
    ::CloseHandle(file);
    return result;
}

}  // namespace os
