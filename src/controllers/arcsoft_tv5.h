// ArcSoft TV 5.0: found by class and title, closed by Alt+F4, driven by
// keyboard shortcuts like TotalMedia 3.5; one map for the 35-key remote,
// one for every other.
#pragma once
#include "os/os.h"

os::Hwnd ArcSoftTV5FindMainWindow();
