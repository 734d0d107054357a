#include "framework/dpi.h"

#include "framework/late_bound.h"

namespace {
UINT ReadScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kReferenceDpi;
}
} // namespace

// Read once: the system's DPI stays what it was at start until the user logs on again, and
// painting asks for it often.
UINT ScreenDpi()
{
    static const UINT dpi = ReadScreenDpi();
    return dpi;
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

int SystemMetricForDpi(int index, UINT dpi)
{
    // Windows 10 (1607) and later, as GetDpiForWindow.
    using GetSystemMetricsForDpiFunction = int(WINAPI *)(int, UINT);
    static const auto getSystemMetricsForDpi =
        LateBound<GetSystemMetricsForDpiFunction>("user32.dll", "GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi)
        return getSystemMetricsForDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

HICON LoadIconForDpi(UINT resourceId, int metric, UINT dpi)
{
    const int size = SystemMetricForDpi(metric, dpi);
    return static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, LR_SHARED));
}
