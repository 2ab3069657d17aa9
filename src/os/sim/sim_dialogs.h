// The simulated dialogs, popup menus and power-off: a scripted user who
// presses a dialog button, picks a combo-box entry, types into an edit field
// or chooses a menu item after a while, and what tests read back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "os/os.h"

namespace sim {

// ---- the scripted user of dialogs. Actions are taken in order, by the
// innermost open dialog; `afterMs` counts from the moment the action's turn
// comes (the dialog opening, or the previous action). With no action left,
// a dialog stays open until the outermost Run ends (at once when it was
// opened outside any Run); then the user closes it with the close box
// (WM_COMMAND IDCANCEL), and the log says so.
void PressDialogButton(int id, std::uint32_t afterMs = 0);
void PickComboEntry(int id, int index, std::uint32_t afterMs = 0);
void TypeDialogText(int id, const std::string& text, std::uint32_t afterMs = 0);
// The same at a virtual time (or as soon as a dialog is open after it).
void PressDialogButtonAt(std::uint32_t time, int id);
void PickComboEntryAt(std::uint32_t time, int id, int index);
// The close box: WM_CLOSE, which a dialog procedure that leaves it to the
// dialog manager gets back as WM_COMMAND IDCANCEL.
void CloseDialogAt(std::uint32_t time);
int OpenDialogCount();
// The innermost open dialog, or 0.
os::Hwnd OpenDialog();
std::vector<std::string> ComboEntries(os::Hwnd dlg, int id);
int ComboSelection(os::Hwnd dlg, int id);  // CB_ERR when none
std::string DialogItemText(os::Hwnd dlg, int id);

// ---- popup menus. The next TrackPopupMenu chooses `id` (0 dismisses the
// menu) after `afterMs`; with nothing scripted it is dismissed at once.
void ChooseMenuItem(std::uint32_t id, std::uint32_t afterMs = 0);
struct MenuItem {
    std::uint32_t flags;
    std::uint32_t id;
    std::string text;
};
// The items of the menu most recently tracked.
std::vector<MenuItem> LastTrackedMenu();
// The menu open at virtual time `time` (or the next to open after it)
// chooses `id` then; 0 dismisses it.
void ChooseMenuItemAt(std::uint32_t time, std::uint32_t id);

// ---- clicks on the program's tray icon. At `time` a popup menu that is
// open closes (the click is outside it); then the icon's window gets the
// click's notices, as the shell sends them: its callback message with the
// icon id and WM_LBUTTONDOWN, WM_LBUTTONUP (left); WM_RBUTTONDOWN,
// WM_RBUTTONUP (right); WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
// WM_LBUTTONUP (double).
enum class TrayClick : std::uint8_t { Left, Right, Double };
void ClickTrayIconAt(std::uint32_t time, TrayClick click);

// ---- power-off
void SetProcessTokenOpens(bool opens);          // default true
void SetShutdownPrivilegeHeld(bool held);       // default true
void SetExitWindowsResult(int result);          // default 1
int ExitWindowsCount();

}  // namespace sim
