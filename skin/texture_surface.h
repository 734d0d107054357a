// A packed device-independent bitmap block (header, palette, pixel rows) that the skinned
// buttons compute their faces into. Portable: the copy to a screen goes through a drawing
// function that the window code installs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace skin {

// A colour as the platform stores it: 0x00BBGGRR.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b)
{
    return static_cast<Rgb>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

// The 40-byte bitmap-info header, field for field, as it starts the block.
struct DibHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0; // positive: rows stored bottom-up
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};
static_assert(sizeof(DibHeader) == 40);

class TextureSurface {
public:
    // Copies the whole surface to a drawing context with its top-left corner at (x, y).
    using DrawFunction = bool (*)(const TextureSurface &surface, void *context, int x, int y);

    TextureSurface() = default;
    TextureSurface(const TextureSurface &) = delete;
    TextureSurface &operator=(const TextureSurface &) = delete;

    // Frees any old block and allocates a new one; depth rounds up to 1, 4, 8 or 24 bits.
    // Palette and pixels are left as they come. Null (and an empty surface) when the size is
    // not positive or the memory is not there.
    std::uint8_t *Create(int width, int height, int bitsPerPixel);
    // False when the surface is empty, there is no context, or no drawing function is installed.
    bool Draw(void *context, int x, int y) const;
    // Only the low 8 bits of the index count; ignored outside the palette.
    void SetPaletteEntry(int index, int red, int green, int blue);
    // Moves every palette entry percent (at most 100) of the way towards the colour.
    void TintPalette(Rgb colour, int percent);
    void CopyFrom(const TextureSurface &other);

    bool IsValid() const { return block != nullptr; }
    // The first stored pixel row (the bottom row on screen), or null.
    std::uint8_t *Bits() const;
    const std::uint8_t *Block() const { return block.get(); }
    const DibHeader &Header() const { return header; }
    int Width() const { return header.width; }
    int Height() const { return header.height; }
    int BitsPerPixel() const { return header.bitCount; }
    std::int32_t Stride() const { return stride; }
    std::uint16_t PaletteSize() const { return paletteSize; }
    // A palette entry as a colour; 0 outside the palette.
    Rgb PaletteEntry(int index) const;
    // The byte of an 8-bit surface at column x of stored row y; 0 outside.
    std::uint8_t PixelAt(int x, int y) const;

    // The window code installs the one drawing function of the program; returns the previous one.
    static DrawFunction SetDrawFunction(DrawFunction function);

private:
    void Free();
    std::uint8_t *Palette() const;

    std::unique_ptr<std::uint8_t[]> block;
    std::size_t blockSize = 0;
    DibHeader header{};
    std::int32_t stride = 0;
    std::uint16_t paletteSize = 0;
};

} // namespace skin
