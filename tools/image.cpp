#include "tools/image.h"

#include "tools/bytes.h"

namespace assetgen {

std::vector<std::uint8_t> encodeBmp24(const Canvas &canvas, Color backdrop)
{
    const int w = canvas.width(), h = canvas.height();
    const unsigned stride = (static_cast<unsigned>(w) * 3 + 3) & ~3u;
    const unsigned imageSize = stride * static_cast<unsigned>(h);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageSize);
    put32(out, 0);
    put32(out, 54);
    // BITMAPINFOHEADER; 2835 pixels per metre is 72 dpi.
    put32(out, 40);
    put32(out, static_cast<unsigned>(w));
    put32(out, static_cast<unsigned>(h));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t bgr[3];
            storeBgr(canvas, x, y, backdrop, bgr);
            out.insert(out.end(), bgr, bgr + 3);
        }
        for (unsigned pad = static_cast<unsigned>(w) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace assetgen
