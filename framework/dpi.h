// The display scaling a window is drawn at: 96 dots per inch is 100 %. Everything our code draws
// (fonts, faces, outlines, pictures, icons) takes its pixel sizes from here, never from a 96-dpi
// constant, so that the window is crisp at 125, 150 or 200 % as it is at 100 %.
#pragma once

#include <windows.h>

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
