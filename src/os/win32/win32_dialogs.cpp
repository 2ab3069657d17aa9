// Modal dialogs and their controls, and window placement. Dialog procedures
// are plain cdecl functions; each gets a stdcall trampoline from a small
// fixed set the first time it is used.
#include "os/dialogs.h"
#include "os/os.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

using win32::FromHwnd;
using win32::ToHinstance;
using win32::ToHwnd;

namespace {

constexpr int kMaxDialogProcs = 8;
os::DlgProc g_dlgProcs[kMaxDialogProcs];

template <int N>
INT_PTR CALLBACK DlgTrampoline(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_dlgProcs[N](FromHwnd(dlg), msg, static_cast<std::uint32_t>(wParam),
                         static_cast<std::int32_t>(lParam));
}

const DLGPROC kDlgTrampolines[kMaxDialogProcs] = {
    DlgTrampoline<0>, DlgTrampoline<1>, DlgTrampoline<2>, DlgTrampoline<3>,
    DlgTrampoline<4>, DlgTrampoline<5>, DlgTrampoline<6>, DlgTrampoline<7>,
};

// The same procedure keeps its slot, so a dialog opened again (or nested
// inside itself from a key tick) needs no new one.
DLGPROC TrampolineFor(os::DlgProc proc) {
    for (int i = 0; i < kMaxDialogProcs; ++i) {
        if (g_dlgProcs[i] == proc) return kDlgTrampolines[i];
        if (!g_dlgProcs[i]) {
            g_dlgProcs[i] = proc;
            return kDlgTrampolines[i];
        }
    }
    return nullptr;
}

}  // namespace

namespace os {

std::int32_t DialogBoxParamA(Hinstance instance, std::uint32_t templateId, Hwnd owner, DlgProc proc,
                             std::int32_t initParam) {
    DLGPROC trampoline = proc ? TrampolineFor(proc) : nullptr;
    if (!trampoline) return -1;
    return static_cast<std::int32_t>(::DialogBoxParamA(ToHinstance(instance), MAKEINTRESOURCEA(templateId),
                                                       ToHwnd(owner), trampoline, initParam));
}

int EndDialog(Hwnd dlg, std::int32_t result) { return ::EndDialog(ToHwnd(dlg), result) ? 1 : 0; }

Hwnd GetDlgItem(Hwnd dlg, int id) { return FromHwnd(::GetDlgItem(ToHwnd(dlg), id)); }

int SetDlgItemTextA(Hwnd dlg, int id, const char* text) {
    return ::SetDlgItemTextA(ToHwnd(dlg), id, text ? text : "") ? 1 : 0;
}

int GetDlgItemTextA(Hwnd dlg, int id, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    buffer[0] = '\0';
    UINT n = ::GetDlgItemTextA(ToHwnd(dlg), id, buffer, maxCount);
    if (n >= static_cast<UINT>(maxCount)) n = static_cast<UINT>(maxCount - 1);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

std::int32_t SendDlgItemMessageA(Hwnd dlg, int id, std::uint32_t msg, std::uint32_t wParam,
                                 std::int32_t lParam) {
    return static_cast<std::int32_t>(::SendDlgItemMessageA(ToHwnd(dlg), id, msg, wParam, lParam));
}

std::int32_t ComboAddString(Hwnd dlg, int id, const char* text) {
    if (!text) return CB_ERR;
    return static_cast<std::int32_t>(
        ::SendDlgItemMessageA(ToHwnd(dlg), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

std::int32_t ComboGetLBText(Hwnd dlg, int id, int index, char* buffer, int size) {
    if (!buffer || size <= 0) return CB_ERR;
    buffer[0] = '\0';
    // CB_GETLBTEXT takes no size: measure first and refuse what does not fit.
    LRESULT length = ::SendDlgItemMessageA(ToHwnd(dlg), id, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length < 0 || length >= size) return CB_ERR;
    return static_cast<std::int32_t>(
        ::SendDlgItemMessageA(ToHwnd(dlg), id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer)));
}

int SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    return ::SetWindowPos(ToHwnd(hwnd), ToHwnd(insertAfter), x, y, cx, cy, flags) ? 1 : 0;
}

}  // namespace os
