#include "skin/texture_surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>

namespace skin {

namespace {

constexpr std::size_t kHeaderSize = sizeof(DibHeader);
constexpr std::size_t kPaletteEntrySize = 4;

std::atomic<TextureSurface::DrawFunction> drawFunction{nullptr};

int RoundDepth(int bitsPerPixel)
{
    if (bitsPerPixel <= 1)
        return 1;
    if (bitsPerPixel <= 4)
        return 4;
    if (bitsPerPixel <= 8)
        return 8;
    return 24;
}

std::uint16_t PaletteEntriesFor(int depth)
{
    switch (depth) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

} // namespace

TextureSurface::DrawFunction TextureSurface::SetDrawFunction(DrawFunction function)
{
    return drawFunction.exchange(function);
}

void TextureSurface::Free()
{
    block.reset();
    blockSize = 0;
    header = DibHeader{};
    stride = 0;
    paletteSize = 0;
}

std::uint8_t *TextureSurface::Create(int width, int height, int bitsPerPixel)
{
    Free();
    if (width <= 0 || height <= 0)
        return nullptr;
    const int depth = RoundDepth(bitsPerPixel);
    // A block beyond what the 32-bit header fields can describe is refused.
    const std::int64_t rowBytes = ((static_cast<std::int64_t>(width) * depth + 31) / 32) * 4;
    if (rowBytes > std::numeric_limits<std::int32_t>::max() / height)
        return nullptr;
    const std::int64_t imageSize = rowBytes * height;
    const std::uint16_t entries = PaletteEntriesFor(depth);
    const std::int64_t total = static_cast<std::int64_t>(kHeaderSize) + entries * kPaletteEntrySize + imageSize;
    if (imageSize > std::numeric_limits<std::int32_t>::max() || total > std::numeric_limits<std::int32_t>::max())
        return nullptr;

    block.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(total)]);
    if (!block)
        return nullptr;
    blockSize = static_cast<std::size_t>(total);
    header.width = width;
    header.height = height;
    header.bitCount = static_cast<std::uint16_t>(depth);
    header.sizeImage = static_cast<std::uint32_t>(imageSize);
    stride = static_cast<std::int32_t>(rowBytes);
    paletteSize = entries;
    std::memcpy(block.get(), &header, kHeaderSize);
    return block.get();
}

bool TextureSurface::Draw(void *context, int x, int y) const
{
    const DrawFunction function = drawFunction.load();
    if (!block || !context || !function)
        return false;
    return function(*this, context, x, y);
}

std::uint8_t *TextureSurface::Palette() const { return block ? block.get() + kHeaderSize : nullptr; }

std::uint8_t *TextureSurface::Bits() const
{
    return block ? block.get() + kHeaderSize + paletteSize * kPaletteEntrySize : nullptr;
}

void TextureSurface::SetPaletteEntry(int index, int red, int green, int blue)
{
    const int entry = index & 0xFF;
    if (!block || entry >= paletteSize)
        return;
    std::uint8_t *p = Palette() + entry * kPaletteEntrySize;
    p[0] = static_cast<std::uint8_t>(blue);
    p[1] = static_cast<std::uint8_t>(green);
    p[2] = static_cast<std::uint8_t>(red);
    p[3] = 0;
}

Rgb TextureSurface::PaletteEntry(int index) const
{
    if (!block || index < 0 || index >= paletteSize)
        return 0;
    const std::uint8_t *p = Palette() + index * kPaletteEntrySize;
    return MakeRgb(p[2], p[1], p[0]);
}

std::uint8_t TextureSurface::PixelAt(int x, int y) const
{
    if (!block || header.bitCount != 8 || x < 0 || y < 0 || x >= header.width || y >= header.height)
        return 0;
    return Bits()[static_cast<std::size_t>(y) * stride + x];
}

void TextureSurface::TintPalette(Rgb colour, int percent)
{
    const int p = std::clamp(percent, 0, 100);
    const int target[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
    std::uint8_t *palette = Palette();
    for (int i = 0; palette && i < paletteSize; ++i)
        for (int channel = 0; channel < 3; ++channel) {
            std::uint8_t &value = palette[i * kPaletteEntrySize + channel];
            value = static_cast<std::uint8_t>((target[channel] * p + value * (100 - p)) / 100);
        }
}

void TextureSurface::CopyFrom(const TextureSurface &other)
{
    if (&other == this)
        return;
    if (!other.block) {
        Free();
        return;
    }
    if (Create(other.header.width, other.header.height, other.header.bitCount))
        std::memcpy(block.get(), other.block.get(), blockSize);
}

} // namespace skin
