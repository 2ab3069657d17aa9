// Modal dialogs, their controls and placement, popup menus, and the power-off
// calls (user32, advapi32). A dialog procedure is a plain function; the
// backend gives it the platform's calling convention.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

using DlgProc = std::int32_t (*)(Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                                 std::int32_t lParam);

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// ---- dialogs and their controls
// Runs the dialog template `templateId` modally; returns EndDialog's result,
// or -1 when the dialog could not be created.
std::int32_t DialogBoxParamA(Hinstance instance, std::uint32_t templateId, Hwnd owner,
                             DlgProc proc, std::int32_t initParam);
int EndDialog(Hwnd dlg, std::int32_t result);
Hwnd GetDlgItem(Hwnd dlg, int id);
int SetDlgItemTextA(Hwnd dlg, int id, const char* text);
// Copies at most maxCount-1 characters and a NUL; returns the length copied.
int GetDlgItemTextA(Hwnd dlg, int id, char* buffer, int maxCount);
std::int32_t SendDlgItemMessageA(Hwnd dlg, int id, std::uint32_t msg, std::uint32_t wParam,
                                 std::int32_t lParam);

constexpr std::uint32_t CB_GETLBTEXT = 0x0148;
constexpr std::uint32_t CB_GETLBTEXTLEN = 0x0149;
constexpr std::uint32_t CB_ADDSTRING = 0x0143;
constexpr std::uint32_t CB_GETCURSEL = 0x0147;
constexpr std::uint32_t CB_RESETCONTENT = 0x014B;
constexpr std::uint32_t CB_SETCURSEL = 0x014E;
constexpr std::int32_t CB_ERR = -1;
// CB_ADDSTRING and CB_GETLBTEXT carry a text pointer in lParam, which does
// not fit the boundary's 32-bit lParam on the host: these two calls take it
// as a pointer of their own.
// CB_ADDSTRING: the new entry's index, or CB_ERR.
std::int32_t ComboAddString(Hwnd dlg, int id, const char* text);
// CB_GETLBTEXT into `buffer` of `size` bytes: the length copied, or CB_ERR
// (an empty string) when there is no such entry or it does not fit.
std::int32_t ComboGetLBText(Hwnd dlg, int id, int index, char* buffer, int size);

// ---- placement
constexpr Hwnd HWND_TOPMOST = 0xFFFFFFFFu;  // (HWND)-1
constexpr std::uint32_t SWP_NOSIZE = 0x0001;
int SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy, std::uint32_t flags);

// ---- popup menus
constexpr std::uint32_t MF_STRING = 0x0000;
constexpr std::uint32_t MF_CHECKED = 0x0008;
constexpr std::uint32_t MF_SEPARATOR = 0x0800;
Hmenu CreatePopupMenu();
int AppendMenuA(Hmenu menu, std::uint32_t flags, std::uint32_t id, const char* text);
// The chosen item arrives at `owner` as WM_COMMAND, as with flags 0 on Windows.
int TrackPopupMenu(Hmenu menu, std::uint32_t flags, int x, int y, Hwnd owner);
int DestroyMenu(Hmenu menu);

// ---- power-off
constexpr std::uint32_t EWX_SHUTDOWN = 0x0001;
constexpr std::uint32_t EWX_FORCE = 0x0004;
constexpr std::uint32_t EWX_POWEROFF = 0x0008;
constexpr std::uint32_t TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr std::uint32_t TOKEN_QUERY = 0x0008;
constexpr std::uint32_t SE_PRIVILEGE_ENABLED = 0x0002;
using Htoken = std::uint32_t;
// OpenProcessToken of the current process; nonzero on success.
int OpenProcessToken(std::uint32_t access, Htoken* token);
// CloseHandle of a token OpenProcessToken gave; nonzero on success.
int CloseHandle(Htoken token);
// LookupPrivilegeValueA on the local system for `privilege`, then
// AdjustTokenPrivileges for that one privilege with `attributes` and no
// previous-state buffer; returns GetLastError() right after the adjustment
// (ERROR_NOT_ALL_ASSIGNED, 1300, when the token does not hold it).
std::uint32_t AdjustTokenPrivileges(Htoken token, const char* privilege, std::uint32_t attributes);
int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason);

}  // namespace os
