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

void DialogScaling::Attach(HWND dialogWindow)
{
    dialog = dialogWindow;
    baseDpi = dpi = WindowDpi(dialogWindow);
    // Windows 10 (1703) and later; 0x7 turns off its resizing, font change and relayout alike.
    using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI *)(HWND, int, int);
    constexpr int kAllOff = 0x7;
    if (const auto setBehavior =
            LateBound<SetDialogDpiChangeBehaviorFunction>("user32.dll", "SetDialogDpiChangeBehavior"))
        setBehavior(dialogWindow, kAllOff, kAllOff);
}

void DialogScaling::Capture()
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
        children.push_back({child, rect});
    }
    baseFont = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!baseFont || ::GetObjectA(baseFont, sizeof baseFontSpec, &baseFontSpec) != sizeof baseFontSpec)
        baseFont = nullptr;
}

void DialogScaling::Rescale(UINT newDpi)
{
    if (!dialog || newDpi == 0 || newDpi == dpi)
        return;
    // From the template's layout every time, so that moving to and fro does not add up rounding.
    if (children.empty())
        Capture();
    dpi = newDpi;
    const auto scale = [this](LONG length) {
        return ::MulDiv(length, static_cast<int>(dpi), static_cast<int>(baseDpi));
    };

    UniqueFont previousFont = std::move(scaledFont);
    HFONT font = baseFont;
    if (baseFont && dpi != baseDpi) {
        LOGFONTA scaledSpec = baseFontSpec;
        scaledSpec.lfHeight = scale(scaledSpec.lfHeight);
        scaledFont.reset(::CreateFontIndirectA(&scaledSpec));
        font = scaledFont ? scaledFont.get() : baseFont;
    }
    for (const Child &child : children) {
        const RECT &r = child.rect;
        const int left = scale(r.left), top = scale(r.top);
        ::SetWindowPos(child.window, nullptr, left, top, scale(r.right) - left, scale(r.bottom) - top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        // Only the children that show the dialog's font: others keep a font of their own.
        const auto shown = reinterpret_cast<HFONT>(::SendMessageA(child.window, WM_GETFONT, 0, 0));
        if (font && shown && (shown == baseFont || shown == previousFont.get()))
            ::SendMessageA(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}
