// The notification-area icon: the kept 88-byte record, add, modify, remove.
#pragma once
#include <cstdint>

#include "os/os.h"
#include "os/shell.h"

constexpr std::uint32_t kTrayIconId = 10;
constexpr std::uint32_t kTrayCallbackMessage = 1001;
constexpr std::uint32_t kMainIconId = 50;

extern os::NotifyIconData g_TrayIcon;

void AddTrayIcon(os::Hwnd hwnd, std::uint32_t iconId, const char* tip);
void ModifyTrayIcon();
void RemoveTrayIcon(os::Hwnd hwnd);
