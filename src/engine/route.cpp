#include "engine/route.h"

namespace {
RoutedCode g_ring[kRoutedRingSize];
std::size_t g_count = 0;
}  // namespace

void RouteScanCode(std::int32_t code, os::Hwnd owner) {
    g_ring[g_count % kRoutedRingSize] = RoutedCode{code, owner};
    ++g_count;
}

std::size_t RoutedCount() { return g_count; }

RoutedCode RoutedAt(std::size_t i) {
    std::size_t kept = g_count < kRoutedRingSize ? g_count : kRoutedRingSize;
    if (i >= kept) return RoutedCode{0, 0};
    std::size_t first = g_count - kept;
    return g_ring[(first + i) % kRoutedRingSize];
}

void ClearRouted() { g_count = 0; }
