// A small floating-point RGBA canvas with anti-aliased shapes, for the program's procedural
// pictures. Portable: the build's asset generator and the program itself draw with it.
//
// A picture is designed in units (its size at 96 dpi, in pixels) and may be drawn at any pixel
// size: shapes and sample points are given in design units and the canvas maps them to its
// pixels, so that a picture drawn larger gains detail instead of repeating pixels. A canvas may
// hold only a band of the picture's rows, which keeps a large picture's memory small.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace pictures {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

// 8-bit sRGB components, as colours are given in the layout table.
Color rgb(int r, int g, int b, float a = 1.0f);
Color mix(Color x, Color y, float t);
Color withAlpha(Color c, float a);

struct Vec2 {
    float x = 0, y = 0;
};

// Signed distance in design units from a point to a shape: negative inside.
using Sdf = std::function<float(float x, float y)>;
// A colour chosen per point, in design units.
using Paint = std::function<Color(float x, float y)>;

Sdf circle(float cx, float cy, float radius);
Sdf ellipse(float cx, float cy, float rx, float ry);
Sdf roundedBox(float left, float top, float right, float bottom, float radius);
Sdf capsule(Vec2 a, Vec2 b, float radius);
// A stroke of the given width along a quadratic Bezier curve.
Sdf curveStroke(Vec2 a, Vec2 control, Vec2 b, float width);
Sdf unite(Sdf a, Sdf b);
Sdf intersect(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);
Sdf outline(Sdf shape, float width);

// Deterministic generator (splitmix64): the pictures must not change from build to build.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}
    std::uint64_t next();
    float uniform(); // [0, 1)
    float range(float low, float high);

private:
    std::uint64_t state;
};

// Smooth value noise in [0, 1] with a few octaves (at most eight), for soft textures.
float fractalNoise(float x, float y, std::uint32_t seed, int octaves);

// The same noise for many neighbouring points, as a picture asks for it pixel by pixel: each
// octave keeps the lattice cell it used last, which the next pixel mostly shares.
class Noise {
public:
    Noise(std::uint32_t seed, int octaves) : seed(seed), octaves(std::clamp(octaves, 0, kMaxOctaves)) {}
    float at(float x, float y);

private:
    static constexpr int kMaxOctaves = 8;
    struct Corners {
        int ix = 0, iy = 0;
        float topLeft = 0, topRight = 0, bottomLeft = 0, bottomRight = 0;
        bool known = false;
    };
    float octave(int index, float x, float y);

    std::uint32_t seed;
    int octaves;
    std::array<Corners, kMaxOctaves> corners{};
};

// Where a shape can leave paint, in design units: a fill looks at no pixel outside it.
struct Box {
    float left, top, right, bottom;
};
// A box around a point, reaching `reach` units each way.
Box around(float x, float y, float reach);

// What part of a picture a canvas holds, and at which size.
struct Frame {
    int width = 0, height = 0;               // pixels of the whole picture
    float designWidth = 0, designHeight = 0; // its size in design units
    int top = 0, bottom = 0;                 // the rows held: top <= y < bottom
};

class Canvas {
public:
    // The whole picture at its design size, one pixel per unit.
    Canvas(int width, int height, Color fill = {0, 0, 0, 0});
    Canvas(const Frame &frame, Color fill);

    int width() const { return w; }
    int height() const { return h; }
    int top() const { return firstRow; }
    int bottom() const { return endRow; }
    // Pixels per design unit, the mean of both directions: how sharp a shape's edge is.
    float scale() const { return pixelsPerUnit; }
    // The design point a pixel stands for in per-pixel rules: its centre less half a unit, so
    // that at one pixel per unit it is the pixel's own (x, y).
    float unitX(int x) const { return (static_cast<float>(x) + 0.5f) / sx - 0.5f; }
    float unitY(int y) const { return (static_cast<float>(y) + 0.5f) / sy - 0.5f; }

    // Rows outside the band are not held: pixel() must not ask for one, set() ignores it.
    Color pixel(int x, int y) const { return px[static_cast<std::size_t>(y - firstRow) * w + x]; }
    void set(int x, int y, Color c);
    // Source-over compositing of c with the coverage given.
    void blend(int x, int y, Color c, float coverage);

    // Paints every pixel whose centre lies inside the shape, with a one-pixel soft edge.
    void fill(const Sdf &shape, Color c);
    // The same with a colour chosen per point.
    void fill(const Sdf &shape, const Paint &paint);
    // The same for a shape that leaves no paint outside the box.
    void fill(const Sdf &shape, const Paint &paint, const Box &area);
    void fill(const Sdf &shape, Color c, const Box &area);

private:
    int w, h;
    int firstRow, endRow;
    float sx, sy;
    float pixelsPerUnit;
    std::vector<Color> px;
};

// Rounds a 0..1 channel to 0..255 with an ordered dither, so gradients do not band.
std::uint8_t quantize(float value, int x, int y);
// One pixel as a 24-bit bitmap stores it (blue, green, red), alpha composed over the backdrop.
void storeBgr(const Canvas &canvas, int x, int y, Color backdrop, std::uint8_t *out);

} // namespace pictures
