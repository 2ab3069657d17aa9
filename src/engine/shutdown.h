// The "Shut Down" dialog the remote opens when no TV application runs, and
// the power-off it confirms.
#pragma once
#include <cstdint>

#include "os/os.h"

constexpr std::uint32_t kShutdownDialogId = 107;

// Opens the modal dialog owned by `owner`; returns when it closes.
void ShowShutdownDialog(os::Hwnd owner);

// The dialog's procedure: remote keys arrive as WM_KEYDOWN Enter/Escape.
std::int32_t ShutdownDlgProc(os::Hwnd dlg, std::uint32_t msg, std::uint32_t wParam,
                             std::int32_t lParam);

// True for a remote event that only continues the press that opened the
// dialog, while it is open, or the press that answered it (the same code with
// no gap of the repeat window or more): it must neither confirm nor cancel,
// nor open the dialog again. The first event of a new press ends that. The
// key tick asks for every event.
bool ContinuesDialogPress();
void ForgetDialogPress();  // at start-up

// Powers the computer off; called only by the dialog.
void ShutdownSystem();

// Moves a dialog to the position listed for the full-screen width and makes
// it topmost; other widths leave it where the system put it.
void PlaceDialog(os::Hwnd dlg);
