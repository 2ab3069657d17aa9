// Hand-over of each tick's scan code to the router. Until the router is
// built, every code is kept in a small ring that tests read.
#pragma once
#include <cstddef>
#include <cstdint>

#include "os/os.h"

void RouteScanCode(std::int32_t code, os::Hwnd owner);

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
