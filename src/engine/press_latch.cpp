#include "engine/press_latch.h"

#include "core/records.h"
#include "engine/key_tick.h"

PressLatch PowerKeyPress = {0, 0, 0};

bool ContinuesPress(PressLatch& latch) {
    if (latch.bHeld == 0) return false;
    // Compared here rather than through the tick's repeat flag: on the 35-key
    // remote a held 12 never counts as a repeat there.
    const std::uint32_t now = KeyRepeatState.dwLastTime;
    if (KeyRepeatState.nLastCode == latch.nCode && now - latch.dwLastTime < kRepeatWindowMs) {
        latch.dwLastTime = now;
        return true;
    }
    latch.bHeld = 0;
    return false;
}

void TakePress(PressLatch& latch) {
    latch = {1, KeyRepeatState.nLastCode, KeyRepeatState.dwLastTime};
}

void RenewPress(PressLatch& latch) {
    if (latch.bHeld != 0) latch.dwLastTime = os::GetTickCount();
}
