// The procedural pictures as bitmaps for the windows. At 100 % display scaling (96 dpi) the
// program shows the resources the build drew, as it always has; at any other scaling it draws the
// pictures anew for their controls' pixels.
#pragma once

#include "framework/dpi.h"
#include "framework/handles.h"

#include <windows.h>

// The picture of a bitmap resource id, width x height pixels, for a window drawn at dpi. At 96 dpi
// the resource, fitted to that size by the system; otherwise the picture drawn at that size, or,
// should there be no memory for that, the resource stretched smoothly. Null when none of these
// could be made.
UniqueBitmap PictureBitmap(int bitmapId, int width, int height, UINT dpi);
