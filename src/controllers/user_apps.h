// The user applications of the key-map file as the program runs them: their
// state (one record per parsed application, apart from the parsed tables),
// their window search, their keys, and starting and closing them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/keymap_file.h"
#include "os/os.h"

// DefaultTVAPP of the file's application at `index` (file order): far above
// the eight codes 2..10, so neither can stand for the other.
constexpr std::int32_t kAppUserFirst = 100;
// Tray menu command of the application at `index`, after 1101..1108.
constexpr std::uint32_t kUserMenuCommandFirst = 1120;

struct UserAppRecord {
    std::int32_t bActive;
    std::int32_t bWatch;  // started by us: the launch watcher follows it
    os::Hwnd hWnd;
};
extern UserAppRecord UserApps[kKeymapMaxUserApps];

// All records back to their start-up state.
void ResetUserApps();
// How many user applications the file in use gives (0 without a file).
std::size_t UserAppCount();
// The parsed application, or nullptr when `index` is beyond the file.
const UserApp* UserAppAt(std::size_t index);
// Its index for a DefaultTVAPP or menu command; -1 for anything else,
// including an application no longer in the file.
int UserAppOfCode(std::int32_t code);
int UserAppOfMenuCommand(std::uint32_t command);

// Its window: class and/or whole title through FindWindowExA, or the title
// prefix by a bounded walk (byte for byte). 0 when absent.
os::Hwnd FindUserAppWindow(std::size_t index);
// Runs the row for `code` (the layout's own row, else the every-layout
// row); false when the map has none or a `once` row's repeat.
bool RunUserAppKey(std::size_t index, std::uint32_t code);
// Whether its map thins or drops a held key's repeats.
AppRepeat UserAppRepeat(std::size_t index);

// Closes it when its window exists (WM_CLOSE posted to the window).
void CloseUserApp(std::size_t index);
// Closes every user application but `except` (-1: all).
void CloseUserAppsExcept(int except);
// Starts it with its exe and args unless it runs; closes it when it runs.
void LaunchOrCloseUserApp(std::size_t index);
// Brings it forward, or starts it when it does not run (the tray menu).
void ActivateOrLaunchUserApp(std::size_t index);
