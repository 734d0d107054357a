#include "pictures/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "res/resource.h"

namespace pictures {

namespace {

constexpr int backgroundWidth = 215;
constexpr int backgroundHeight = 148;
constexpr int nameWidth = 58;
constexpr int nameHeight = 17;
constexpr int lampWidth = 20;
constexpr int lampHeight = 42;
const Color dialogGrey = rgb(212, 208, 200);
// Pixels a band of a picture drawn at run time holds: its float pixels stay near 128 KB.
constexpr int bandPixels = 8192;

float smoothstep(float edge0, float edge1, float x)
{
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// ---------------------------------------------------------------------------------------------
// Layout backgrounds. The time display covers most of the upper part and the buttons the lower
// right, so the pictures keep their detail to the edges and stay calm behind the hour digits.

void gradientBackground(Canvas &c, Color top, Color bottom, std::uint32_t seed, float grain)
{
    Noise noise(seed, 4);
    for (int y = c.top(); y < c.bottom(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const float u = c.unitX(x), v = c.unitY(y);
            Color base = mix(top, bottom, v / (backgroundHeight - 1));
            float n = noise.at(u / 40.0f, v / 30.0f) - 0.5f;
            c.set(x, y, {base.r + n * grain, base.g + n * grain, base.b + n * grain * 1.2f, 1});
        }
}

// The full width of a background from a row down.
Box rowsFrom(float top) { return {0, top, backgroundWidth, backgroundHeight}; }

Sdf snowflakeShape(float cx, float cy, float radius, float rotation)
{
    Sdf shape = circle(cx, cy, radius * 0.18f);
    for (int arm = 0; arm < 6; ++arm) {
        float a = rotation + static_cast<float>(arm) * std::numbers::pi_v<float> / 3;
        float dx = std::cos(a), dy = std::sin(a);
        Vec2 tip{cx + dx * radius, cy + dy * radius};
        shape = unite(shape, capsule({cx, cy}, tip, radius * 0.09f + 0.25f));
        if (radius < 4)
            continue;
        // Two small branches on each arm
        Vec2 fork{cx + dx * radius * 0.55f, cy + dy * radius * 0.55f};
        for (float side : {-1.0f, 1.0f}) {
            float b = a + side * 0.75f;
            Vec2 end{fork.x + std::cos(b) * radius * 0.35f, fork.y + std::sin(b) * radius * 0.35f};
            shape = unite(shape, capsule(fork, end, radius * 0.07f + 0.2f));
        }
    }
    return shape;
}

void paintWinter(Canvas &c)
{
    gradientBackground(c, rgb(104, 134, 186), rgb(150, 174, 212), 11, 0.05f);
    // Snow drifts along the bottom, two layers for depth.
    auto drift = [&c](float base, float amplitude, float period, float phase, const Paint &paint) {
        c.fill(
            [=](float x, float y) {
                return base + amplitude * std::sin(x / period + phase) +
                       amplitude * 0.4f * std::sin(x / (period * 0.43f) + phase * 2) - y;
            },
            paint, rowsFrom(base - amplitude * 1.4f - 1));
    };
    drift(137.0f, 3.5f, 23.0f, 0.6f,
          [](float, float y) { return mix(rgb(206, 218, 236), rgb(232, 238, 247), smoothstep(130, 148, y)); });
    drift(142.5f, 2.5f, 17.0f, 2.2f,
          [](float, float y) { return mix(rgb(238, 243, 250), rgb(250, 252, 255), smoothstep(138, 148, y)); });

    // Flakes: a few crystals and many soft dots, fewer where the hour digits stand.
    Random random(160);
    for (int i = 0; i < 26; ++i) {
        float x = random.range(2, 213), y = random.range(2, 134);
        bool behindDigits = x < 84 && y > 88 && y < 142;
        float r = random.range(2.5f, 6.0f);
        if (behindDigits && random.uniform() < 0.7f)
            continue;
        c.fill(snowflakeShape(x, y, r, random.range(0, 1)), rgb(240, 246, 255, behindDigits ? 0.35f : 0.8f),
               around(x, y, r * 1.1f + 1));
    }
    for (int i = 0; i < 140; ++i) {
        float x = random.range(0, 215), y = random.range(0, 140);
        float r = random.range(0.5f, 1.4f);
        c.fill(circle(x, y, r), rgb(250, 252, 255, random.range(0.35f, 0.85f)), around(x, y, r + 1));
    }
}

void paintNight(Canvas &c)
{
    gradientBackground(c, rgb(14, 10, 58), rgb(42, 30, 120), 21, 0.04f);
    // Faint milky band across the sky
    Noise noise(22, 4);
    for (int y = c.top(); y < c.bottom(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const float u = c.unitX(x), v = c.unitY(y);
            float d = std::abs((v - 20.0f) - (u * 0.45f)) / 28.0f;
            float glow = std::exp(-d * d) * noise.at(u / 18.0f, v / 12.0f);
            c.blend(x, y, rgb(150, 140, 230), glow * 0.22f);
        }
    Random random(162);
    for (int i = 0; i < 170; ++i) {
        float x = random.range(0, 215), y = random.range(0, 148);
        float brightness = random.range(0.25f, 1.0f);
        Color tint = mix(rgb(255, 246, 220), rgb(210, 220, 255), random.uniform());
        const float radius = 0.35f + brightness * 0.5f;
        c.fill(circle(x, y, radius), withAlpha(tint, brightness), around(x, y, radius + 1));
    }
    // A few sparkling stars with four rays
    for (int i = 0; i < 9; ++i) {
        float x = random.range(4, 211), y = random.range(4, 144);
        float r = random.range(2.5f, 4.5f);
        Color tint = rgb(255, 250, 230);
        const Box star = around(x, y, r + 1.5f);
        c.fill(circle(x, y, r * 0.9f), withAlpha(tint, 0.10f), star);
        c.fill(unite(capsule({x - r, y}, {x + r, y}, 0.35f), capsule({x, y - r}, {x, y + r}, 0.35f)),
               withAlpha(tint, 0.8f), star);
        c.fill(circle(x, y, 0.9f), tint, star);
    }
    // A small crescent moon low in the strip below the buttons, where it stays in view.
    const float mx = 122, my = 142.5f, mr = 5.2f;
    c.fill(
        circle(mx, my, mr * 3.0f),
        [=](float x, float y) {
            float d = std::hypot(x - mx, y - my) / (mr * 3.0f);
            return rgb(200, 190, 255, 0.22f * (1 - d) * (1 - d));
        },
        around(mx, my, mr * 3.0f + 1));
    Sdf crescent = subtract(circle(mx, my, mr), circle(mx + 2.4f, my - 1.6f, mr * 0.84f));
    c.fill(
        crescent,
        [=](float x, float y) {
            float t = smoothstep(my - mr, my + mr, y + (mx - x) * 0.3f);
            return mix(rgb(255, 248, 210), rgb(240, 218, 146), t);
        },
        around(mx, my, mr + 1));
}

void paintDay(Canvas &c)
{
    gradientBackground(c, rgb(96, 168, 232), rgb(168, 214, 246), 31, 0.03f);
    // Puffy clouds: clusters of circles with a light top and a bluish underside.
    auto cloud = [&](float cx, float cy, float scale, float alpha) {
        Sdf body = ellipse(cx, cy + 2 * scale, 15 * scale, 5 * scale);
        body = unite(body, circle(cx - 7 * scale, cy, 6 * scale));
        body = unite(body, circle(cx + 1 * scale, cy - 3 * scale, 8 * scale));
        body = unite(body, circle(cx + 9 * scale, cy + 0.5f * scale, 5.5f * scale));
        Sdf flat = intersect(body, [=](float, float y) { return y - (cy + 5 * scale); });
        // The ellipse's distance is an estimate: a wider margin than the circles need.
        const Box extent{cx - 15 * scale - 2, cy - 11 * scale - 2, cx + 15 * scale + 2, cy + 5 * scale + 2};
        c.fill(
            flat,
            [=](float, float y) {
                float t = smoothstep(cy - 10 * scale, cy + 5 * scale, y);
                return withAlpha(mix(rgb(255, 255, 255), rgb(214, 230, 246), t), alpha);
            },
            extent);
    };
    cloud(30, 16, 1.3f, 0.95f);
    cloud(186, 22, 1.1f, 0.9f);
    cloud(110, 8, 0.9f, 0.85f);
    cloud(200, 88, 0.8f, 0.85f);
    cloud(40, 146, 1.5f, 0.95f);
    cloud(150, 150, 1.9f, 0.95f);
    cloud(20, 84, 0.6f, 0.6f);
    // Light haze at the horizon
    for (int y = c.top(); y < c.bottom(); ++y) {
        const float v = c.unitY(y);
        if (v < 120)
            continue;
        for (int x = 0; x < c.width(); ++x)
            c.blend(x, y, rgb(240, 248, 255), smoothstep(120, 148, v) * 0.25f);
    }
}

void paintSummer(Canvas &c)
{
    gradientBackground(c, rgb(252, 182, 58), rgb(232, 104, 32), 41, 0.04f);
    // Sun in the upper left corner, its rays fanning over the picture.
    const float sx = 14, sy = 12;
    for (int y = c.top(); y < c.bottom(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            float dx = c.unitX(x) + 0.5f - sx, dy = c.unitY(y) + 0.5f - sy;
            float angle = std::atan2(dy, dx);
            float distance = std::hypot(dx, dy);
            float ray = 0.5f + 0.5f * std::cos(angle * 18.0f);
            ray = smoothstep(0.55f, 0.9f, ray) * std::exp(-distance / 150.0f);
            c.blend(x, y, rgb(255, 236, 120), ray * 0.35f);
            c.blend(x, y, rgb(255, 240, 150), std::exp(-distance / 38.0f) * 0.45f);
        }
    c.fill(circle(sx, sy, 17), rgb(255, 226, 80, 0.45f), around(sx, sy, 18));
    c.fill(
        circle(sx, sy, 13),
        [=](float x, float y) {
            float t = std::hypot(x - sx, y - sy) / 13.0f;
            return mix(rgb(255, 250, 200), rgb(255, 214, 40), t);
        },
        around(sx, sy, 14));
    // Gentle waves at the bottom
    for (int band = 0; band < 3; ++band) {
        float base = 131.0f + static_cast<float>(band) * 6.0f;
        float phase = static_cast<float>(band) * 1.7f;
        Color tone = mix(rgb(240, 132, 44), rgb(204, 70, 30), static_cast<float>(band) / 2.0f);
        c.fill([=](float x, float y) { return base + 1.8f * std::sin(x / 9.0f + phase) - y; },
               [=](float, float) { return tone; }, rowsFrom(base - 3));
        c.fill(
            [=](float x, float y) {
                float crest = base + 1.8f * std::sin(x / 9.0f + phase);
                return std::abs(y - crest) - 0.45f;
            },
            rgb(255, 214, 110, 0.7f), Box{0, base - 4, backgroundWidth, base + 4});
    }
}

// Plain is the dialog grey the canvas starts with.
void paintPlain(Canvas &) {}

// ---------------------------------------------------------------------------------------------
// The name: our own bold pixel letters, underlined. Each letter is one shape made of its cells,
// so that at any scale neighbouring cells join without seams.

struct Glyph {
    int top; // row of the first line in the text block (0 = cap height)
    std::vector<const char *> rows;
};

Sdf cellsShape(std::vector<Box> cells)
{
    return [cells = std::move(cells)](float x, float y) {
        float best = 1e30f;
        for (const Box &b : cells) {
            const float qx = std::max(b.left - x, x - b.right), qy = std::max(b.top - y, y - b.bottom);
            const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            best = std::min(best, outside + std::min(std::max(qx, qy), 0.0f));
        }
        return best;
    };
}

void paintName(Canvas &c)
{
    static const Glyph bigB{0,
                            {"######.", "##...##", "##...##", "##...##", "##..##.", "#####..", "##..##.", "##...##",
                             "##...##", "##...##", "######."}};
    static const Glyph r{3, {"##.###", "#####.", "###...", "##....", "##....", "##....", "##....", "##...."}};
    static const Glyph e{3, {".####.", "##..##", "##..##", "######", "##....", "##....", "##..##", ".####."}};
    static const Glyph w{
        3, {"##....##", "##....##", "##....##", "##.##.##", "##.##.##", "##.##.##", "########", ".##..##."}};
    static const Glyph b{
        0,
        {"##....", "##....", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "#####."}};
    static const Glyph l{0, {"##", "##", "##", "##", "##", "##", "##", "##", "##", "##", "##"}};
    const std::array<const Glyph *, 8> word = {&bigB, &r, &e, &w, &b, &e, &l, &l};

    int total = -1;
    for (const Glyph *g : word)
        total += static_cast<int>(std::string(g->rows.front()).size()) + 1;
    const int left = (nameWidth - total) / 2, top = 2;
    const Color ink = rgb(0, 0, 0);
    int x = left;
    for (const Glyph *g : word) {
        const int width = static_cast<int>(std::string(g->rows.front()).size());
        std::vector<Box> cells;
        for (std::size_t row = 0; row < g->rows.size(); ++row)
            for (int col = 0; col < width; ++col)
                if (g->rows[row][col] == '#') {
                    const float cx = static_cast<float>(x + col), cy = static_cast<float>(top + g->top + row);
                    cells.push_back({cx, cy, cx + 1, cy + 1});
                }
        const Box extent{static_cast<float>(x), static_cast<float>(top + g->top), static_cast<float>(x + width),
                         static_cast<float>(top + g->top + static_cast<int>(g->rows.size()))};
        c.fill(cellsShape(std::move(cells)), ink, extent);
        x += width + 1;
    }
    const Box underline{static_cast<float>(left), 14, static_cast<float>(left + total), 15};
    c.fill(cellsShape({underline}), ink, underline);
}

// ---------------------------------------------------------------------------------------------
// Messenger service lamps: a dark housing with a yellow (busy) and a green (running) lamp.

void paintLamp(Canvas &c, bool yellowLit, bool greenLit)
{
    Sdf housing = roundedBox(1, 1, 19, 41, 4);
    c.fill(housing, rgb(40, 42, 46));
    c.fill([=](float x, float y) { return housing(x, y) + 1; },
           [](float, float y) { return mix(rgb(92, 96, 104), rgb(58, 60, 66), smoothstep(1, 41, y)); });

    auto lamp = [&](float cx, float cy, Color lit, Color core, Color dark, bool on) {
        const float radius = 6.5f;
        if (on)
            c.fill(circle(cx, cy, radius + 2.5f), [=](float x, float y) {
                float d = std::hypot(x - cx, y - cy) / (radius + 2.5f);
                return withAlpha(lit, 0.55f * (1 - d));
            });
        c.fill(circle(cx, cy, radius + 0.8f), rgb(24, 24, 26));
        c.fill(circle(cx, cy, radius), [=](float x, float y) {
            float d = std::hypot(x - cx + 1.5f, y - cy + 1.5f) / (radius + 1.5f);
            return on ? mix(core, lit, smoothstep(0.0f, 0.9f, d)) : mix(mix(dark, rgb(255, 255, 255), 0.15f), dark, d);
        });
        // Glass reflection
        c.fill(ellipse(cx - 2.2f, cy - 2.6f, 2.2f, 1.4f), rgb(255, 255, 255, on ? 0.75f : 0.35f));
    };
    lamp(10, 12.5f, rgb(250, 196, 20), rgb(255, 252, 190), rgb(86, 70, 24), yellowLit);
    lamp(10, 29.5f, rgb(40, 200, 60), rgb(210, 255, 200), rgb(26, 66, 34), greenLit);
}

void paintLampStopped(Canvas &c) { paintLamp(c, false, false); }
void paintLampBusy(Canvas &c) { paintLamp(c, true, false); }
void paintLampRunning(Canvas &c) { paintLamp(c, false, true); }

struct PictureKind {
    int id;
    Size size;
    Color ground; // what the canvas holds before the picture is painted
    void (*paint)(Canvas &);
};

constexpr Color clear{0, 0, 0, 0};
const PictureKind kinds[] = {
    {IDB_DAY, {backgroundWidth, backgroundHeight}, clear, paintDay},
    {IDB_WINTER, {backgroundWidth, backgroundHeight}, clear, paintWinter},
    {IDB_SUMMER, {backgroundWidth, backgroundHeight}, clear, paintSummer},
    {IDB_NIGHT, {backgroundWidth, backgroundHeight}, clear, paintNight},
    {IDB_PLAIN, {backgroundWidth, backgroundHeight}, dialogGrey, paintPlain},
    {IDB_ABOUT_NAME, {nameWidth, nameHeight}, dialogGrey, paintName},
    {IDB_LAMP_STOPPED, {lampWidth, lampHeight}, dialogGrey, paintLampStopped},
    {IDB_LAMP_BUSY, {lampWidth, lampHeight}, dialogGrey, paintLampBusy},
    {IDB_LAMP_RUNNING, {lampWidth, lampHeight}, dialogGrey, paintLampRunning},
};

const PictureKind *findKind(int bitmapId)
{
    for (const PictureKind &kind : kinds)
        if (kind.id == bitmapId)
            return &kind;
    return nullptr;
}

} // namespace

Size designSize(int bitmapId)
{
    const PictureKind *kind = findKind(bitmapId);
    return kind ? kind->size : Size{};
}

Canvas drawPicture(int bitmapId, int width, int height, int top, int bottom)
{
    const PictureKind *kind = findKind(bitmapId);
    const Size design = kind ? kind->size : Size{};
    Canvas canvas(
        Frame{width, height, static_cast<float>(design.width), static_cast<float>(design.height), top, bottom},
        kind ? kind->ground : clear);
    if (kind)
        kind->paint(canvas);
    return canvas;
}

bool renderPicture(int bitmapId, int width, int height, std::uint8_t *rows, std::ptrdiff_t stride)
{
    if (!findKind(bitmapId) || width <= 0 || height <= 0 || !rows)
        return false;
    const Color backdrop{1, 1, 1, 1};
    const int bandRows = std::max(1, bandPixels / width);
    for (int top = 0; top < height; top += bandRows) {
        const int bottom = std::min(height, top + bandRows);
        const Canvas band = drawPicture(bitmapId, width, height, top, bottom);
        for (int y = top; y < bottom; ++y) {
            std::uint8_t *out = rows + static_cast<std::ptrdiff_t>(y) * stride;
            for (int x = 0; x < width; ++x, out += 3)
                storeBgr(band, x, y, backdrop, out);
        }
    }
    return true;
}

} // namespace pictures
