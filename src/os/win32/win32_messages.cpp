// Synthetic keyboard input, posted and sent messages, shell starts and
// message boxes.
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>
#include <shellapi.h>

using win32::FromHinstance;
using win32::ToHwnd;

namespace os {

void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uint32_t extraInfo) {
    ::keybd_event(vk, scan, flags, extraInfo);
}

int PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    return ::PostMessageA(ToHwnd(hwnd), msg, wParam, lParam) ? 1 : 0;
}

std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    return static_cast<std::int32_t>(::SendMessageA(ToHwnd(hwnd), msg, wParam, lParam));
}

std::uint32_t ShellExecuteA(Hwnd owner, const char* verb, const char* file, const char* params,
                            const char* dir, int showCmd) {
    return FromHinstance(::ShellExecuteA(ToHwnd(owner), verb, file, params, dir, showCmd));
}

int MessageBoxA(Hwnd owner, const char* text, const char* caption, std::uint32_t type) {
    return ::MessageBoxA(ToHwnd(owner), text, caption, type);
}

}  // namespace os
