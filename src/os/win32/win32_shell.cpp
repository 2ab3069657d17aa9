// Shell_NotifyIconA with the 88-byte record, as Windows 95 to 7 all accept.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "os/shell.h"

namespace os {

int Shell_NotifyIconA(std::uint32_t message, const NotifyIconData* data) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(data->hWnd));
    nid.uID = data->uID;
    nid.uFlags = data->uFlags;
    nid.uCallbackMessage = data->uCallbackMessage;
    if (data->iconId != 0)
        nid.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(data->iconId));
    std::memcpy(nid.szTip, data->szTip, sizeof data->szTip);
    nid.szTip[sizeof data->szTip - 1] = '\0';
    return ::Shell_NotifyIconA(message, &nid) ? 1 : 0;
}

}  // namespace os
