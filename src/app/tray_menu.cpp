#include "app/tray_menu.h"

#include "controllers/switching.h"
#include "controllers/user_apps.h"
#include "core/records.h"
#include "os/dialogs.h"
#include "os/input.h"

os::Hmenu hTrayMenu = 0;
std::int32_t bTrayMenuOpen = 0;
os::Hwnd hAboutDlg = 0;
os::Hwnd hSettingDlg = 0;

namespace {

// The dialogs are modal but the tray still reaches the main window: without
// this each click would stack another dialog on the open one.
bool BringOpenDialogForward() {
    const os::Hwnd dlg = hSettingDlg != 0 ? hSettingDlg : hAboutDlg;
    if (dlg == 0) return false;
    os::SetForegroundWindow(dlg);
    return true;
}

}  // namespace

void ShowTrayMenu(os::Hwnd owner) {
    // The click that reaches us while the menu is up has closed it already.
    if (bTrayMenuOpen != 0) return;
    if (BringOpenDialogForward()) return;
    os::Point cursor{0, 0};
    os::GetCursorPos(&cursor);
    if (hTrayMenu != 0) os::DestroyMenu(hTrayMenu);
    hTrayMenu = os::CreatePopupMenu();

    const SwitchRow* row = SwitchRowOfCode(DefaultTVAPP);
    const TargetAppRow* app = FindTargetApp(DefaultTVAPP);
    if (row != nullptr && app != nullptr && IsSwitchEntryAvailable(*row)) {
        const std::uint32_t flags = SwitchWindowExists(*row) ? os::MF_CHECKED : os::MF_STRING;
        os::AppendMenuA(hTrayMenu, flags, app->nMenuCommand, app->szLabel);
    } else if (const int user = UserAppOfCode(DefaultTVAPP); user >= 0) {
        const std::size_t i = static_cast<std::size_t>(user);
        const std::uint32_t flags = FindUserAppWindow(i) != 0 ? os::MF_CHECKED : os::MF_STRING;
        os::AppendMenuA(hTrayMenu, flags, kUserMenuCommandFirst + static_cast<std::uint32_t>(i),
                        UserAppAt(i)->szName);
    }
    os::AppendMenuA(hTrayMenu, os::MF_SEPARATOR, 0, nullptr);
    os::AppendMenuA(hTrayMenu, os::MF_STRING, kCmdSetting, "Setting");
    os::AppendMenuA(hTrayMenu, os::MF_SEPARATOR, 0, nullptr);
    os::AppendMenuA(hTrayMenu, os::MF_STRING, kCmdAbout, "About");
    os::AppendMenuA(hTrayMenu, os::MF_SEPARATOR, 0, nullptr);
    os::AppendMenuA(hTrayMenu, os::MF_STRING, 1201, "Exit");

    // Without the foreground the menu would not close when clicked away.
    os::SetForegroundWindow(owner);
    bTrayMenuOpen = 1;
    os::TrackPopupMenu(hTrayMenu, 0, cursor.x, cursor.y, owner);
    bTrayMenuOpen = 0;
}

bool OnMenuCommand(os::Hwnd owner, std::uint32_t id) {
    if (id == kCmdAbout || id == kCmdSetting) {
        if (BringOpenDialogForward()) return true;
        if (id == kCmdAbout)
            ShowAboutDialog(owner);
        else
            ShowSettingDialog(owner);
        return true;
    }
    if (const int user = UserAppOfMenuCommand(id); user >= 0) {
        RunUserSwitch(static_cast<std::size_t>(user));
        DefaultTVAPP = kAppUserFirst + user;
        return true;
    }
    const SwitchRow* row = SwitchRowOfCommand(id);
    if (row == nullptr) return false;
    RunSwitch(*row);
    // In memory only: the Setting dialog is what stores the choice.
    DefaultTVAPP = row->nTargetAppCode;
    return true;
}
