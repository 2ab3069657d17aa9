#include "app/tray_icon.h"

#include <cstring>

os::NotifyIconData g_TrayIcon;

namespace {

constexpr std::uint32_t kRecordSize = 88;

}  // namespace

void AddTrayIcon(os::Hwnd hwnd, std::uint32_t iconId, const char* tip) {
    std::memset(&g_TrayIcon, 0, sizeof g_TrayIcon);
    g_TrayIcon.cbSize = kRecordSize;
    g_TrayIcon.hWnd = hwnd;
    g_TrayIcon.uID = kTrayIconId;
    g_TrayIcon.uFlags = os::NIF_MESSAGE | os::NIF_ICON | os::NIF_TIP;
    g_TrayIcon.uCallbackMessage = kTrayCallbackMessage;
    g_TrayIcon.iconId = iconId;
    if (tip != nullptr) {
        // 64 characters including the terminator.
        std::strncpy(g_TrayIcon.szTip, tip, sizeof g_TrayIcon.szTip - 1);
        g_TrayIcon.szTip[sizeof g_TrayIcon.szTip - 1] = '\0';
    }
    os::Shell_NotifyIconA(os::NIM_ADD, &g_TrayIcon);
}

// Restores the icon if the shell lost it (Explorer restarted).
void ModifyTrayIcon() { os::Shell_NotifyIconA(os::NIM_MODIFY, &g_TrayIcon); }

void RemoveTrayIcon(os::Hwnd hwnd) {
    os::NotifyIconData nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = kRecordSize;
    nid.hWnd = hwnd;
    nid.uID = kTrayIconId;
    os::Shell_NotifyIconA(os::NIM_DELETE, &nid);
}
