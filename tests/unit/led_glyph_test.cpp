#include "led/glyph.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

namespace led {
namespace {

using Outline = std::vector<LedPoint>;

Outline PointsOf(const CLedSegment &segment) { return {segment.GetPoints().begin(), segment.GetPoints().end()}; }

CLedGlyph Glyph(char ch, std::uint32_t style = 0)
{
    std::optional<CLedGlyph> glyph = CreateGlyph(ch, style);
    EXPECT_TRUE(glyph.has_value()) << "no glyph for '" << ch << "'";
    return glyph ? *glyph : *CreateGlyph(' ', style);
}

TEST(LedGlyph, CharactersChooseCellKindAndMask)
{
    const std::string chars = "0123456789 -.:";
    const std::array<std::uint16_t, 14> masks = {0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B, 0x7B,
                                                 0x25, 0x7F, 0x6F, 0x00, 0x08, 0x04, 0x03};
    for (std::size_t i = 0; i < chars.size(); ++i) {
        SCOPED_TRACE(chars.substr(i, 1));
        const CLedGlyph glyph = Glyph(chars[i]);
        const bool dots = i >= 12;
        EXPECT_EQ(glyph.GetMask(), masks[i]);
        EXPECT_EQ(glyph.GetWidth(), dots ? 18 : 49);
        EXPECT_EQ(glyph.GetSegmentCount(), dots ? 3 : 7);
        EXPECT_EQ(glyph.GetSegments().size(), dots ? 3u : 7u);
    }
}

TEST(LedGlyph, OtherCharactersHaveNoGlyph)
{
    for (char ch : {'a', 'Z', '?', ',', '\0', '\n', '\xE4', '\xFF'})
        EXPECT_FALSE(CreateGlyph(ch, 0).has_value()) << static_cast<int>(ch);
}

TEST(LedGlyph, HideOffFollowsTheStyle)
{
    EXPECT_FALSE(Glyph('8', 0).GetHideOff());
    EXPECT_FALSE(Glyph('8', LS_KEEP_ASPECT | LS_SOFT_EDGE).GetHideOff());
    EXPECT_TRUE(Glyph('8', LS_HIDE_OFF).GetHideOff());
    EXPECT_TRUE(Glyph(':', 0x1C).GetHideOff());
}

TEST(LedGlyph, MirroredOutlinesKeepTheirPointOrder)
{
    const CLedGlyph digit = Glyph('8');
    const auto segments = digit.GetSegments();
    EXPECT_EQ(PointsOf(segments[0]), (Outline{{5, 4}, {12, 11}, {36, 11}, {43, 4}}));
    EXPECT_EQ(PointsOf(segments[1]), (Outline{{4, 6}, {4, 40}, {11, 36}, {11, 13}}));
    EXPECT_EQ(PointsOf(segments[2]), (Outline{{44, 6}, {44, 40}, {37, 36}, {37, 13}}));
    EXPECT_EQ(PointsOf(segments[3]), (Outline{{6, 41}, {14, 45}, {34, 45}, {42, 41}, {34, 37}, {14, 37}}));
    EXPECT_EQ(PointsOf(segments[4]), (Outline{{4, 76}, {4, 42}, {11, 46}, {11, 69}}));
    EXPECT_EQ(PointsOf(segments[5]), (Outline{{44, 76}, {44, 42}, {37, 46}, {37, 69}}));
    EXPECT_EQ(PointsOf(segments[6]), (Outline{{5, 78}, {12, 71}, {36, 71}, {43, 78}}));

    const CLedGlyph dots = Glyph(':');
    EXPECT_EQ(PointsOf(dots.GetSegments()[0]), (Outline{{4, 23}, {4, 32}, {13, 32}, {13, 23}}));
    EXPECT_EQ(PointsOf(dots.GetSegments()[1]), (Outline{{4, 50}, {4, 59}, {13, 59}, {13, 50}}));
    EXPECT_EQ(PointsOf(dots.GetSegments()[2]), (Outline{{4, 68}, {4, 77}, {13, 77}, {13, 68}}));
}

TEST(LedGlyph, SetSegmentsRebuildsInsteadOfAppending)
{
    CLedGlyph7 glyph;
    glyph.SetSegments(0x7F, LS_HIDE_OFF);
    glyph.SetSegments(0x24, 0);
    EXPECT_EQ(glyph.GetSegments().size(), 7u);
    EXPECT_EQ(glyph.GetMask(), 0x24);
    EXPECT_FALSE(glyph.GetHideOff());
}

TEST(LedGlyphRow, OneCellPerDisplayableCharacter)
{
    std::vector<CLedGlyph> row;
    BuildGlyphRow("03:00", 0, row);
    ASSERT_EQ(row.size(), 5u);
    const std::array<std::int32_t, 5> widths = {49, 49, 18, 49, 49};
    for (std::size_t i = 0; i < row.size(); ++i)
        EXPECT_EQ(row[i].GetWidth(), widths[i]);
    EXPECT_EQ(row[2].GetMask(), 0x03);

    BuildGlyphRow("1.2", 0, row);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0].GetMask(), 0x24);
    EXPECT_EQ(row[1].GetWidth(), 18);
    EXPECT_EQ(row[1].GetMask(), 0x04);
    EXPECT_TRUE(row[1].IsLit(2));
    EXPECT_FALSE(row[1].IsLit(0));
    EXPECT_EQ(row[2].GetMask(), 0x5D);

