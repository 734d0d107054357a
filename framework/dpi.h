// The display scaling a window is drawn at: 96 dots per inch is 100 %. Everything our code draws
// (fonts, faces, outlines, pictures, icons) takes its pixel sizes from here, never from a 96-dpi
// constant, so that the window is crisp at 125, 150 or 200 % as it is at 100 %.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <vector>

inline constexpr UINT kReferenceDpi = 96;

// The window's own DPI where Windows has per-window scaling (bound late); otherwise, and for a
// null window, the screen's.
UINT WindowDpi(HWND window);
// The screen's DPI (the system's, for a program that is not per-monitor aware).
UINT ScreenDpi();

// A length given at 96 dpi, at the DPI given; rounded to the nearest pixel.
inline int ScaleForDpi(int value96, UINT dpi) { return ::MulDiv(value96, static_cast<int>(dpi), kReferenceDpi); }

// A system metric (SM_CXICON, SM_CXSMICON, ...) as Windows gives it for the DPI: the per-DPI
// function where Windows has it (bound late); otherwise the system's metric, scaled from the
// screen's DPI.
int SystemMetricForDpi(int index, UINT dpi);
// One of the program's icon resources at the size of the metric (SM_CXICON or SM_CXSMICON) for
// the DPI, from the image drawn for that size. The system shares it: nothing to destroy.
HICON LoadIconForDpi(UINT resourceId, int metric, UINT dpi);

// WM_DPICHANGED: the window has moved to a screen of another scaling (or the scaling changed).
// wParam holds the new DPI, lParam points at the window rectangle Windows suggests for it.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// Lays out a dialog's children again when its DPI changes: every child's rectangle and the
// dialog's font, scaled from the layout the template gave at the first DPI. Windows 10 (1703) does
// this itself for the dialogs of a per-monitor program, which is enough for a dialog that shows its
// template only. A dialog that fits pictures, faces and fonts of its own to its controls has to
// know when they have their new sizes: it lays them out here, the same on every Windows version
// (and under Wine, which does not do it), and Windows is told not to.
class DialogScaling {
public:
    // At the dialog's start: its DPI now is the one its template was laid out for.
    void Attach(HWND dialogWindow);
    // Places the children for the DPI given.
    void Rescale(UINT newDpi);

private:
    struct Child {
        HWND window;
        RECT rect; // in the dialog's client area
    };
    void Capture();

    HWND dialog = nullptr;
    UINT baseDpi = 0;
    UINT dpi = 0;
    std::vector<Child> children;
    HFONT baseFont = nullptr; // the dialog's own, which the dialog deletes
    LOGFONTA baseFontSpec{};
    UniqueFont scaledFont;
};
