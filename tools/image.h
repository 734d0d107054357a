// The generator's pictures are drawn with the program's own canvas (pictures/canvas.h); this adds
// the file format the resources take them in.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/canvas.h"

namespace assetgen {

using namespace pictures;

// 24-bit bottom-up Windows bitmap file; alpha is composed over the given backdrop.
std::vector<std::uint8_t> encodeBmp24(const Canvas &canvas, Color backdrop = {1, 1, 1, 1});

} // namespace assetgen