    BuildGlyphRow("1a?", 0, row);
    EXPECT_EQ(row.size(), 1u);
    BuildGlyphRow("?", 0, row);
    EXPECT_TRUE(row.empty());
}

TEST(MapOutline, UnitRectangleKeepsCellCoordinates)
{
    std::array<DevicePoint, kMaxOutlinePoints> out{};
    for (char ch : {'8', ':'}) {
        const CLedGlyph glyph = Glyph(ch);
        const CellRect cell{0, 0, static_cast<double>(glyph.GetWidth()), 83};
        for (const CLedSegment &segment : glyph.GetSegments()) {
            const std::size_t n = MapOutline(segment, cell, glyph.GetWidth(), out);
            ASSERT_EQ(n, segment.GetPoints().size());
            for (std::size_t i = 0; i < n; ++i) {
                EXPECT_EQ(out[i].x, segment.GetPoints()[i].x);
                EXPECT_EQ(out[i].y, segment.GetPoints()[i].y);
            }
        }
    }
}

TEST(MapOutline, ScalesOffsetsAndRoundsHalfUp)
{
    const CLedSegment segment(Outline{{5, 4}, {43, 78}});
    std::array<DevicePoint, kMaxOutlinePoints> out{};
    // Twice the cell size, shifted by (10, 20).
    ASSERT_EQ(MapOutline(segment, {10, 20, 108, 186}, 49, out), 2u);
    EXPECT_EQ(out[0], (DevicePoint{20, 28}));
    EXPECT_EQ(out[1], (DevicePoint{96, 176}));
    // Half a pixel to the right rounds up; 0.4 below rounds down.
    ASSERT_EQ(MapOutline(segment, {0.5, 0.4, 49.5, 83.4}, 49, out), 2u);
    EXPECT_EQ(out[0], (DevicePoint{6, 4}));
    EXPECT_EQ(out[1], (DevicePoint{44, 78}));
}

TEST(MapOutline, RefusesWhatItCannotMapSafely)
{
    const CLedGlyph glyph = Glyph('8');
    const CLedSegment &middle = glyph.GetSegments()[3];
    std::array<DevicePoint, 4> small{};
    EXPECT_EQ(MapOutline(middle, {0, 0, 49, 83}, 49, small), 0u);
    std::array<DevicePoint, kMaxOutlinePoints> out{};
    EXPECT_EQ(MapOutline(middle, {0, 0, 49, 83}, 0, out), 0u);

    // Coordinates beyond 32 bits saturate instead of overflowing the conversion.
    ASSERT_EQ(MapOutline(middle, {0, 0, 1e15, -1e15}, 49, out), 6u);
    EXPECT_EQ(out[0].x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(out[0].y, std::numeric_limits<std::int32_t>::min());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ASSERT_EQ(MapOutline(middle, {nan, nan, nan, nan}, 49, out), 6u);
    EXPECT_EQ(out[0], (DevicePoint{0, 0}));
}

} // namespace
} // namespace led
