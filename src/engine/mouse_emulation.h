// The remote as a mouse while no TV application runs: eight directions with
// acceleration, clicks and a button hold.
#pragma once
#include <cstdint>

struct ScreenBoundsRecord {
    std::int32_t nMinX;
    std::int32_t nMinY;
    std::int32_t nMaxX;
    std::int32_t nMaxY;
    std::int32_t nSmallStep;
    std::int32_t nLargeStep;
};

extern ScreenBoundsRecord ScreenBounds;
extern std::int32_t bMouseButtonHeld;

void SetUpMouseBounds();
void UpdateMouseBounds(std::int32_t width, std::int32_t height);
void EmulateMouse(std::int32_t code);
