// The About dialog: name and version, placed like the shutdown dialog.
#include "app/program.h"
#include "app/tray_menu.h"
#include "engine/shutdown.h"
#include "os/dialogs.h"

std::int32_t AboutDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                          std::int32_t lParam) {
    if (msg == os::WM_INITDIALOG) {
        hAboutDlg = dlg;
        PlaceDialog(dlg);
        return 1;
    }
    if (msg == os::WM_COMMAND) {
        const std::uint32_t id = wParam & 0xFFFF;
        if (id == os::IDOK || id == os::IDCANCEL) {
            os::EndDialog(dlg, static_cast<std::int32_t>(id));
            return 1;
        }
    }
    return 0;
}

void ShowAboutDialog(os::Hwnd owner) {
    os::DialogBoxParamA(hInstance, kAboutDialogId, owner, AboutDlgProc, 0);
    hAboutDlg = 0;
}
