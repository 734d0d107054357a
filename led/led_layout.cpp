#include "led/led_layout.h"

#include <algorithm>

namespace led {
namespace {

std::uint32_t Channel(std::uint32_t color, int shift) { return color >> shift & 0xFFu; }

} // namespace

double TotalWidth(std::span<const CLedGlyph> glyphs)
{
    double total = 0;
    for (const CLedGlyph &glyph : glyphs)
        total += glyph.GetWidth();
    return total;
}

std::optional<LedLayout> ComputeLayout(double totalWidth, std::int32_t clientWidth, std::int32_t clientHeight,
                                       std::uint32_t style)
{
    if (!(totalWidth > 0))
        return std::nullopt;
    LedLayout layout{clientWidth / totalWidth, clientHeight * kUnitsToHeight, 0, 0};
    if ((style & LS_KEEP_ASPECT) == 0)
        return layout;
    if (layout.sx >= layout.sy)
        layout.sx = layout.sy;
    else
        layout.sy = layout.sx;
    layout.x0 = (clientWidth - totalWidth * layout.sx) * 0.5;
    layout.y0 = (clientHeight - layout.sy * kCellHeight) * 0.5;
    return layout;
}

CellRect GlyphCell(const LedLayout &layout, double left, std::int32_t widthUnits)
{
    return {left, layout.y0, left + widthUnits * layout.sx, layout.y0 + layout.sy * kCellHeight};
}

std::uint32_t OutlinePenColor(std::uint32_t fill, std::uint32_t back, std::uint32_t style)
{
    if ((style & LS_SOFT_EDGE) == 0)
        return fill;
    std::uint32_t pen = 0;
    for (int shift : {0, 8, 16}) {
        const double blend = Channel(back, shift) * 0.25 + Channel(fill, shift) * 0.75;
        pen |= static_cast<std::uint32_t>(blend) << shift;
    }
    return pen;
}

std::int32_t OutlineWidth(std::uint32_t dpi)
{
    // Rounded to the nearest pixel, as every other 96-dpi length is scaled.
    return std::max<std::int32_t>(1, static_cast<std::int32_t>((dpi + 48) / 96));
}

std::int32_t OutlineOffset(std::int32_t k) { return k % 2 ? -(k + 1) / 2 : k / 2; }

std::int32_t OutlineReach(std::int32_t outlineWidth) { return std::max(outlineWidth, 1) / 2 + 1; }

bool ChangeStyle(std::uint32_t &style, std::uint32_t remove, std::uint32_t add)
{
    if ((remove & add) != 0)
        return false;
    style = (style | add) & ~remove;
    return true;
}

} // namespace led
