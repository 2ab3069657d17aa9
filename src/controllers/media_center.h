// Windows Media Center: number keys as posted key-downs, closed by a posted
// WM_CLOSE, four key maps; on the 36-key remote the number keys steer until
// the user switches them to digit entry.
#pragma once
#include <cstddef>

#include "controllers/app_controller.h"

os::Hwnd MediaCenterFindMainWindow();
// Sets digit mode, brings the window forward and posts WM_CLOSE.
void MediaCenterClose(AppController& app);
// LaunchOrClose's preparation: the number keys steer after a start.
void MediaCenterPrepareLaunch(AppController& app);
// The digit-mode byte (first byte of dwExtra): nonzero enters digits.
bool MediaCenterDigitMode();

// The program to start outside the fixed ehshell case: the one the
// registered open command (szInstallDir) names, without its arguments.
// False when it names none or the path does not fit.
bool BuildMediaCenterPath(const AppController& app, char* path, std::size_t size);
