// A small floating-point RGBA canvas with anti-aliased shapes, for the generated pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

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

// Signed distance in pixels from a point to a shape: negative inside.
using Sdf = std::function<float(float x, float y)>;

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

// Smooth value noise in [0, 1] with a few octaves, for soft textures.
float fractalNoise(float x, float y, std::uint32_t seed, int octaves);

class Canvas {
public:
    Canvas(int width, int height, Color fill = {0, 0, 0, 0});

    int width() const { return w; }
    int height() const { return h; }
    Color pixel(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
    void set(int x, int y, Color c) { px[static_cast<std::size_t>(y) * w + x] = c; }
    // Source-over compositing of c with the coverage given.
    void blend(int x, int y, Color c, float coverage);

    // Paints every pixel whose centre lies inside the shape, with a one-pixel soft edge.
    void fill(const Sdf &shape, Color c);
    // The same with a colour chosen per pixel.
    void fill(const Sdf &shape, const std::function<Color(float x, float y)> &paint);

private:
    int w, h;
    std::vector<Color> px;
};

// 24-bit bottom-up Windows bitmap file; alpha is composed over the given backdrop.
std::vector<std::uint8_t> encodeBmp24(const Canvas &canvas, Color backdrop = {1, 1, 1, 1});

// Rounds a 0..1 channel to 0..255 with an ordered dither, so gradients do not band.
std::uint8_t quantize(float value, int x, int y);

} // namespace assetgen
