#include "app/tray_menu.h"

#include "controllers/switching.h"
#include "core/records.h"
#include "os/dialogs.h"
#include "os/input.h"

os::Hmenu hTrayMenu = 0;

void ShowTrayMenu(os::Hwnd owner) {
    os::Point cursor{0, 0};
    os::GetCursorPos(&cursor);
    if (hTrayMenu != 0) os::DestroyMenu(hTrayMenu);
    hTrayMenu = os::CreatePopupMenu();

    const SwitchRow* row = SwitchRowOfCode(DefaultTVAPP);
    const TargetAppRow* app = FindTargetApp(DefaultTVAPP);
    if (row != nullptr && app != nullptr && IsSwitchEntryAvailable(*row)) {
        const std::uint32_t flags = SwitchWindowExists(*row) ? os::MF_CHECKED : os::MF_STRING;
        os::AppendMenuA(hTrayMenu, flags, app->nMenuCommand, app->szLabel);
    }
    os::AppendMenuA(hTrayMenu, os::MF_SEPARATOR, 0, nullptr);
    os::AppendMenuA(hTrayMenu, os::MF_STRING, kCmdSetting, "Setting");
    os::AppendMenuA(hTrayMenu, os::MF_SEPARATOR, 0, nullptr);
    os::AppendMenuA(hTrayMenu, os::MF_STRING, kCmdAbout, "About");
    os::AppendMenuA(hTrayMenu, os::MF_SEPARATOR, 0, nullptr);
    os::AppendMenuA(hTrayMenu, os::MF_STRING, 1201, "Exit");

    // Without the foreground the menu would not close when clicked away.
    os::SetForegroundWindow(owner);
    os::TrackPopupMenu(hTrayMenu, 0, cursor.x, cursor.y, owner);
}

bool OnMenuCommand(os::Hwnd owner, std::uint32_t id) {
    if (id == kCmdAbout) {
        ShowAboutDialog(owner);
        return true;
    }
    if (id == kCmdSetting) {
        ShowSettingDialog(owner);
        return true;
    }
    const SwitchRow* row = SwitchRowOfCommand(id);
    if (row == nullptr) return false;
    RunSwitch(*row);
    // In memory only: the Setting dialog is what stores the choice.
    DefaultTVAPP = row->nTargetAppCode;
    return true;
}
