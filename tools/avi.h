// Uncompressed 8-bit AVI clips, the kind the common animation control plays.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/image.h"

namespace assetgen {

struct IndexedClip {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;            // 0x00RRGGBB, at most 256 entries
    std::vector<std::vector<std::uint8_t>> frames; // top-down rows of palette indices
};

// One palette for all frames (the animation control takes it from the stream format only).
IndexedClip palettize(const std::vector<Canvas> &frames, Color backdrop);

std::vector<std::uint8_t> encodeAvi(const IndexedClip &clip, unsigned microsecondsPerFrame);

} // namespace assetgen
