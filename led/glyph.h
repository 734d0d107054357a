#pragma once

// The glyph model of the LED display: one cell per displayable character, each a set of segment
// outlines in a unit cell 83 units tall (49 wide for a digit cell, 18 for the dots cell), and the
// mapping of an outline into a cell rectangle on the screen.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace led {

// Style bits of the display control; the glyphs depend only on LS_HIDE_OFF.
inline constexpr std::uint32_t LS_KEEP_ASPECT = 0x04;
inline constexpr std::uint32_t LS_HIDE_OFF = 0x08;
inline constexpr std::uint32_t LS_SOFT_EDGE = 0x10;

inline constexpr std::int32_t kCellHeight = 83;
inline constexpr std::int32_t kDigitCellWidth = 49;
inline constexpr std::int32_t kDotsCellWidth = 18;
// The double nearest 1/83: cell heights scale by this exact value, not by a division.
inline constexpr double kUnitsToHeight = 0.012048192771084338;
// Largest outline of both cell kinds (the middle bar), so callers can map into fixed storage.
inline constexpr std::size_t kMaxOutlinePoints = 6;

struct LedPoint {
    std::int32_t x;
    std::int32_t y;
    friend bool operator==(const LedPoint &, const LedPoint &) = default;
};

// Mirror axes of the unit cell: x = 24 for the digit cell, y = 41.
constexpr LedPoint MirrorX(LedPoint p) { return {48 - p.x, p.y}; }
constexpr LedPoint MirrorY(LedPoint p) { return {p.x, 82 - p.y}; }
constexpr LedPoint MirrorBoth(LedPoint p) { return MirrorX(MirrorY(p)); }

// Segment masks of the digit cell: index 0 space, 1..10 the digits, 11 minus.
inline constexpr std::uint8_t kSevenSegmentMasks[12] = {0x00, 0x77, 0x24, 0x5D, 0x6D, 0x2E,
                                                        0x6B, 0x7B, 0x25, 0x7F, 0x6F, 0x08};
inline constexpr std::uint16_t kDecimalPointMask = 0x04;
inline constexpr std::uint16_t kColonMask = 0x03;

// One closed outline; the last point joins back to the first when filled.
class CLedSegment {
public:
    CLedSegment() = default;
    explicit CLedSegment(std::vector<LedPoint> outline) : points(std::move(outline)) {}

    std::span<const LedPoint> GetPoints() const { return points; }
    std::int32_t GetCount() const { return static_cast<std::int32_t>(points.size()); }

private:
    std::vector<LedPoint> points;
};

// One glyph cell. The control keeps base-class copies of built glyphs: once SetSegments has run,
// a glyph is drawn from its data alone, so slicing off the derived part loses nothing.
class CLedGlyph {
public:
    CLedGlyph(const CLedGlyph &) = default;
    CLedGlyph(CLedGlyph &&) = default;
    CLedGlyph &operator=(const CLedGlyph &) = default;
    CLedGlyph &operator=(CLedGlyph &&) = default;
    virtual ~CLedGlyph() = default;

    // The base version stores the mask and the hide-off flag; derived versions build the outlines first.
    virtual void SetSegments(std::uint16_t newMask, std::uint32_t style);

    std::int32_t GetWidth() const { return width; }
    std::uint16_t GetMask() const { return mask; }
    std::span<const CLedSegment> GetSegments() const { return segments; }
    std::int32_t GetSegmentCount() const { return segmentCount; }
    bool GetHideOff() const { return hideOff; }
    bool IsLit(std::size_t index) const { return index < 16 && (mask >> index & 1u) != 0; }

protected:
    CLedGlyph(std::int32_t cellWidth, std::int32_t kindSegmentCount) : width(cellWidth), segmentCount(kindSegmentCount)
    {
    }

    std::int32_t width;
    std::uint16_t mask = 0;
    std::vector<CLedSegment> segments;
    std::int32_t segmentCount;
    bool hideOff = false;
};

class CLedGlyph7 : public CLedGlyph {
public:
    CLedGlyph7() : CLedGlyph(kDigitCellWidth, 7) {}
    void SetSegments(std::uint16_t newMask, std::uint32_t style) override;
};

class CLedGlyphDots : public CLedGlyph {
public:
    CLedGlyphDots() : CLedGlyph(kDotsCellWidth, 3) {}
    void SetSegments(std::uint16_t newMask, std::uint32_t style) override;
};

// The built glyph for one byte of the text, or nothing for a character without a glyph.
std::optional<CLedGlyph> CreateGlyph(char ch, std::uint32_t style);

// Replaces glyphs with one glyph per displayable character of text, in order; reuses the storage.
void BuildGlyphRow(std::string_view text, std::uint32_t style, std::vector<CLedGlyph> &glyphs);

struct CellRect {
    double left;
    double top;
    double right;
    double bottom;
};

// Layout-compatible with the platform's POINT.
struct DevicePoint {
    std::int32_t x;
    std::int32_t y;
    friend bool operator==(const DevicePoint &, const DevicePoint &) = default;
};

// Maps the outline into the cell rectangle (cellWidth units wide, 83 tall) and returns the number
// of points written to out: 0, so that nothing is drawn, when out is too small or the width is not
// positive.
std::size_t MapOutline(const CLedSegment &segment, const CellRect &cell, std::int32_t cellWidth,
                       std::span<DevicePoint> out);

} // namespace led
