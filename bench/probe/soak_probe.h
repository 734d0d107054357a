// The USER-object probe that the soak driver loads into brewbell.exe through a message hook:
// the driver posts Message() with its thread id as wParam to the program's window; the hook
// answers with Message() to that thread, wParam = MAKEWPARAM(windows, menus), lParam = icons and
// cursors.
#pragma once

#include <windows.h>

namespace soak_probe {

// Wine's USER handles: even values from 0x20 to 0xFFEE in their short form.
inline constexpr UINT_PTR kFirstUserHandle = 0x0020;
inline constexpr UINT_PTR kLastUserHandle = 0xFFEE;

struct UserCounts {
    long windows = 0;
    long menus = 0;
    long icons = 0;
};

inline UINT Message()
{
    static const UINT message = ::RegisterWindowMessageA("BrewbellSoakProbe");
    return message;
}

} // namespace soak_probe
