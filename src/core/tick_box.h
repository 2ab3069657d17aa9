// The one-message-box-per-tick guard. A box's modal loop runs further key
// ticks nested; while one is up, a nested tick that would open another
// drops its key instead, or a held key would stack a box on every tick.
// A box asked for in that loop outside a new tick (a menu command) opens.
// The router marks the ticks, and so does the key that answers the shutdown
// dialog; every floor that opens a box from a key goes through
// TickMessageBox, and a key opens the shutdown dialog only while no tick's
// box is up (TickMessageBoxUp).
#pragma once
#include <cstdint>

// Around each routed code, nested ones included.
void EnterRouteTick();
void LeaveRouteTick();

// Outside a tick this is a plain MessageBoxA. Returns 0 when the box was
// dropped.
int TickMessageBox(const char* text, const char* caption, std::uint32_t style);
bool TickMessageBoxUp();
