// The procedural pictures as bitmaps for the windows. Where a control is the picture's design
// size (100 % display scaling) the program shows the resource the build drew; any other size
// gets the picture drawn anew for its pixels.
#pragma once

#include "framework/handles.h"

#include <windows.h>

// The picture of a bitmap resource id for a control of width x height pixels: the resource at the
// picture's design size, otherwise the picture drawn at that size, or, should there be no memory
// for that, the resource stretched smoothly. Null when none of these could be made.
UniqueBitmap PictureBitmap(int bitmapId, int width, int height);
