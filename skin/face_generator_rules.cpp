#include "skin/face_generator.h"

#include <algorithm>
#include <cstdint>

namespace skin {

namespace {

int Blend(int from, int to, int step) { return (from * (128 - step) + to * step) / 128; }

Rgb BlendColour(Rgb from, Rgb to, int step)
{
    return MakeRgb(Blend(RedOf(from), RedOf(to), step), Blend(GreenOf(from), GreenOf(to), step),
                   Blend(BlueOf(from), BlueOf(to), step));
}

// Alternating shadow (0) and highlight (255) dots, each `dot` pixels long, across the bar's
// whole thickness.
void FillDots(TextureSurface &bar, bool horizontal, int dot)
{
    std::uint8_t *bits = bar.Bits();
    if (!bits)
        return;
    for (int y = 0; y < bar.Height(); ++y)
        for (int x = 0; x < bar.Width(); ++x)
            bits[static_cast<std::size_t>(y) * bar.Stride() + x] = ((horizontal ? x : y) / dot % 2) ? 255 : 0;
}

} // namespace

void FillGradientPalette(TextureSurface &surface, const SystemColours &colours)
{
    // Index 0 is the shadow, 127-128 about the face, 255 the highlight: a pixel's value is its
    // brightness, so tinting the palette recolours the whole face at once.
    for (int i = 0; i <= 128; ++i) {
        const Rgb c = BlendColour(colours.shadow, colours.face, i);
        surface.SetPaletteEntry(i, RedOf(c), GreenOf(c), BlueOf(c));
    }
    for (int k = 1; k <= 128; ++k) {
        const Rgb c = BlendColour(colours.face, colours.highlight, k);
        surface.SetPaletteEntry(127 + k, RedOf(c), GreenOf(c), BlueOf(c));
    }
}

int GrainDivisor(int noise) { return 32767 / std::max(2 * noise, 1); }

int GradientValue(int x, int y, int width, int height, int noise)
{
    const int halfRange = (255 - 2 * noise) / 2;
    return noise + halfRange * (width - x) / width + y * halfRange / height;
}

void GenerateFaceSurfaces(FaceSurfaces &faces, const FaceRequest &request, const SystemColours &colours,
                          const RandomSource &random)
{
    const int w = request.width;
    const int h = request.height;
    const int noise = request.noise & 0xFF;
    const int frame = request.frameWidth;
    const int line = std::max(request.lineWidth, 1);
    // Every mode draws the diagonal gradient: it is the only one there is.

    // The bars run between the frame's corners, which the other bars' ends leave free.
    faces.focusBarH.Create(std::max(w - 2 * frame - 2 * line + 1, 1), line, 8);
    faces.focusBarV.Create(line, std::max(h - 2 * frame - line + 1, 1), 8);
    faces.normalFace.Create(w, h, 8);
    for (TextureSurface *surface : {&faces.focusBarH, &faces.focusBarV, &faces.normalFace})
        FillGradientPalette(*surface, colours);
    faces.normalFace.TintPalette(request.tint, request.tintPercent & 0xFF);
    FillDots(faces.focusBarH, true, line);
    FillDots(faces.focusBarV, false, line);

    if (std::uint8_t *bits = faces.normalFace.Bits()) {
        const int divisor = GrainDivisor(noise);
        for (int y = 0; y < h; ++y) {
            std::uint8_t *row = bits + static_cast<std::size_t>(y) * faces.normalFace.Stride();
            for (int x = 0; x < w; ++x) {
                const int grain = (random ? random() : 0) / divisor - noise;
                row[x] = static_cast<std::uint8_t>(GradientValue(x, y, w, h, noise) + grain);
            }
        }
    }

    faces.disabledFace.CopyFrom(faces.normalFace);
    faces.hoverFace.CopyFrom(faces.normalFace);
    faces.hoverFace.TintPalette(colours.highlight, request.hoverPercent & 0xFF);
    faces.pressedFace.CopyFrom(faces.hoverFace);
}

} // namespace skin
