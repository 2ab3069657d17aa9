// The "Shut Down" dialog the remote opens when no TV application runs, and
// the power-off it confirms.
#pragma once
#include "os/os.h"

// Opens the modal dialog owned by `owner`; returns when it closes.
void ShowShutdownDialog(os::Hwnd owner);
