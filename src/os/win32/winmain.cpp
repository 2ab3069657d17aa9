// The Windows entry point: hands the instance to the program and returns
// its exit code. The command line and show state are not used.
#include "app/program.h"
#include "os/win32/win32_handles.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunRemoteControl(win32::FromHinstance(instance));
}
