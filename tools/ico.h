// Windows icon files: one 32-bit image with alpha and its AND mask per size.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/image.h"

namespace assetgen {

// Images are written in the order given; each must be at most 256 pixels square.
std::vector<std::uint8_t> encodeIco(const std::vector<Canvas> &images);

} // namespace assetgen
