#include "engine/mouse_emulation.h"

#include "core/records.h"
#include "os/input.h"

ScreenBoundsRecord ScreenBounds;
std::int32_t bMouseButtonHeld = 0;

namespace {

struct Direction {
    std::int8_t dx;
    std::int8_t dy;
};

// Telephone keypad around 5; index is the scan code.
const Direction kDirections[10] = {
    {0, 0}, {-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1},
};

void SetBounds(std::int32_t width, std::int32_t height) {
    ScreenBounds.nMinX = 0;
    ScreenBounds.nMinY = 0;
    ScreenBounds.nMaxX = width - 1;
    ScreenBounds.nMaxY = height - 1;
    ScreenBounds.nSmallStep = width / 160;
    ScreenBounds.nLargeStep = width / 80;
}

void ButtonEvent(std::uint32_t flags) {
    os::Point pt = {0, 0};
    os::GetCursorPos(&pt);
    os::mouse_event(flags, pt.x, pt.y, 0, os::GetMessageExtraInfo());
}

void Move(const Direction& dir) {
    const std::int32_t n = ++PointerAccelCount;
    std::int32_t step = 1;
    if (n >= 10)
        step = ScreenBounds.nLargeStep;
    else if (n >= 5)
        step = ScreenBounds.nSmallStep;
    os::Point pt = {0, 0};
    os::GetCursorPos(&pt);
    const std::int32_t x = pt.x + dir.dx * step;
    const std::int32_t y = pt.y + dir.dy * step;
    if (ScreenBounds.nMinX < x && x < ScreenBounds.nMaxX && ScreenBounds.nMinY < y &&
        y < ScreenBounds.nMaxY) {
        os::SetCursorPos(x, y);
    } else {
        PointerAccelCount = 0;
    }
}

}  // namespace

void SetUpMouseBounds() {
    std::int32_t h = os::GetSystemMetrics(os::SM_CYFULLSCREEN);
    if (h % 2 != 0) h += 19;
    SetBounds(os::GetSystemMetrics(os::SM_CXFULLSCREEN), h);
}

void UpdateMouseBounds(std::int32_t width, std::int32_t height) { SetBounds(width, height); }

void EmulateMouse(std::int32_t code) {
    const std::uint32_t key = static_cast<std::uint32_t>(code);
    if (key > 10) return;
    // Buttons act on a new press only: held, they would click on every tick.
    const bool button = key == 0 || key == 5 || key == 10;
    if (button && KeyRepeatState.bRepeat == 1) return;
    switch (key) {
    case 0:
        ButtonEvent(os::MOUSEEVENTF_LEFTDOWN);
        ButtonEvent(os::MOUSEEVENTF_LEFTUP);
        return;
    case 5: {
        const bool swapped = os::GetSystemMetrics(os::SM_SWAPBUTTON) != 0;
        if (bMouseButtonHeld == 0) {
            bMouseButtonHeld = 1;
            ButtonEvent(swapped ? os::MOUSEEVENTF_RIGHTDOWN : os::MOUSEEVENTF_LEFTDOWN);
        } else {
            bMouseButtonHeld = 0;
            ButtonEvent(swapped ? os::MOUSEEVENTF_RIGHTUP : os::MOUSEEVENTF_LEFTUP);
        }
        return;
    }
    case 10:
        ButtonEvent(os::MOUSEEVENTF_RIGHTDOWN);
        ButtonEvent(os::MOUSEEVENTF_RIGHTUP);
        return;
    default:
        Move(kDirections[key]);
        return;
    }
}
