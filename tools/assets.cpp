#include "tools/assets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tools/avi.h"
#include "tools/ico.h"

namespace assetgen {

namespace {

constexpr int backgroundWidth = 215;
constexpr int backgroundHeight = 148;
const Color dialogGrey = rgb(212, 208, 200);

float smoothstep(float edge0, float edge1, float x)
{
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// ---------------------------------------------------------------------------------------------
// Icons: a teacup on a saucer; steam rises while a countdown runs.

struct CupGeometry {
    float line;                                   // outline width
    float cx, rimY, bowlRx, bowlRy, footY, rimRy; // cup
    float saucerCx, saucerCy, saucerRx, saucerRy; // saucer
    float handleCx, handleCy, handleRx, handleRy, handleWidth;
    float steamWidth, steamFringe;
    std::vector<std::array<float, 4>> wisps; // x, top, bottom, sway
};

CupGeometry scaled(CupGeometry g, float k)
{
    for (float *length : {&g.line, &g.cx, &g.rimY, &g.bowlRx, &g.bowlRy, &g.footY, &g.rimRy, &g.saucerCx, &g.saucerCy,
                          &g.saucerRx, &g.saucerRy, &g.handleCx, &g.handleCy, &g.handleRx, &g.handleRy, &g.handleWidth,
                          &g.steamWidth, &g.steamFringe})
        *length *= k;
    for (auto &wisp : g.wisps)
        for (float &length : wisp)
            length *= k;
    return g;
}

// The 16-pixel cup is drawn on its own grid rather than scaled, so its edges stay crisp. The
// sizes up to 24 pixels (125 and 150 % of it) take its bolder lines and two wisps, which stay
// readable there, where the finer 32-pixel drawing would blur.
CupGeometry cupGeometry(int size)
{
    if (size > 16 && size < 28)
        return scaled(cupGeometry(16), static_cast<float>(size) / 16.0f);
    if (size <= 16)
        return {1.0f,
                7.5f,
                7.5f,
                5.6f,
                6.2f,
                13.0f,
                1.5f,
                7.75f,
                14.5f,
                7.3f,
                1.5f,
                12.7f,
                9.7f,
                2.1f,
                2.0f,
                1.3f,
                1.1f,
                0.5f,
                {{{5.5f, 0.5f, 5.8f, 1.3f}, {9.5f, 0.5f, 5.8f, -1.3f}}}};
    const float s = static_cast<float>(size) / 32.0f;
    return {1.3f * s,
            15.0f * s,
            14.5f * s,
            10.5f * s,
            12.2f * s,
            26.2f * s,
            2.6f * s,
            15.5f * s,
            27.6f * s,
            13.6f * s,
            3.0f * s,
            25.6f * s,
            19.2f * s,
            4.0f * s,
            3.8f * s,
            2.6f * s,
            1.8f * s,
            0.7f * s,
            {{{9.8f * s, 3.5f * s, 11.2f * s, 1.5f * s},
              {15.0f * s, 1.2f * s, 11.2f * s, -1.5f * s},
              {20.2f * s, 3.5f * s, 11.2f * s, 1.5f * s}}}};
}

Canvas drawTeacup(int size, bool steaming)
{
    Canvas c(size, size);
    const CupGeometry g = cupGeometry(size);
    const float line = g.line;

    const Color outlineDark = rgb(92, 36, 24);
    const Color cupLight = rgb(236, 112, 70);
    const Color cupDark = rgb(186, 62, 38);
    const Color saucer = rgb(250, 244, 232);
    const Color saucerEdge = rgb(118, 92, 78);
    const Color teaColor = steaming ? rgb(196, 112, 34) : rgb(170, 98, 38);

    Sdf saucerShape = ellipse(g.saucerCx, g.saucerCy, g.saucerRx, g.saucerRy);
    c.fill(saucerShape, saucerEdge);
    c.fill([=](float x, float y) { return saucerShape(x, y) + line; }, saucer);

    // Cup: the lower part of an ellipse with a flat foot, and a ring handle on the right.
    const float rimY = g.rimY, footY = g.footY;
    Sdf bowl = intersect(ellipse(g.cx, rimY, g.bowlRx, g.bowlRy),
                         [=](float, float y) { return std::max(rimY - y, y - footY); });
    Sdf handleRing = outline(ellipse(g.handleCx, g.handleCy, g.handleRx, g.handleRy), g.handleWidth);
    c.fill(subtract(handleRing, bowl), outlineDark);
    c.fill([=](float x, float y) { return handleRing(x, y) + line * 0.75f; }, cupDark);
    c.fill(bowl, outlineDark);
    const float left = g.cx - g.bowlRx, span = 2 * g.bowlRx;
    c.fill([=](float x, float y) { return bowl(x, y) + line; },
           [=](float x, float y) {
               // Light from the upper left: a soft highlight band and a darker right side.
               float u = (x - left) / span;
               Color base = mix(cupLight, cupDark, smoothstep(0.35f, 1.0f, u));
               float highlight =
                   std::exp(-std::pow((u - 0.22f) / 0.09f, 2.0f)) * smoothstep(footY, rimY + (footY - rimY) * 0.3f, y);
               return mix(base, rgb(255, 214, 186), highlight * 0.7f);
           });

    // Rim and tea surface
    Sdf rim = ellipse(g.cx, rimY, g.bowlRx, g.rimRy);
    c.fill(rim, outlineDark);
    c.fill([=](float x, float y) { return rim(x, y) + line * 0.8f; }, rgb(255, 236, 222));
    const float teaRx = g.bowlRx - 1.9f * line, teaRy = g.rimRy - 0.9f * line;
    Sdf tea = ellipse(g.cx, rimY + 0.15f * line, teaRx, teaRy);
    c.fill(tea, [=](float x, float y) {
        float glint = std::exp(-std::pow((x - (g.cx - teaRx * 0.35f)) / (teaRx * 0.3f), 2.0f) -
                               std::pow((y - rimY) / (teaRy * 0.5f), 2.0f));
        return mix(teaColor, rgb(246, 196, 120), glint * 0.6f);
    });

    if (!steaming)
        return c;

    // Wisps, light with a darker fringe so that they read on light and dark task bars.
    const Color steamFringe = rgb(96, 110, 138, 0.7f);
    const Color steam = rgb(238, 244, 252);
    for (const auto &[x0, top, bottom, sway] : g.wisps) {
        const float mid = (top + bottom) / 2;
        Sdf wisp = unite(curveStroke({x0, bottom}, {x0 + sway, (bottom + mid) / 2}, {x0, mid}, g.steamWidth),
                         curveStroke({x0, mid}, {x0 - sway, (mid + top) / 2}, {x0, top}, g.steamWidth * 0.9f));
        const float fringe = g.steamFringe;
        c.fill([=](float x, float y) { return wisp(x, y) - fringe; },
               [=](float, float y) {
                   return withAlpha(steamFringe, steamFringe.a * (0.4f + 0.6f * smoothstep(top, mid, y)));
               });
        c.fill(wisp, [=](float, float y) { return withAlpha(steam, 0.6f + 0.4f * smoothstep(top, mid, y)); });
    }
    return c;
}

// ---------------------------------------------------------------------------------------------
// Layout backgrounds. The time display covers most of the upper part and the buttons the lower
// right, so the pictures keep their detail to the edges and stay calm behind the hour digits.

Canvas gradientBackground(Color top, Color bottom, std::uint32_t seed, float grain)
{
    Canvas c(backgroundWidth, backgroundHeight);
    for (int y = 0; y < backgroundHeight; ++y)
        for (int x = 0; x < backgroundWidth; ++x) {
            Color base = mix(top, bottom, static_cast<float>(y) / (backgroundHeight - 1));
            float n = fractalNoise(x / 40.0f, y / 30.0f, seed, 4) - 0.5f;
            c.set(x, y, {base.r + n * grain, base.g + n * grain, base.b + n * grain * 1.2f, 1});
        }
    return c;
}

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

Canvas winterBackground()
{
    Canvas c = gradientBackground(rgb(104, 134, 186), rgb(150, 174, 212), 11, 0.05f);
    // Snow drifts along the bottom, two layers for depth.
    auto drift = [](float base, float amplitude, float period, float phase) {
        return [=](float x, float y) {
            return base + amplitude * std::sin(x / period + phase) +
                   amplitude * 0.4f * std::sin(x / (period * 0.43f) + phase * 2) - y;
        };
    };
    c.fill(drift(137.0f, 3.5f, 23.0f, 0.6f),
           [](float, float y) { return mix(rgb(206, 218, 236), rgb(232, 238, 247), smoothstep(130, 148, y)); });
    c.fill(drift(142.5f, 2.5f, 17.0f, 2.2f),
           [](float, float y) { return mix(rgb(238, 243, 250), rgb(250, 252, 255), smoothstep(138, 148, y)); });

    // Flakes: a few crystals and many soft dots, fewer where the hour digits stand.
    Random random(160);
    for (int i = 0; i < 26; ++i) {
        float x = random.range(2, 213), y = random.range(2, 134);
        bool behindDigits = x < 84 && y > 88 && y < 142;
        float r = random.range(2.5f, 6.0f);
        if (behindDigits && random.uniform() < 0.7f)
            continue;
        c.fill(snowflakeShape(x, y, r, random.range(0, 1)), rgb(240, 246, 255, behindDigits ? 0.35f : 0.8f));
    }
    for (int i = 0; i < 140; ++i) {
        float x = random.range(0, 215), y = random.range(0, 140);
        float r = random.range(0.5f, 1.4f);
        c.fill(circle(x, y, r), rgb(250, 252, 255, random.range(0.35f, 0.85f)));
    }
    return c;
}

Canvas nightBackground()
{
    Canvas c = gradientBackground(rgb(14, 10, 58), rgb(42, 30, 120), 21, 0.04f);
    // Faint milky band across the sky
    for (int y = 0; y < backgroundHeight; ++y)
        for (int x = 0; x < backgroundWidth; ++x) {
            float d = std::abs((y - 20.0f) - (x * 0.45f)) / 28.0f;
            float glow = std::exp(-d * d) * fractalNoise(x / 18.0f, y / 12.0f, 22, 4);
            c.blend(x, y, rgb(150, 140, 230), glow * 0.22f);
        }
    Random random(162);
    for (int i = 0; i < 170; ++i) {
        float x = random.range(0, 215), y = random.range(0, 148);
        float brightness = random.range(0.25f, 1.0f);
        Color tint = mix(rgb(255, 246, 220), rgb(210, 220, 255), random.uniform());
        c.fill(circle(x, y, 0.35f + brightness * 0.5f), withAlpha(tint, brightness));
    }
    // A few sparkling stars with four rays
    for (int i = 0; i < 9; ++i) {
        float x = random.range(4, 211), y = random.range(4, 144);
        float r = random.range(2.5f, 4.5f);
        Color tint = rgb(255, 250, 230);
        c.fill(circle(x, y, r * 0.9f), withAlpha(tint, 0.10f));
        c.fill(unite(capsule({x - r, y}, {x + r, y}, 0.35f), capsule({x, y - r}, {x, y + r}, 0.35f)),
               withAlpha(tint, 0.8f));
        c.fill(circle(x, y, 0.9f), tint);
    }
    // A small crescent moon low in the strip below the buttons, where it stays in view.
    const float mx = 122, my = 142.5f, mr = 5.2f;
    c.fill(circle(mx, my, mr * 3.0f), [=](float x, float y) {
        float d = std::hypot(x - mx, y - my) / (mr * 3.0f);
        return rgb(200, 190, 255, 0.22f * (1 - d) * (1 - d));
    });
    Sdf crescent = subtract(circle(mx, my, mr), circle(mx + 2.4f, my - 1.6f, mr * 0.84f));
    c.fill(crescent, [=](float x, float y) {
        float t = smoothstep(my - mr, my + mr, y + (mx - x) * 0.3f);
        return mix(rgb(255, 248, 210), rgb(240, 218, 146), t);
    });
    return c;
}

Canvas dayBackground()
{
    Canvas c = gradientBackground(rgb(96, 168, 232), rgb(168, 214, 246), 31, 0.03f);
    // Puffy clouds: clusters of circles with a light top and a bluish underside.
    auto cloud = [&](float cx, float cy, float scale, float alpha) {
        Sdf body = ellipse(cx, cy + 2 * scale, 15 * scale, 5 * scale);
        body = unite(body, circle(cx - 7 * scale, cy, 6 * scale));
        body = unite(body, circle(cx + 1 * scale, cy - 3 * scale, 8 * scale));
        body = unite(body, circle(cx + 9 * scale, cy + 0.5f * scale, 5.5f * scale));
        Sdf flat = intersect(body, [=](float, float y) { return y - (cy + 5 * scale); });
        c.fill(flat, [=](float, float y) {
            float t = smoothstep(cy - 10 * scale, cy + 5 * scale, y);
            return withAlpha(mix(rgb(255, 255, 255), rgb(214, 230, 246), t), alpha);
        });
    };
    cloud(30, 16, 1.3f, 0.95f);
    cloud(186, 22, 1.1f, 0.9f);
    cloud(110, 8, 0.9f, 0.85f);
    cloud(200, 88, 0.8f, 0.85f);
    cloud(40, 146, 1.5f, 0.95f);
    cloud(150, 150, 1.9f, 0.95f);
    cloud(20, 84, 0.6f, 0.6f);
    // Light haze at the horizon
    for (int y = 120; y < backgroundHeight; ++y)
        for (int x = 0; x < backgroundWidth; ++x)
            c.blend(x, y, rgb(240, 248, 255), smoothstep(120, 148, static_cast<float>(y)) * 0.25f);
    return c;
}

Canvas summerBackground()
{
    Canvas c = gradientBackground(rgb(252, 182, 58), rgb(232, 104, 32), 41, 0.04f);
    // Sun in the upper left corner, its rays fanning over the picture.
    const float sx = 14, sy = 12;
    for (int y = 0; y < backgroundHeight; ++y)
        for (int x = 0; x < backgroundWidth; ++x) {
            float dx = x + 0.5f - sx, dy = y + 0.5f - sy;
            float angle = std::atan2(dy, dx);
            float distance = std::hypot(dx, dy);
            float ray = 0.5f + 0.5f * std::cos(angle * 18.0f);
            ray = smoothstep(0.55f, 0.9f, ray) * std::exp(-distance / 150.0f);
            c.blend(x, y, rgb(255, 236, 120), ray * 0.35f);
            c.blend(x, y, rgb(255, 240, 150), std::exp(-distance / 38.0f) * 0.45f);
        }
    c.fill(circle(sx, sy, 17), rgb(255, 226, 80, 0.45f));
    c.fill(circle(sx, sy, 13), [=](float x, float y) {
        float t = std::hypot(x - sx, y - sy) / 13.0f;
        return mix(rgb(255, 250, 200), rgb(255, 214, 40), t);
    });
    // Gentle waves at the bottom
    for (int band = 0; band < 3; ++band) {
        float base = 131.0f + static_cast<float>(band) * 6.0f;
        float phase = static_cast<float>(band) * 1.7f;
        Color tone = mix(rgb(240, 132, 44), rgb(204, 70, 30), static_cast<float>(band) / 2.0f);
        c.fill([=](float x, float y) { return base + 1.8f * std::sin(x / 9.0f + phase) - y; },
               [=](float, float) { return tone; });
        c.fill(
            [=](float x, float y) {
                float crest = base + 1.8f * std::sin(x / 9.0f + phase);
                return std::abs(y - crest) - 0.45f;
            },
            rgb(255, 214, 110, 0.7f));
    }
    return c;
}

Canvas plainBackground() { return Canvas(backgroundWidth, backgroundHeight, dialogGrey); }

// ---------------------------------------------------------------------------------------------
// The name bitmap: our own bold pixel letters, underlined.

struct Glyph {
    int top; // row of the first line in the text block (0 = cap height)
    std::vector<const char *> rows;
};

Canvas drawName()
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

    Canvas c(58, 17, dialogGrey);
    int total = -1;
    for (const Glyph *g : word)
        total += static_cast<int>(std::string(g->rows.front()).size()) + 1;
    const int left = (58 - total) / 2, top = 2;
    int x = left;
    for (const Glyph *g : word) {
        int width = static_cast<int>(std::string(g->rows.front()).size());
        for (std::size_t row = 0; row < g->rows.size(); ++row)
            for (int col = 0; col < width; ++col)
                if (g->rows[row][col] == '#')
                    c.set(x + col, top + g->top + static_cast<int>(row), rgb(0, 0, 0));
        x += width + 1;
    }
    for (int ux = left; ux < left + total; ++ux)
        c.set(ux, 14, rgb(0, 0, 0));
    return c;
}

// ---------------------------------------------------------------------------------------------
// Messenger service lamps: a dark housing with a yellow (busy) and a green (running) lamp.

Canvas drawLamp(bool yellowLit, bool greenLit)
{
    Canvas c(20, 42, dialogGrey);
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
    return c;
}

// ---------------------------------------------------------------------------------------------
// Sending animation: a letter flies across a white strip, leaving speed lines.

constexpr int clipWidth = 64;
constexpr int clipHeight = 32;
constexpr int clipFrames = 16;

void drawEnvelope(Canvas &c, float x, float y, float tilt)
{
    const float w = 22, h = 14;
    auto rotate = [=](float px, float py) {
        // Points relative to the envelope's centre, turned by the tilt.
        float cx = x + w / 2, cy = y + h / 2;
        float ca = std::cos(tilt), sa = std::sin(tilt);
        float dx = px - cx, dy = py - cy;
        return Vec2{cx + dx * ca + dy * sa, cy - dx * sa + dy * ca};
    };
    auto local = [=](Sdf shape) {
        return [=](float px, float py) {
            Vec2 p = rotate(px, py);
            return shape(p.x, p.y);
        };
    };
    Sdf paper = roundedBox(x, y, x + w, y + h, 1.5f);
    c.fill(local(paper), rgb(58, 84, 128));
    c.fill(local([=](float px, float py) { return paper(px, py) + 1.1f; }),
           [=](float, float py) { return mix(rgb(255, 255, 252), rgb(232, 236, 244), smoothstep(y, y + h, py)); });
    Sdf flap = unite(capsule({x + 1.2f, y + 1.2f}, {x + w / 2, y + h * 0.58f}, 0.55f),
                     capsule({x + w - 1.2f, y + 1.2f}, {x + w / 2, y + h * 0.58f}, 0.55f));
    c.fill(local(flap), rgb(58, 84, 128));
    c.fill(local(circle(x + w / 2, y + h * 0.58f, 2.3f)), rgb(206, 52, 40));
    c.fill(local(circle(x + w / 2 - 0.6f, y + h * 0.58f - 0.7f, 0.8f)), rgb(255, 170, 150, 0.8f));
}

std::vector<Canvas> drawAnimation()
{
    std::vector<Canvas> frames;
    const float travel = clipWidth + 34.0f;
    for (int f = 0; f < clipFrames; ++f) {
        Canvas c(clipWidth, clipHeight, rgb(255, 255, 255));
        float t = static_cast<float>(f) / clipFrames;
        float x = -24.0f + travel * t;
        float bob = std::sin(t * 2 * std::numbers::pi_v<float>) * 3.0f;
        float y = 9.0f + bob;
        float tilt = std::cos(t * 2 * std::numbers::pi_v<float>) * 0.12f;
        for (int line = 0; line < 3; ++line) {
            float ly = y + 3.5f + static_cast<float>(line) * 3.5f;
            float length = line == 1 ? 14.0f : 9.0f;
            float end = x - 2.0f - static_cast<float>(line % 2) * 2.0f;
            c.fill(capsule({end - length, ly}, {end, ly}, 0.7f),
                   [=](float px, float) { return rgb(120, 160, 220, 0.85f * smoothstep(end - length, end, px)); });
        }
        drawEnvelope(c, x, y, tilt);
        frames.push_back(std::move(c));
    }
    return frames;
}

// ---------------------------------------------------------------------------------------------
// Sounds: struck bells with inharmonic partials (the modes of a free bar, with a slightly
// detuned twin of the fundamental for a gentle shimmer).

std::vector<Partial> bellPartials(float ring)
{
    return {{1.0f, 1.0f, ring},
            {1.0031f, 0.22f, ring * 0.9f},
            {2.0f, 0.16f, ring * 0.55f},
            {2.756f, 0.24f, ring * 0.32f},
            {5.404f, 0.08f, ring * 0.14f},
            {8.933f, 0.03f, ring * 0.08f}};
}

} // namespace

Canvas teacupIcon(int size, bool steaming) { return drawTeacup(size, steaming); }

Canvas layoutBackground(int bitmapId)
{
    switch (bitmapId) {
    case 159:
        return dayBackground();
    case 160:
        return winterBackground();
    case 161:
        return summerBackground();
    case 162:
        return nightBackground();
    default:
        return plainBackground();
    }
}

Canvas nameBitmap() { return drawName(); }

Canvas serviceLamp(int bitmapId) { return drawLamp(bitmapId == 170, bitmapId == 171); }

std::vector<Canvas> sendingAnimation() { return drawAnimation(); }

Sound finishSound()
{
    // A rising major arpeggio that settles on the tonic, spread across the stereo field.
    Sound sound(2, 22050, 1.35f);
    const auto partials = bellPartials(1.5f);
    addBell(sound, {0.00f, 659.26f, 0.85f, -0.55f}, partials);
    addBell(sound, {0.15f, 783.99f, 0.85f, 0.55f}, partials);
    addBell(sound, {0.30f, 1046.50f, 1.0f, 0.0f}, partials);
    finishSound(sound, 0.7f, 0.18f);
    return sound;
}

Sound reminderSound()
{
    // A soft descending "ding-dong".
    Sound sound(1, 22050, 1.0f);
    const auto partials = bellPartials(1.1f);
    addBell(sound, {0.00f, 783.99f, 1.0f, 0.0f}, partials);
    addBell(sound, {0.26f, 659.26f, 0.9f, 0.0f}, partials);
    finishSound(sound, 0.6f, 0.15f);
    return sound;
}

std::vector<Asset> generateAssets()
{
    std::vector<Asset> assets;
    // Each size drawn for its own grid. The window's icon comes at every size Windows asks for from
    // 100 to 300 % display scaling (the small icon is 16 pixels at 100 %, the large one 32). The idle
    // icon shows only in the notification area, which asks for the small sizes (48 pixels at
    // 300 %): larger ones than 64 would only weigh on the program.
    std::vector<Canvas> running, idle;
    for (int size : {16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96})
        running.push_back(teacupIcon(size, true));
    for (int size : {16, 20, 24, 28, 32, 36, 40, 48, 64})
        idle.push_back(teacupIcon(size, false));
    assets.push_back({"icon128.ico", encodeIco(running)});
    assets.push_back({"icon151.ico", encodeIco(idle)});
    assets.push_back({"wave145.wav", encodeWav16(finishSound())});
    assets.push_back({"wave165.wav", encodeWav16(reminderSound())});
    for (int id : {159, 160, 161, 162, 166})
        assets.push_back({"bmp" + std::to_string(id) + ".bmp", encodeBmp24(layoutBackground(id))});
    assets.push_back({"bmp140.bmp", encodeBmp24(nameBitmap())});
    for (int id : {169, 170, 171})
        assets.push_back({"bmp" + std::to_string(id) + ".bmp", encodeBmp24(serviceLamp(id))});
    assets.push_back({"avi172.avi", encodeAvi(palettize(sendingAnimation(), rgb(255, 255, 255)), 80000)});
    return assets;
}

} // namespace assetgen
