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

// The calling process's windows, menus and icons (cursors are icons to Wine), asked handle by
// handle: Wine answers for USER objects of the process itself only.
inline UserCounts CountUserObjects()
{
    using GetIconSize = BOOL(WINAPI *)(HICON, UINT, LONG *, LONG *);
    static const auto iconSize = reinterpret_cast<GetIconSize>(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("win32u.dll"), "NtUserGetIconSize")));
    const DWORD self = ::GetCurrentProcessId();
    UserCounts counts;
    // Each handle in its short form, which Wine matches whatever the handle's generation.
    for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        const HANDLE handle = reinterpret_cast<HANDLE>(value);
        DWORD owner = 0;
        LONG width = 0, height = 0;
        if (::IsWindow(static_cast<HWND>(handle))) {
            ::GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
            counts.windows += owner == self;
        } else if (::IsMenu(static_cast<HMENU>(handle))) {
            ++counts.menus;
        } else if (iconSize && iconSize(static_cast<HICON>(handle), 0, &width, &height)) {
            ++counts.icons;
        }
    }
    return counts;
}

} // namespace soak_probe
