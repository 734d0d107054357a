#include "led/led_layout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace led {
namespace {

std::vector<CLedGlyph> Row(const char *text, std::uint32_t style = 0)
{
    std::vector<CLedGlyph> row;
    BuildGlyphRow(text, style, row);
    return row;
}

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | g << 8 | b << 16; }

TEST(LedLayout, TotalWidthSumsTheCells)
{
    EXPECT_EQ(TotalWidth(Row("03:00")), 214);
    EXPECT_EQ(TotalWidth(Row("1.2")), 116);
    EXPECT_EQ(TotalWidth(Row("")), 0);
}

TEST(LedLayout, KeepAspectScalesEvenlyAndCentres)
{
    const auto wide = ComputeLayout(214, 428, 100, LS_KEEP_ASPECT);
    ASSERT_TRUE(wide.has_value());
    EXPECT_NEAR(wide->sx, 100.0 / 83, 1e-12);
    EXPECT_EQ(wide->sx, wide->sy);
    EXPECT_NEAR(214 * wide->sx, 257.83, 0.01);
    EXPECT_NEAR(wide->x0, 85.08, 0.01);
    EXPECT_NEAR(wide->y0, 0, 1e-9);

    // Narrower than the cells' proportions: the width sets the scale, the row is centred vertically.
    const auto tall = ComputeLayout(214, 214, 500, LS_KEEP_ASPECT);
    ASSERT_TRUE(tall.has_value());
    EXPECT_EQ(tall->sx, 1);
    EXPECT_EQ(tall->sy, 1);
    EXPECT_EQ(tall->x0, 0);
    EXPECT_EQ(tall->y0, 208.5);

    // Every cell of the row stands in the centred band, not at the top of the client area.
    double x = tall->x0;
    for (const CLedGlyph &glyph : Row("03:00")) {
        const CellRect cell = GlyphCell(*tall, x, glyph.GetWidth());
        EXPECT_EQ(cell.left, x);
        EXPECT_EQ(cell.top, 208.5);
        EXPECT_EQ(cell.right, x + glyph.GetWidth());
        EXPECT_EQ(cell.bottom, 291.5);
        x = cell.right;
    }
    EXPECT_EQ(x, 214);
}

TEST(LedLayout, WithoutKeepAspectTheRowFillsTheClientArea)
{
    const std::vector<CLedGlyph> row = Row("03:00");
    const auto layout = ComputeLayout(TotalWidth(row), 428, 100, LS_SOFT_EDGE | LS_HIDE_OFF);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->sx, 2);
    EXPECT_EQ(layout->x0, 0);
    EXPECT_EQ(layout->y0, 0);

    double x = layout->x0;
    for (const CLedGlyph &glyph : row) {
        const CellRect cell = GlyphCell(*layout, x, glyph.GetWidth());
        EXPECT_EQ(cell.left, x);
        EXPECT_EQ(cell.top, 0);
        EXPECT_NEAR(cell.bottom, 100, 1e-9);
        x = cell.right;
    }
    EXPECT_EQ(x, 428);
}

TEST(LedLayout, NothingToLayOutWithoutGlyphs)
{
    EXPECT_FALSE(ComputeLayout(TotalWidth(Row("?")), 428, 100, LS_KEEP_ASPECT).has_value());
    EXPECT_FALSE(ComputeLayout(0, 428, 100, 0).has_value());
    // An empty client area still lays out, just at scale zero.
    const auto empty = ComputeLayout(214, 0, 0, LS_KEEP_ASPECT);
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->sx, 0);
}

TEST(LedPen, SoftEdgeBlendsAQuarterOfTheBackgroundPerChannel)
{
    const std::uint32_t black = 0;
    EXPECT_EQ(OutlinePenColor(Rgb(0, 255, 0), black, LS_SOFT_EDGE), Rgb(0, 191, 0));
    EXPECT_EQ(OutlinePenColor(Rgb(0, 52, 0), black, 0x14), Rgb(0, 39, 0));
    // Channels stay apart: red background, blue fill.
    EXPECT_EQ(OutlinePenColor(Rgb(0, 0, 255), Rgb(255, 0, 0), LS_SOFT_EDGE), Rgb(63, 0, 191));
    EXPECT_EQ(OutlinePenColor(Rgb(10, 20, 30), Rgb(255, 255, 255), LS_SOFT_EDGE), Rgb(71, 78, 86));
    // The unused top byte of either colour does not leak into the pen.
    EXPECT_EQ(OutlinePenColor(0xFF00FF00u, 0xFF000000u, LS_SOFT_EDGE), Rgb(0, 191, 0));
    EXPECT_EQ(OutlinePenColor(Rgb(0, 255, 0), Rgb(255, 255, 255), LS_KEEP_ASPECT | LS_HIDE_OFF), Rgb(0, 255, 0));
}

TEST(LedPen, OutlineGrowsWithTheDisplayScalingAndTheRegionCoversIt)
{
    // dpi, outline width, reach of the window region beyond the polygons
    for (const auto &[dpi, width, reach] : {std::tuple{96u, 1, 1}, {120u, 1, 1}, {143u, 1, 1}, {144u, 2, 2},
                                            {192u, 2, 2}, {240u, 3, 2}, {288u, 3, 2}, {384u, 4, 3}, {0u, 1, 1}}) {
        EXPECT_EQ(OutlineWidth(dpi), width) << dpi;
        EXPECT_EQ(OutlineReach(OutlineWidth(dpi)), reach) << dpi;
    }
    // The pen's line lies on the polygon's edge; the copies alternate inwards and outwards.
    const std::int32_t offsets[] = {OutlineOffset(1), OutlineOffset(2), OutlineOffset(3), OutlineOffset(4)};
    EXPECT_EQ(std::vector<std::int32_t>(std::begin(offsets), std::end(offsets)),
              (std::vector<std::int32_t>{-1, 1, -2, 2}));
}

TEST(LedStyle, ChangeStyleRefusesOverlappingMasks)
{
    std::uint32_t style = 0x14;
    EXPECT_TRUE(ChangeStyle(style, LS_KEEP_ASPECT, LS_HIDE_OFF | LS_SOFT_EDGE));
    EXPECT_EQ(style, 0x18u);
    EXPECT_FALSE(ChangeStyle(style, LS_HIDE_OFF, LS_HIDE_OFF));
    EXPECT_EQ(style, 0x18u);
    EXPECT_TRUE(ChangeStyle(style, LS_HIDE_OFF, 0));
    EXPECT_EQ(style, 0x10u);
}

} // namespace
} // namespace led
