#include "framework/dpi.h"

#include "framework/late_bound.h"

UINT ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kReferenceDpi;
}

UINT WindowDpi(HWND window)
{
    // Windows 10 (1607) and later; declared here, as the headers offer it only for that version.
    using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);
    static const auto getDpiForWindow = LateBound<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    return ScreenDpi();
}
