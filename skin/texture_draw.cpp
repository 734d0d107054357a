#include "skin/texture_draw.h"

#include "skin/texture_surface.h"

#include <windows.h>

namespace skin {

namespace {

bool DrawWithGdi(const TextureSurface &surface, void *context, int x, int y)
{
    const HDC dc = static_cast<HDC>(context);
    // Colour-on-colour keeps a palette picture's colours exact where rows or columns would merge.
    ::SetStretchBltMode(dc, COLORONCOLOR);
    const auto *info = reinterpret_cast<const BITMAPINFO *>(surface.Block());
    ::StretchDIBits(dc, x, y, surface.Width(), surface.Height(), 0, 0, surface.Width(), surface.Height(),
                    surface.Bits(), info, DIB_RGB_COLORS, SRCCOPY);
    return true;
}

} // namespace

void InstallGdiTextureDrawing() { TextureSurface::SetDrawFunction(&DrawWithGdi); }

} // namespace skin
