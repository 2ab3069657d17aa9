// One tick of the key engine: poll the reader, tell a new press from a held
// key, remap, thin held keys, then feed the shutdown dialog or the router.
#pragma once
#include <cstdint>

#include "os/os.h"

constexpr std::uint32_t kRepeatWindowMs = 250;  // a repeat comes within 249 ms
constexpr std::int32_t kRemappedCode12 = 3852;  // raw 12 on the 35-key remote
constexpr std::int32_t kSuppressedRepeat = -1;

void OnKeyTimer(os::Hwnd owner);
