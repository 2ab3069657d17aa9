#include "app/program.h"

#include "controllers/records.h"
#include "engine/key_tick.h"

namespace {

const char kClassName[] = "Remote Control";
const char kTitle[] = "Remote Control";
constexpr std::uint32_t CS_HREDRAW_VREDRAW = 3;
constexpr std::uint32_t COLOR_WINDOW_BRUSH = 6;  // COLOR_WINDOW + 1
constexpr std::uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);
constexpr std::uint32_t kMainIcon = 50;

std::int32_t MainWindowProc(os::Hwnd hwnd, std::uint32_t msg, std::uint32_t wParam,
                            std::int32_t lParam) {
    if (msg == os::WM_DESTROY) {
        os::PostQuitMessage(0);
        return 0;
    }
    return os::DefWindowProcA(hwnd, msg, wParam, lParam);
}

void KeyTimerProc(os::Hwnd hwnd, std::uint32_t, std::uint32_t, std::uint32_t) {
    OnKeyTimer(hwnd);
}

}  // namespace

os::Hwnd ProgramStartUp(os::Hinstance instance) {
    InitProcessRecords();

    os::WindowClass wc = {CS_HREDRAW_VREDRAW, MainWindowProc, instance,
                          kMainIcon,          COLOR_WINDOW_BRUSH, kClassName};
    os::RegisterClassExA(wc);
    os::Hwnd hwnd = os::CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, 0, instance);
    if (hwnd == 0) return 0;
    hMainWindow = hwnd;
    os::ShowWindow(hwnd, os::SW_HIDE);
    os::UpdateWindow(hwnd);
    os::SetTimer(hwnd, kKeyTimerId, kKeyTimerMs, KeyTimerProc);
    return hwnd;
}

int RunRemoteControl(os::Hinstance instance) {
    if (ProgramStartUp(instance) == 0) return 0;
    os::Msg msg = {};
    while (os::GetMessageA(&msg) > 0) {
        os::TranslateMessage(&msg);
        os::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
