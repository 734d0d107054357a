#include "tools/ico.h"

#include <algorithm>
#include <cmath>

#include "tools/bytes.h"

namespace assetgen {

namespace {

std::uint8_t channel(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

// Pixels at least half opaque count as part of the icon for systems that ignore alpha.
bool opaqueEnough(Color c) { return c.a >= 0.5f; }

std::vector<std::uint8_t> imageData(const Canvas &image)
{
    const int w = image.width(), h = image.height();
    const unsigned maskStride = ((static_cast<unsigned>(w) + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    // BITMAPINFOHEADER; the height counts the colour image and the mask together.
    put32(out, 40);
    put32(out, static_cast<unsigned>(w));
    put32(out, static_cast<unsigned>(h) * 2);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<unsigned>(w * h * 4) + maskStride * static_cast<unsigned>(h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            Color c = image.pixel(x, y);
            std::uint8_t a = channel(c.a);
            // Fully transparent pixels are black, so an XOR-drawing system leaves the screen alone.
            bool clear = a == 0;
            out.push_back(clear ? 0 : channel(c.b));
            out.push_back(clear ? 0 : channel(c.g));
            out.push_back(clear ? 0 : channel(c.r));
            out.push_back(a);
        }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (!opaqueEnough(image.pixel(x, y)))
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<Canvas> &images)
{
    std::vector<std::vector<std::uint8_t>> data;
    for (const Canvas &image : images)
        data.push_back(imageData(image));
    std::vector<std::uint8_t> out;
    // ICONDIR
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        // ICONDIRENTRY; 0 stands for 256.
        out.push_back(static_cast<std::uint8_t>(images[i].width() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(images[i].height() & 0xFF));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<unsigned>(data[i].size()));
        put32(out, offset);
        offset += static_cast<unsigned>(data[i].size());
    }
    for (const auto &d : data)
        out.insert(out.end(), d.begin(), d.end());
    return out;
}

} // namespace assetgen
