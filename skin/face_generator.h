// The generated faces of a skinned button: a diagonal light-to-shade gradient with random grain,
// coloured by a palette that runs from the system's shadow colour through the button face to the
// highlight, tinted towards the layout's colour. Portable; SkinButton supplies the system colours.
#pragma once

#include "skin/texture_surface.h"

#include <functional>

namespace skin {

struct FaceSurfaces {
    TextureSurface normalFace;
    TextureSurface hoverFace;
    TextureSurface pressedFace;
    TextureSurface disabledFace;
    TextureSurface focusBarH; // dotted lines of the focus frame
    TextureSurface focusBarV;
};

struct SystemColours {
    Rgb shadow;
    Rgb face;
    Rgb highlight;
};

// The arguments of SkinButton::GenerateFaces with the button's size in pixels. Mode, noise and
// the two percentages count as bytes. frameWidth and lineWidth are pixels at the display's
// scaling: lineWidth is what one pixel is at 100 %, the focus bars' thickness and dot length.
struct FaceRequest {
    int width;
    int height;
    int frameWidth;
    int mode;
    int noise;
    int hoverPercent;
    int tintPercent;
    Rgb tint;
    int lineWidth;
};

// Returns values in 0 ... 32767.
using RandomSource = std::function<int()>;

// Fills all six surfaces; a size that cannot be allocated leaves the faces empty.
void GenerateFaceSurfaces(FaceSurfaces &faces, const FaceRequest &request, const SystemColours &colours,
                          const RandomSource &random);

// The pieces, for the tests.
void FillGradientPalette(TextureSurface &surface, const SystemColours &colours);
// The divisor that scales a random value to 0 ... 2 x noise.
int GrainDivisor(int noise);
// The gradient value of column x and stored row y before the grain (may leave 0 ... 255).
int GradientValue(int x, int y, int width, int height, int noise);

} // namespace skin
