#pragma once

// The arithmetic of the LED display control: where the glyph row goes in the client area, the
// outline pen colours and the style change rule. Colours are COLORREF values 0x00BBGGRR.

#include <cstdint>
#include <optional>
#include <span>

#include "led/glyph.h"

namespace led {

// Scale (device pixels per cell unit) and origin of the glyph row.
struct LedLayout {
    double sx;
    double sy;
    double x0;
    double y0;
};

// Sum of the glyphs' widths in cell units.
double TotalWidth(std::span<const CLedGlyph> glyphs);

// The row stretched to the client area, or with LS_KEEP_ASPECT scaled evenly and centred;
// nothing when there is no width to lay out.
std::optional<LedLayout> ComputeLayout(double totalWidth, std::int32_t clientWidth, std::int32_t clientHeight,
                                       std::uint32_t style);

// The cell of a glyph widthUnits wide whose left edge is at left; its right edge is the next
// glyph's left.
CellRect GlyphCell(const LedLayout &layout, double left, std::int32_t widthUnits);

// The outline pen of a segment filled with fill: the fill itself, or with LS_SOFT_EDGE a quarter
// of the way towards the background, which softens the edge against it.
std::uint32_t OutlinePenColor(std::uint32_t fill, std::uint32_t back, std::uint32_t style);

// The outline's width in pixels at a display's dots per inch: one pixel at 100 % (96 dpi),
// growing with the scaling so that the edge keeps its share of a larger segment.
std::int32_t OutlineWidth(std::uint32_t dpi);
// A wider outline is the one-pixel pen's line drawn again beside itself, moved across by these
// pixels in turn (k = 1 ... width - 1): -1, 1, -2, 2, ... A one-pixel pen keeps a wide pen's cost
// away (several times the whole paint's where the system widens the path itself).
std::int32_t OutlineOffset(std::int32_t k);
// How many pixels the window region of a see-through display reaches beyond the segments'
// polygons for an outline of that width: half the width for the lines moved outwards, and one
// pixel for the pen's own line, which lies outside the right and bottom edges and beside the
// slanted ones.
std::int32_t OutlineReach(std::int32_t outlineWidth);

// style = (style | add) & ~remove; refused, leaving style alone, when remove and add overlap.
bool ChangeStyle(std::uint32_t &style, std::uint32_t remove, std::uint32_t add);

} // namespace led
