#include "tools/assets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "pictures/pictures.h"
#include "res/resource.h"
#include "tools/avi.h"
#include "tools/ico.h"

namespace assetgen {

namespace {

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

// The pictures the program can also draw at other sizes, at their design size.
Canvas designedPicture(int bitmapId)
{
    const pictures::Size size = pictures::designSize(bitmapId);
    return pictures::drawPicture(bitmapId, size.width, size.height, 0, size.height);
}

Canvas layoutBackground(int bitmapId)
{
    return designedPicture(pictures::designSize(bitmapId).width ? bitmapId : IDB_PLAIN);
}

Canvas nameBitmap() { return designedPicture(IDB_ABOUT_NAME); }

Canvas serviceLamp(int bitmapId) { return designedPicture(bitmapId); }

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
