// Conversions between the boundary's 32-bit handle values and the real
// Win32 handle types. Only for src/os/win32/.
#pragma once

#include <cstdint>

#include "os/os.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace win32 {

// 64-bit Windows keeps window, menu and key handles within 32 bits and
// sign-extends them, which is how 32- and 64-bit programs share them. The
// 64-bit build exists only for Wine on hosts that cannot run 32-bit code.
inline std::uintptr_t Widen(std::uint32_t h) {
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}

inline HWND ToHwnd(os::Hwnd h) { return reinterpret_cast<HWND>(Widen(h)); }
inline os::Hwnd FromHwnd(HWND h) { return static_cast<os::Hwnd>(reinterpret_cast<std::uintptr_t>(h)); }
inline HINSTANCE ToHinstance(os::Hinstance h) {
    return reinterpret_cast<HINSTANCE>(Widen(h));
}
inline os::Hinstance FromHinstance(HINSTANCE h) {
    return static_cast<os::Hinstance>(reinterpret_cast<std::uintptr_t>(h));
}
inline HMENU ToHmenu(os::Hmenu h) { return reinterpret_cast<HMENU>(Widen(h)); }

// The boundary's message parameters are 32 bits: what the program sends and
// receives fits, and a 64-bit build keeps its image below 2 GB so that a
// timer procedure's address survives the trip through a message.
static_assert(sizeof(HWND) >= sizeof(os::Hwnd), "handles hold the boundary's values");

}  // namespace win32
