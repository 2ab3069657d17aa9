// Dialogs through the backend: the procedure's trampoline, the init
// parameter, EndDialog's result, and the combo text bound.
#include <cstring>

#include "os/dialogs.h"
#include "os/os.h"
#include "tools/backend_check/check.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace {

std::int32_t g_initParam = 0;
int g_fits = 0, g_tooLong = 0, g_edit = 0;

std::int32_t CheckDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t, std::int32_t lParam) {
    if (msg != WM_INITDIALOG) return 0;
    g_initParam = lParam;
    os::ComboAddString(dlg, 901, "short");
    os::ComboAddString(dlg, 901, "a text longer than the buffer");
    char buf[8];
    g_fits = os::ComboGetLBText(dlg, 901, 0, buf, sizeof buf) == 5 && std::strcmp(buf, "short") == 0;
    g_tooLong = os::ComboGetLBText(dlg, 901, 1, buf, sizeof buf) == -1 && buf[0] == '\0';
    os::SetDlgItemTextA(dlg, 902, "123456789");
    g_edit = os::GetDlgItemTextA(dlg, 902, buf, sizeof buf) == 7 && std::strcmp(buf, "1234567") == 0;
    os::EndDialog(dlg, 42);
    return 1;
}

}  // namespace

void CheckDialog() {
    std::int32_t result = os::DialogBoxParamA(os::GetModuleHandleA(nullptr), 900, 0, CheckDlgProc, 0x1234);
    Check(result == 42 && g_initParam == 0x1234, "dialog procedure gets its init parameter and ends the dialog");
    Check(g_fits && g_tooLong, "combo text is copied when it fits and refused when it does not");
    Check(g_edit, "GetDlgItemTextA stops at maxCount-1");
    Check(os::DialogBoxParamA(os::GetModuleHandleA(nullptr), 999, 0, CheckDlgProc, 0) == -1,
          "a missing template gives -1");
}
