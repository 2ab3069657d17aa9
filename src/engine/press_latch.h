// A remote press followed while its events keep coming: the same code again
// with no gap of the repeat window or more. Keys that act on a new press
// only hold one: the power keys (held, they would switch the application off
// and on), and the shutdown dialog's press.
#pragma once
#include <cstdint>

struct PressLatch {
    std::int32_t bHeld;
    std::int32_t nCode;        // as the key tick stores it
    std::uint32_t dwLastTime;  // the latest event of the press
};

// Follows the latest event (KeyRepeatState): true while it continues the
// held press; otherwise lets go. The key tick asks for every event.
bool ContinuesPress(PressLatch& latch);
// Holds the latest event's press.
void TakePress(PressLatch& latch);
// After an action that blocked (a wait, a box, a start): the press's next
// event counts from now, not from the event that started the action.
void RenewPress(PressLatch& latch);

// The power key's press: launches, starts and closes act on a new press only.
extern PressLatch PowerKeyPress;

// Launching, starting and closing act on a new press only: repeats of a
// held power key would switch the application off and on again. However
// long the action blocks, the press's next event counts from its end.
template <typename Action>
void OnNewPowerPress(bool heldPower, Action&& action) {
    if (heldPower) return;
    TakePress(PowerKeyPress);
    action();
    RenewPress(PowerKeyPress);
}
