// Notification-area icon (shell32) and the popup-menu calls around it.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;
constexpr std::uint32_t NIF_MESSAGE = 1;
constexpr std::uint32_t NIF_ICON = 2;
constexpr std::uint32_t NIF_TIP = 4;

// The fields of the 88-byte NOTIFYICONDATAA the program fills. The backend
// builds the platform record from it, with cbSize 88.
struct NotifyIconData {
    std::uint32_t cbSize;
    Hwnd hWnd;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    std::uint32_t iconId;  // icon resource id, 0 for none
    char szTip[64];
};

// Nonzero on success. The shell refuses an add of an icon it already has,
// and a modify or delete of one it does not have.
int Shell_NotifyIconA(std::uint32_t message, const NotifyIconData* data);

// The id of a message registered by name (user32), 0xC000..0xFFFF, the same
// for every program that registers the same name; 0 on failure. The shell
// broadcasts "TaskbarCreated" when it (re)creates the taskbar.
std::uint32_t RegisterWindowMessageA(const char* name);

}  // namespace os
