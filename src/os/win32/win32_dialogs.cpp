// Modal dialogs, their controls, placement, popup menus and the power-off
// calls. Each distinct dialog procedure gets its own stdcall trampoline from
// a small fixed set, claimed the first time the procedure is used.
#include "os/dialogs.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

using win32::FromHwnd;
using win32::ToHinstance;
using win32::ToHmenu;
using win32::ToHwnd;

namespace {

constexpr int kMaxDialogProcs = 4;
os::DlgProc g_dlgProcs[kMaxDialogProcs];

template <int N>
INT_PTR CALLBACK DlgTrampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_dlgProcs[N](FromHwnd(hwnd), msg, static_cast<std::uint32_t>(wParam),
                         static_cast<std::int32_t>(lParam));
}

const DLGPROC kDlgTrampolines[kMaxDialogProcs] = {
    DlgTrampoline<0>, DlgTrampoline<1>, DlgTrampoline<2>, DlgTrampoline<3>};

int SlotOf(os::DlgProc proc) {
    for (int i = 0; i < kMaxDialogProcs; ++i) {
        if (g_dlgProcs[i] == proc) return i;
        if (!g_dlgProcs[i]) {
            g_dlgProcs[i] = proc;
            return i;
        }
    }
    return -1;
}

}  // namespace

namespace os {

std::int32_t DialogBoxParamA(Hinstance instance, std::uint32_t templateId, Hwnd owner, DlgProc proc,
                             std::int32_t initParam) {
    const int slot = proc ? SlotOf(proc) : -1;
    if (slot < 0) return -1;
    return static_cast<std::int32_t>(::DialogBoxParamA(ToHinstance(instance),
                                                       MAKEINTRESOURCEA(templateId), ToHwnd(owner),
                                                       kDlgTrampolines[slot], initParam));
}

int EndDialog(Hwnd dlg, std::int32_t result) { return ::EndDialog(ToHwnd(dlg), result) ? 1 : 0; }

Hwnd GetDlgItem(Hwnd dlg, int id) { return FromHwnd(::GetDlgItem(ToHwnd(dlg), id)); }

int SetDlgItemTextA(Hwnd dlg, int id, const char* text) {
    return ::SetDlgItemTextA(ToHwnd(dlg), id, text) ? 1 : 0;
}

int GetDlgItemTextA(Hwnd dlg, int id, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    return static_cast<int>(::GetDlgItemTextA(ToHwnd(dlg), id, buffer, maxCount));
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
    // CB_GETLBTEXT writes the whole entry whatever the buffer; measure first.
    const LRESULT length = ::SendDlgItemMessageA(ToHwnd(dlg), id, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length >= size) return CB_ERR;
    return static_cast<std::int32_t>(::SendDlgItemMessageA(ToHwnd(dlg), id, CB_GETLBTEXT, index,
                                                           reinterpret_cast<LPARAM>(buffer)));
}

int SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    return ::SetWindowPos(ToHwnd(hwnd), ToHwnd(insertAfter), x, y, cx, cy, flags) ? 1 : 0;
}

Hmenu CreatePopupMenu() {
    return static_cast<Hmenu>(reinterpret_cast<std::uintptr_t>(::CreatePopupMenu()));
}

int AppendMenuA(Hmenu menu, std::uint32_t flags, std::uint32_t id, const char* text) {
    return ::AppendMenuA(ToHmenu(menu), flags, id, text) ? 1 : 0;
}

int TrackPopupMenu(Hmenu menu, std::uint32_t flags, int x, int y, Hwnd owner) {
    return ::TrackPopupMenu(ToHmenu(menu), flags, x, y, 0, ToHwnd(owner), nullptr) ? 1 : 0;
}

int DestroyMenu(Hmenu menu) { return ::DestroyMenu(ToHmenu(menu)) ? 1 : 0; }

int OpenProcessToken(std::uint32_t access, Htoken* token) {
    if (!token) return 0;
    HANDLE handle = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), access, &handle)) return 0;
    *token = static_cast<Htoken>(reinterpret_cast<std::uintptr_t>(handle));
    return 1;
}

std::uint32_t AdjustTokenPrivileges(Htoken token, const char* privilege, std::uint32_t attributes) {
    TOKEN_PRIVILEGES tp{};
    ::LookupPrivilegeValueA(nullptr, privilege, &tp.Privileges[0].Luid);
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = attributes;
    ::AdjustTokenPrivileges(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(token)), FALSE, &tp,
                            0, nullptr, nullptr);
    return ::GetLastError();
}

int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) ? 1 : 0;
}

}  // namespace os
