// The notification-area icon and the shell's registered message.
#include "os/shell.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>
#include <shellapi.h>

namespace os {

int Shell_NotifyIconA(std::uint32_t message, const NotifyIconData* data) {
    if (!data) return 0;
    NOTIFYICONDATAA real{};
    // The first, 88-byte form of the record: every shell from 95 on takes it.
    real.cbSize = NOTIFYICONDATAA_V1_SIZE;
    real.hWnd = win32::ToHwnd(data->hWnd);
    real.uID = data->uID;
    real.uFlags = data->uFlags;
    real.uCallbackMessage = data->uCallbackMessage;
    if (data->iconId)
        real.hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(data->iconId));
    static_assert(sizeof(data->szTip) == 64, "the first form holds a 64-byte tip");
    for (int i = 0; i < 63 && data->szTip[i]; ++i) real.szTip[i] = data->szTip[i];
    return ::Shell_NotifyIconA(message, &real) ? 1 : 0;
}

std::uint32_t RegisterWindowMessageA(const char* name) {
    if (!name) return 0;
    return ::RegisterWindowMessageA(name);
}

}  // namespace os
