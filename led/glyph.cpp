#include "led/glyph.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace led {
namespace {

constexpr std::array<LedPoint, 4> kBar = {{{5, 4}, {12, 11}, {36, 11}, {43, 4}}};
constexpr std::array<LedPoint, 4> kVertical = {{{4, 6}, {4, 40}, {11, 36}, {11, 13}}};
constexpr std::array<LedPoint, 6> kMiddle = {{{6, 41}, {14, 45}, {34, 45}, {42, 41}, {34, 37}, {14, 37}}};
constexpr std::array<LedPoint, 4> kUpperColonDot = {{{4, 23}, {4, 32}, {13, 32}, {13, 23}}};
constexpr std::array<LedPoint, 4> kLowerColonDot = {{{4, 50}, {4, 59}, {13, 59}, {13, 50}}};
constexpr std::array<LedPoint, 4> kDecimalPoint = {{{4, 68}, {4, 77}, {13, 77}, {13, 68}}};

static_assert(kMiddle.size() == kMaxOutlinePoints, "callers size their point storage by the largest outline");

constexpr LedPoint Unchanged(LedPoint p) { return p; }

struct SegmentRecipe {
    std::span<const LedPoint> shape;
    LedPoint (*transform)(LedPoint);
};

// Index i is the outline of mask bit i.
constexpr SegmentRecipe kDigitRecipes[] = {
    {kBar, Unchanged},       // top bar
    {kVertical, Unchanged},  // upper left
    {kVertical, MirrorX},    // upper right
    {kMiddle, Unchanged},    // middle bar
    {kVertical, MirrorY},    // lower left
    {kVertical, MirrorBoth}, // lower right
    {kBar, MirrorY},         // bottom bar
};
constexpr SegmentRecipe kDotsRecipes[] = {
    {kUpperColonDot, Unchanged},
    {kLowerColonDot, Unchanged},
    {kDecimalPoint, Unchanged},
};

void BuildSegments(std::span<const SegmentRecipe> recipes, std::vector<CLedSegment> &segments)
{
    segments.clear();
    for (const SegmentRecipe &recipe : recipes) {
        std::vector<LedPoint> points(recipe.shape.size());
        std::transform(recipe.shape.begin(), recipe.shape.end(), points.begin(), recipe.transform);
        segments.emplace_back(std::move(points));
    }
}

// Adds 0.5 and truncates toward zero; values beyond 32 bits (only from absurd rectangles) saturate
// instead of overflowing the conversion.
std::int32_t RoundCoordinate(double v)
{
    const double t = std::trunc(v + 0.5);
    if (std::isnan(t))
        return 0;
    if (t <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (t >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(t);
}

} // namespace

void CLedGlyph::SetSegments(std::uint16_t newMask, std::uint32_t style)
{
    mask = newMask;
    hideOff = (style & LS_HIDE_OFF) != 0;
}

void CLedGlyph7::SetSegments(std::uint16_t newMask, std::uint32_t style)
{
    BuildSegments(kDigitRecipes, segments);
    CLedGlyph::SetSegments(newMask, style);
}

void CLedGlyphDots::SetSegments(std::uint16_t newMask, std::uint32_t style)
{
    BuildSegments(kDotsRecipes, segments);
    CLedGlyph::SetSegments(newMask, style);
}

std::optional<CLedGlyph> CreateGlyph(char ch, std::uint32_t style)
{
    std::optional<std::uint16_t> digitMask;
    if (ch >= '0' && ch <= '9')
        digitMask = kSevenSegmentMasks[1 + (ch - '0')];
    else if (ch == ' ')
        digitMask = kSevenSegmentMasks[0];
    else if (ch == '-')
        digitMask = kSevenSegmentMasks[11];
    if (digitMask) {
        CLedGlyph7 glyph;
        glyph.SetSegments(*digitMask, style);
        return glyph;
    }
    if (ch == '.' || ch == ':') {
        CLedGlyphDots glyph;
        glyph.SetSegments(ch == '.' ? kDecimalPointMask : kColonMask, style);
        return glyph;
    }
    return std::nullopt;
}

void BuildGlyphRow(std::string_view text, std::uint32_t style, std::vector<CLedGlyph> &glyphs)
{
    glyphs.clear();
    for (char ch : text) {
        if (std::optional<CLedGlyph> glyph = CreateGlyph(ch, style))
            glyphs.push_back(std::move(*glyph));
    }
}

std::size_t MapOutline(const CLedSegment &segment, const CellRect &cell, std::int32_t cellWidth,
                       std::span<DevicePoint> out)
{
    const std::span<const LedPoint> points = segment.GetPoints();
    if (cellWidth <= 0 || points.size() > out.size())
        return 0;
    const double sx = (cell.right - cell.left) / cellWidth;
    const double sy = (cell.bottom - cell.top) * kUnitsToHeight;
    for (std::size_t i = 0; i < points.size(); ++i) {
        out[i] = {RoundCoordinate(points[i].x * sx + cell.left), RoundCoordinate(points[i].y * sy + cell.top)};
    }
    return points.size();
}

} // namespace led
