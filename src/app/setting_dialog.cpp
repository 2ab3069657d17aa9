// The Setting dialog: the applications available here, in a fixed order;
// OK stores the confirmed one as DefaultTVAPP when it changed.
#include <cstring>

#include "app/program.h"
#include "app/tray_menu.h"
#include "config/settings_store.h"
#include "core/records.h"
#include "controllers/switching.h"
#include "controllers/user_apps.h"
#include "engine/shutdown.h"
#include "os/dialogs.h"

std::int32_t nSettingSelection = -1;
char szSettingLabel[64] = "";

namespace {

const std::int32_t kListOrder[] = {kAppSavrin,       kAppOrbisk,     kAppOrbiskCenter,
                                   kAppMediaCenter,  kAppTotalMedia35, kAppArcSoftTV5,
                                   kAppPowerCinema,  kAppTVEnhance};

void FillList(os::Hwnd dlg) {
    os::SendDlgItemMessageA(dlg, kSettingComboId, os::CB_RESETCONTENT, 0, 0);
    for (std::int32_t code : kListOrder) {
        const SwitchRow* row = SwitchRowOfCode(code);
        const TargetAppRow* app = FindTargetApp(code);
        if (row == nullptr || app == nullptr || !IsSwitchEntryAvailable(*row)) continue;
        const std::int32_t index = os::ComboAddString(dlg, kSettingComboId, app->szLabel);
        if (index >= 0 && code == DefaultTVAPP) nSettingSelection = index;
    }
    // The key-map file's applications after the eight, in file order.
    for (std::size_t i = 0; i < UserAppCount(); ++i) {
        const std::int32_t index = os::ComboAddString(dlg, kSettingComboId, UserAppAt(i)->szName);
        if (index >= 0 && kAppUserFirst + static_cast<std::int32_t>(i) == DefaultTVAPP)
            nSettingSelection = index;
    }
    if (nSettingSelection == -1) nSettingSelection = 0;
    os::SendDlgItemMessageA(dlg, kSettingComboId, os::CB_SETCURSEL,
                            static_cast<std::uint32_t>(nSettingSelection), 0);
}

void Confirm(os::Hwnd dlg) {
    nSettingSelection = os::SendDlgItemMessageA(dlg, kSettingComboId, os::CB_GETCURSEL, 0, 0);
    if (nSettingSelection >= 0) {
        char label[sizeof szSettingLabel];
        // An entry too long for the buffer keeps the previous label.
        if (os::ComboGetLBText(dlg, kSettingComboId, nSettingSelection, label, sizeof label) >= 0)
            std::memcpy(szSettingLabel, label, sizeof label);
    }
    for (const TargetAppRow& row : TargetAppTable) {
        if (std::strcmp(row.szLabel, szSettingLabel) != 0) continue;
        if (row.nCode != DefaultTVAPP) {
            DefaultTVAPP = row.nCode;
            SaveDefaultApp();
        }
        return;
    }
    for (std::size_t i = 0; i < UserAppCount(); ++i) {
        if (std::strcmp(UserAppAt(i)->szName, szSettingLabel) != 0) continue;
        const std::int32_t code = kAppUserFirst + static_cast<std::int32_t>(i);
        if (code != DefaultTVAPP) {
            DefaultTVAPP = code;
            SaveDefaultApp();
        }
        return;
    }
}

}  // namespace

std::int32_t SettingDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                            std::int32_t lParam) {
    if (msg == os::WM_INITDIALOG) {
        hSettingDlg = dlg;
        PlaceDialog(dlg);
        FillList(dlg);
        return 1;
    }
    if (msg != os::WM_COMMAND) return 0;
    switch (wParam & 0xFFFF) {
    case os::IDOK:
        Confirm(dlg);
        os::EndDialog(dlg, os::IDOK);
        return 1;
    case os::IDCANCEL:
        os::EndDialog(dlg, os::IDCANCEL);
        return 1;
    default:
        return 0;
    }
}

void ShowSettingDialog(os::Hwnd owner) {
    os::DialogBoxParamA(hInstance, kSettingDialogId, owner, SettingDlgProc, 0);
    hSettingDlg = 0;
}
