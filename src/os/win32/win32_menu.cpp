// Popup menus.
#include "os/dialogs.h"
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

using win32::ToHmenu;
using win32::ToHwnd;

namespace os {

Hmenu CreatePopupMenu() {
    return static_cast<Hmenu>(reinterpret_cast<std::uintptr_t>(::CreatePopupMenu()));
}

int AppendMenuA(Hmenu menu, std::uint32_t flags, std::uint32_t id, const char* text) {
    return ::AppendMenuA(ToHmenu(menu), flags, id, text) ? 1 : 0;
}

int TrackPopupMenu(Hmenu menu, std::uint32_t flags, int x, int y, Hwnd owner) {
    return ::TrackPopupMenu(ToHmenu(menu), flags, x, y, 0, ToHwnd(owner), nullptr);
}

int DestroyMenu(Hmenu menu) { return ::DestroyMenu(ToHmenu(menu)) ? 1 : 0; }

}  // namespace os
