#include "app/tray_icon.h"

#include <cstring>

os::NotifyIconData g_TrayIcon;
std::uint32_t nTaskbarCreatedMsg = 0;

namespace {

constexpr std::uint32_t kRecordSize = 88;
// A logon with a slow shell (many programs starting, a busy disk on an XP
// machine) can keep the notification area from answering for a minute or
// more; a try every 2 s costs nothing and shows the icon soon after. Two
// minutes covers such a logon; a shell that comes later still announces
// its taskbar with "TaskbarCreated".
constexpr std::uint32_t kTrayRetryMs = 2000;
constexpr int kTrayRetryTries = 60;

int nTrayRetriesLeft = 0;

// An add the shell timed out on may have gone through all the same; then
// the icon is there and only a modify is taken.
bool ShowKeptIcon() {
    return os::Shell_NotifyIconA(os::NIM_ADD, &g_TrayIcon) != 0 ||
           os::Shell_NotifyIconA(os::NIM_MODIFY, &g_TrayIcon) != 0;
}

void StopRetries(os::Hwnd hwnd) {
    if (nTrayRetriesLeft == 0) return;
    nTrayRetriesLeft = 0;
    os::KillTimer(hwnd, kTrayRetryTimerId);
}

void StartRetries(os::Hwnd hwnd) {
    if (nTrayRetriesLeft > 0) {
        nTrayRetriesLeft = kTrayRetryTries;
        return;
    }
    if (os::SetTimer(hwnd, kTrayRetryTimerId, kTrayRetryMs, nullptr) != 0)
        nTrayRetriesLeft = kTrayRetryTries;
}

}  // namespace

void RegisterTaskbarCreated() { nTaskbarCreatedMsg = os::RegisterWindowMessageA("TaskbarCreated"); }

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
    nTrayRetriesLeft = 0;
    if (os::Shell_NotifyIconA(os::NIM_ADD, &g_TrayIcon) == 0) StartRetries(hwnd);
}

void OnTaskbarCreated(os::Hwnd hwnd) {
    if (hwnd == 0 || g_TrayIcon.hWnd != hwnd) return;  // no icon of this window to restore
    if (ShowKeptIcon())
        StopRetries(hwnd);
    else
        StartRetries(hwnd);
}

void OnTrayRetryTimer(os::Hwnd hwnd) {
    if (nTrayRetriesLeft > 0 && !ShowKeptIcon() && --nTrayRetriesLeft > 0) return;
    nTrayRetriesLeft = 0;
    os::KillTimer(hwnd, kTrayRetryTimerId);
}

// The pointer over the icon: the shell has it, so a modify refreshes it.
void ModifyTrayIcon() { os::Shell_NotifyIconA(os::NIM_MODIFY, &g_TrayIcon); }

void RemoveTrayIcon(os::Hwnd hwnd) {
    StopRetries(hwnd);
    // A taskbar made after this must not bring the icon back.
    if (g_TrayIcon.hWnd == hwnd) g_TrayIcon.hWnd = 0;
    os::NotifyIconData nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = kRecordSize;
    nid.hWnd = hwnd;
    nid.uID = kTrayIconId;
    os::Shell_NotifyIconA(os::NIM_DELETE, &nid);
}
