#include "pictures/canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pictures {

namespace {

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float length(float x, float y) { return std::sqrt(x * x + y * y); }

float distanceToSegment(float px, float py, Vec2 a, Vec2 b)
{
    float bx = b.x - a.x, by = b.y - a.y;
    float ax = px - a.x, ay = py - a.y;
    float len2 = bx * bx + by * by;
    float t = len2 > 0 ? clamp01((ax * bx + ay * by) / len2) : 0.0f;
    return length(ax - bx * t, ay - by * t);
}

} // namespace

Color rgb(int r, int g, int b, float a) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }

Color mix(Color x, Color y, float t)
{
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Color withAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }

Sdf circle(float cx, float cy, float radius)
{
    return [=](float x, float y) { return length(x - cx, y - cy) - radius; };
}

Sdf ellipse(float cx, float cy, float rx, float ry)
{
    // First-order distance estimate: the implicit function divided by its gradient.
    return [=](float x, float y) {
        float u = (x - cx) / rx, v = (y - cy) / ry;
        float k0 = length(u, v);
        float k1 = length(u / rx, v / ry);
        if (k1 == 0)
            return -std::min(rx, ry);
        return k0 * (k0 - 1.0f) / k1;
    };
}

Sdf roundedBox(float left, float top, float right, float bottom, float radius)
{
    float cx = (left + right) / 2, cy = (top + bottom) / 2;
    float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    return [=](float x, float y) {
        float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
        return length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf capsule(Vec2 a, Vec2 b, float radius)
{
    return [=](float x, float y) { return distanceToSegment(x, y, a, b) - radius; };
}

Sdf curveStroke(Vec2 a, Vec2 control, Vec2 b, float width)
{
    // The curve as a polyline: fine enough for strokes a few pixels long.
    constexpr int steps = 24;
    std::vector<Vec2> points;
    for (int i = 0; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps, s = 1 - t;
        points.push_back(
            {s * s * a.x + 2 * s * t * control.x + t * t * b.x, s * s * a.y + 2 * s * t * control.y + t * t * b.y});
    }
    return [pts = std::move(points), half = width / 2](float x, float y) {
        float best = 1e30f;
        for (std::size_t i = 1; i < pts.size(); ++i)
            best = std::min(best, distanceToSegment(x, y, pts[i - 1], pts[i]));
        return best - half;
    };
}

Sdf unite(Sdf a, Sdf b)
{
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Sdf intersect(Sdf a, Sdf b)
{
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Sdf subtract(Sdf a, Sdf b)
{
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Sdf outline(Sdf shape, float width)
{
    return [=](float x, float y) { return std::abs(shape(x, y)) - width / 2; };
}

std::uint64_t Random::next()
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Random::uniform() { return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24); }

float Random::range(float low, float high) { return low + (high - low) * uniform(); }

namespace {

float lattice(int x, int y, std::uint32_t seed)
{
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

// floor() for the noise's coordinates, which stay far inside the int range; without the library
// call, which the program pays for at every pixel of a picture drawn at run time.
int floorToInt(float v)
{
    const int truncated = static_cast<int>(v);
    return v < static_cast<float>(truncated) ? truncated - 1 : truncated;
}

} // namespace

float Noise::octave(int index, float x, float y)
{
    int ix = floorToInt(x), iy = floorToInt(y);
    float fx = x - ix, fy = y - iy;
    float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    Corners &c = corners[static_cast<std::size_t>(index)];
    if (!c.known || c.ix != ix || c.iy != iy) {
        const std::uint32_t octaveSeed = seed + static_cast<std::uint32_t>(index) * 101u;
        c = {ix,
             iy,
             lattice(ix, iy, octaveSeed),
             lattice(ix + 1, iy, octaveSeed),
             lattice(ix, iy + 1, octaveSeed),
             lattice(ix + 1, iy + 1, octaveSeed),
             true};
    }
    float top = c.topLeft + (c.topRight - c.topLeft) * sx;
    float bottom = c.bottomLeft + (c.bottomRight - c.bottomLeft) * sx;
    return top + (bottom - top) * sy;
}

float Noise::at(float x, float y)
{
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += octave(i, x, y) * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
    }
    return sum / total;
}

float fractalNoise(float x, float y, std::uint32_t seed, int octaves) { return Noise(seed, octaves).at(x, y); }

Box around(float x, float y, float reach) { return {x - reach, y - reach, x + reach, y + reach}; }

Canvas::Canvas(int width, int height, Color fill)
    : Canvas(Frame{width, height, static_cast<float>(width), static_cast<float>(height), 0, height}, fill)
{
}

Canvas::Canvas(const Frame &frame, Color fill)
    : w(std::max(frame.width, 0)), h(std::max(frame.height, 0)), firstRow(std::clamp(frame.top, 0, h)),
      endRow(std::clamp(frame.bottom, firstRow, h)),
      sx(frame.designWidth > 0 ? static_cast<float>(w) / frame.designWidth : 1.0f),
      sy(frame.designHeight > 0 ? static_cast<float>(h) / frame.designHeight : 1.0f), pixelsPerUnit((sx + sy) / 2),
      px(static_cast<std::size_t>(w) * static_cast<std::size_t>(endRow - firstRow), fill)
{
}

void Canvas::set(int x, int y, Color c)
{
    if (x < 0 || y < firstRow || x >= w || y >= endRow)
        return;
    px[static_cast<std::size_t>(y - firstRow) * w + x] = c;
}

void Canvas::blend(int x, int y, Color c, float coverage)
{
    if (x < 0 || y < firstRow || x >= w || y >= endRow)
        return;
    float a = clamp01(c.a * coverage);
    if (a <= 0)
        return;
    Color &d = px[static_cast<std::size_t>(y - firstRow) * w + x];
    float outA = a + d.a * (1 - a);
    if (outA <= 0)
        return;
    float k = d.a * (1 - a);
    d = {(c.r * a + d.r * k) / outA, (c.g * a + d.g * k) / outA, (c.b * a + d.b * k) / outA, outA};
}

void Canvas::fill(const Sdf &shape, Color c)
{
    fill(shape, [c](float, float) { return c; });
}

void Canvas::fill(const Sdf &shape, const Paint &paint)
{
    fill(shape, paint, Box{0, 0, static_cast<float>(w) / sx, static_cast<float>(h) / sy});
}

void Canvas::fill(const Sdf &shape, Color c, const Box &area)
{
    fill(
        shape, [c](float, float) { return c; }, area);
}

void Canvas::fill(const Sdf &shape, const Paint &paint, const Box &area)
{
    // The box in pixels, one more all round for the soft edge; clamped before the conversion, so
    // that any box is safe.
    const auto first = [](float units, float scale, int low, int high) {
        return static_cast<int>(
            std::clamp(std::floor(units * scale) - 1, static_cast<float>(low), static_cast<float>(high)));
    };
    const auto last = [](float units, float scale, int low, int high) {
        return static_cast<int>(
            std::clamp(std::ceil(units * scale) + 1, static_cast<float>(low), static_cast<float>(high)));
    };
    const int x0 = first(area.left, sx, 0, w), x1 = last(area.right, sx, x0, w);
    const int y0 = first(area.top, sy, firstRow, endRow), y1 = last(area.bottom, sy, y0, endRow);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float cx = (static_cast<float>(x) + 0.5f) / sx, cy = (static_cast<float>(y) + 0.5f) / sy;
            float coverage = clamp01(0.5f - shape(cx, cy) * pixelsPerUnit);
            if (coverage > 0)
                blend(x, y, paint(cx, cy), coverage);
        }
}

std::uint8_t quantize(float value, int x, int y)
{
    static constexpr int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    // Offsets stay inside +-0.47, so an exact 8-bit colour keeps its value.
    float offset = (bayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f;
    float scaled = clamp01(value) * 255.0f + offset * 0.94f;
    // Rounded half away from zero, as lround does; scaled + 0.5 is exact in a double and above
    // zero, so the conversion's truncation is the floor.
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(static_cast<double>(scaled) + 0.5), 0, 255));
}

void storeBgr(const Canvas &canvas, int x, int y, Color backdrop, std::uint8_t *out)
{
    Color c = canvas.pixel(x, y);
    Color shown = mix(backdrop, withAlpha(c, 1), c.a);
    out[0] = quantize(shown.b, x, y);
    out[1] = quantize(shown.g, x, y);
    out[2] = quantize(shown.r, x, y);
}

} // namespace pictures
