// The notification-area icon: the kept 88-byte record, add, modify, remove,
// and adding it again when the shell lost it or was not there yet.
#pragma once
#include <cstdint>

#include "os/os.h"
#include "os/shell.h"

constexpr std::uint32_t kTrayIconId = 10;
constexpr std::uint32_t kTrayCallbackMessage = 1001;
constexpr std::uint32_t kMainIconId = 50;
constexpr std::uint32_t kTrayRetryTimerId = 2001;

extern os::NotifyIconData g_TrayIcon;
// The shell's "TaskbarCreated" message as registered at start-up; 0 if not.
extern std::uint32_t nTaskbarCreatedMsg;

void RegisterTaskbarCreated();
// Adds the icon; when the shell does not take it, tries again on a timer.
void AddTrayIcon(os::Hwnd hwnd, std::uint32_t iconId, const char* tip);
// The shell made a new taskbar, which knows no icons: add the kept one again.
void OnTaskbarCreated(os::Hwnd hwnd);
void OnTrayRetryTimer(os::Hwnd hwnd);
void ModifyTrayIcon();
void RemoveTrayIcon(os::Hwnd hwnd);
