// Conversions between the boundary's 32-bit handle values and the real
// Win32 handle types. Only for src/os/win32/.
#pragma once

#include <cstdint>

#include "os/os.h"

// Last: <windows.h> has macros named like the boundary's constants.
#include <windows.h>

namespace win32 {

inline HWND ToHwnd(os::Hwnd h) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h)); }
inline os::Hwnd FromHwnd(HWND h) { return static_cast<os::Hwnd>(reinterpret_cast<std::uintptr_t>(h)); }
inline HINSTANCE ToHinstance(os::Hinstance h) {
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(h));
}
inline os::Hinstance FromHinstance(HINSTANCE h) {
    return static_cast<os::Hinstance>(reinterpret_cast<std::uintptr_t>(h));
}
inline HMENU ToHmenu(os::Hmenu h) { return reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(h)); }

// The boundary types must be exactly as wide as the real ones, or the
// casts above would drop bits.
static_assert(sizeof(HWND) == sizeof(os::Hwnd), "32-bit build only");
static_assert(sizeof(WPARAM) == sizeof(std::uint32_t), "32-bit build only");
static_assert(sizeof(LPARAM) == sizeof(std::int32_t), "32-bit build only");
static_assert(sizeof(LRESULT) == sizeof(std::int32_t), "32-bit build only");

}  // namespace win32
