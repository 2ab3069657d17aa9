// The tray icon's popup menu, rebuilt at every click, the commands it and
// the accelerators send, and the About and Setting dialogs they open.
#pragma once
#include <cstdint>

#include "os/os.h"

constexpr std::uint32_t kCmdAbout = 30;
constexpr std::uint32_t kCmdSetting = 32;
constexpr std::uint32_t kAboutDialogId = 21;
constexpr std::uint32_t kSettingDialogId = 20;
constexpr int kSettingComboId = 11;

// The last menu built; destroyed when the next one is built.
extern os::Hmenu hTrayMenu;
// 1 while the menu is tracked: a tray click then only closes it.
extern std::int32_t bTrayMenuOpen;
// The About and Setting dialogs while open, else 0: a tray click or their
// command brings the open one forward instead of opening another.
extern os::Hwnd hAboutDlg;
extern os::Hwnd hSettingDlg;

// Builds the menu at the cursor and tracks it; the choice arrives later as
// WM_COMMAND to `owner`. With the menu up it does nothing; with About or
// Setting open it brings that dialog forward instead.
void ShowTrayMenu(os::Hwnd owner);
// About, Setting and the eight application entries; false for other ids.
bool OnMenuCommand(os::Hwnd owner, std::uint32_t id);

// ---- the dialogs (about_dialog.cpp, setting_dialog.cpp)
void ShowAboutDialog(os::Hwnd owner);
void ShowSettingDialog(os::Hwnd owner);
std::int32_t AboutDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);
std::int32_t SettingDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                            std::int32_t lParam);
// The Setting dialog's memory between openings: the combo-box index last
// chosen (-1 at first) and the label last confirmed.
extern std::int32_t nSettingSelection;
extern char szSettingLabel[64];
