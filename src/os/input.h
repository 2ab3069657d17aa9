// Pointer and screen metrics (user32) used by the mouse emulation.
#pragma once
#include <cstdint>

#include "os/os.h"

namespace os {

constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_SWAPBUTTON = 23;

constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x0004;
constexpr std::uint32_t MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr std::uint32_t MOUSEEVENTF_RIGHTUP = 0x0010;

struct Point {
    std::int32_t x;
    std::int32_t y;
};

int GetSystemMetrics(int index);
int GetCursorPos(Point* point);
int SetCursorPos(int x, int y);
void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                 std::uint32_t extraInfo);
std::uint32_t GetMessageExtraInfo();

}  // namespace os
