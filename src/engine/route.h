// The router: hands each tick's scan code to the active TV application, the
// launch path of the selected one, the shutdown dialog, an application found
// running, or the mouse.
#pragma once
#include <cstddef>
#include <cstdint>

#include "os/os.h"

// `heldPower`: the key tick found this event continuing the press that last
// launched, started or closed an application (PowerKeyPress).
void RouteScanCode(std::int32_t code, os::Hwnd owner, bool heldPower = false);

// The launch path of codes 3, 12 and 22 with nothing active: the installed
// test of `target` (a TargetAppCode), then its close/power sequence.
void RunLaunchPath(std::int32_t target);

// Every code that reached the router, for the key engine's tests.
struct RoutedCode {
    std::int32_t code;
    os::Hwnd owner;
};
constexpr std::size_t kRoutedRingSize = 64;
// How many codes arrived since the last clear (may exceed the ring size).
std::size_t RoutedCount();
// The i-th of the last kRoutedRingSize codes, oldest first.
RoutedCode RoutedAt(std::size_t i);
void ClearRouted();
