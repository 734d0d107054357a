// The program's procedural pictures by their bitmap resource ids: the five layout backgrounds,
// the About box's name and the messenger service lamps. The build draws them at their design
// size into the resources; the program draws them again at the pixel size a larger display
// scaling gives their controls. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pictures/canvas.h"

namespace pictures {

struct Size {
    int width = 0, height = 0;
    friend bool operator==(const Size &, const Size &) = default;
};

// The size a picture is designed at, which is its resource's size; zero for an id that names no
// picture.
Size designSize(int bitmapId);

// Rows top <= y < bottom of the picture drawn width x height pixels.
Canvas drawPicture(int bitmapId, int width, int height, int top, int bottom);

// The whole picture, width x height pixels, as 24-bit pixels (blue, green, red): row y starts at
// rows + y * stride, so a bottom-up bitmap passes its last row and a negative stride. Drawn a
// band of rows at a time. False, writing nothing, for an id that names no picture or an empty size.
bool renderPicture(int bitmapId, int width, int height, std::uint8_t *rows, std::ptrdiff_t stride);

} // namespace pictures
