// The texture surface and the generated button faces.
#include "skin/face_generator.h"
#include "skin/random_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

using skin::MakeRgb;
using skin::TextureSurface;

TEST(TextureSurfaceTest, CreateRoundsTheDepthAndSizesStrideAndPalette)
{
    struct Case {
        int width, height, bitsRequested;
        int depth, stride, paletteSize;
    };
    const Case cases[] = {
        {10, 5, 3, 4, 8, 16},   {10, 5, 16, 24, 32, 0}, {10, 5, 0, 1, 4, 2},   {33, 2, 1, 1, 8, 2},
        {10, 5, 8, 8, 12, 256}, {1, 1, 8, 8, 4, 256},   {7, 3, 24, 24, 24, 0}, {10, 5, 99, 24, 32, 0},
    };
    for (const Case &c : cases) {
        TextureSurface surface;
        std::uint8_t *block = surface.Create(c.width, c.height, c.bitsRequested);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(surface.BitsPerPixel(), c.depth) << c.width << "x" << c.height << " at " << c.bitsRequested;
        EXPECT_EQ(surface.Stride(), c.stride);
        EXPECT_EQ(surface.PaletteSize(), c.paletteSize);
        const skin::DibHeader &h = surface.Header();
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.compression, 0u);
        EXPECT_EQ(h.sizeImage, static_cast<std::uint32_t>(c.stride * c.height));
        EXPECT_EQ(0, std::memcmp(block, &h, 40)) << "the block starts with the header";
        EXPECT_EQ(surface.Bits(), block + 40 + 4 * c.paletteSize) << "the rows follow the palette";
    }
}

TEST(TextureSurfaceTest, BadSizesGiveAnEmptySurfaceThatDrawsNothing)
{
    TextureSurface surface;
    EXPECT_FALSE(surface.IsValid());
    EXPECT_EQ(surface.Bits(), nullptr);
    int context = 0;
    EXPECT_FALSE(surface.Draw(&context, 0, 0));
    for (const auto &[w, h] : {std::pair{0, 5}, {5, -1}, {0x7FFFFFFF, 0x7FFFFFFF}, {0x40000000, 2}}) {
        ASSERT_NE(surface.Create(4, 4, 8), nullptr);
        EXPECT_EQ(surface.Create(w, h, 24), nullptr) << w << "x" << h;
        EXPECT_FALSE(surface.IsValid()) << "the old block is gone";
    }
    surface.SetPaletteEntry(0, 1, 2, 3); // no palette: ignored
    surface.TintPalette(MakeRgb(1, 2, 3), 50);
}

TEST(TextureSurfaceTest, PaletteEntriesTintAndCopies)
{
    TextureSurface surface;
    ASSERT_NE(surface.Create(3, 2, 4), nullptr);
    for (int i = 0; i < 16; ++i)
        surface.SetPaletteEntry(i, i * 10, 100, 200);
    surface.SetPaletteEntry(16, 1, 1, 1);      // beyond the 16 entries
    surface.SetPaletteEntry(256 + 3, 7, 8, 9); // only the low 8 bits count: entry 3
    EXPECT_EQ(surface.PaletteEntry(3), MakeRgb(7, 8, 9));
    EXPECT_EQ(surface.PaletteEntry(15), MakeRgb(150, 100, 200));
    EXPECT_EQ(surface.Block()[40 + 4 * 15 + 0], 200) << "stored blue, green, red, 0";
    EXPECT_EQ(surface.Block()[40 + 4 * 15 + 3], 0);

    std::vector<skin::Rgb> before;
    for (int i = 0; i < 16; ++i)
        before.push_back(surface.PaletteEntry(i));
    surface.TintPalette(MakeRgb(255, 0, 0), 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(surface.PaletteEntry(i), before[i]);
    surface.TintPalette(MakeRgb(0, 0, 100), 30); // (100*30 + 200*70) / 100 = 170 blue
    EXPECT_EQ(surface.PaletteEntry(15), MakeRgb(105, 70, 170));
    surface.TintPalette(MakeRgb(11, 22, 33), 250);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(surface.PaletteEntry(i), MakeRgb(11, 22, 33));

    TextureSurface copy;
    ASSERT_NE(copy.Create(50, 50, 24), nullptr);
    surface.Bits()[0] = 0x5A;
    copy.CopyFrom(surface);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.BitsPerPixel(), 4);
    EXPECT_EQ(copy.PaletteEntry(7), MakeRgb(11, 22, 33));
    EXPECT_EQ(copy.Bits()[0], 0x5A);
    EXPECT_NE(copy.Bits(), surface.Bits()) << "a copy owns its block";
    copy.CopyFrom(TextureSurface{});
    EXPECT_FALSE(copy.IsValid());
}

TEST(TextureSurfaceTest, EntriesPastThePaletteChangeNothing)
{
    // Each index lies past the palette once its low 8 bits are taken; the first ones past the
    // end would land in the first pixel bytes.
    struct Case {
        int depth;
        std::vector<int> indices;
    };
    const Case cases[] = {{1, {2, 3, 255, -1, 256 + 2}}, {4, {16, 17, 255, -1, 256 + 16}}, {24, {0, 1, 255, -1, 256}}};
    for (const Case &c : cases) {
        TextureSurface surface;
        ASSERT_NE(surface.Create(5, 3, c.depth), nullptr);
        for (int i = 0; i < surface.PaletteSize(); ++i)
            surface.SetPaletteEntry(i, i, 2 * i, 3 * i);
        std::memset(surface.Bits(), 0xA5, surface.Header().sizeImage);
        const std::size_t blockSize = 40 + 4 * surface.PaletteSize() + surface.Header().sizeImage;
        const std::vector<std::uint8_t> before(surface.Block(), surface.Block() + blockSize);
        for (int index : c.indices) {
            surface.SetPaletteEntry(index, 0x11, 0x22, 0x33);
            EXPECT_TRUE(std::equal(before.begin(), before.end(), surface.Block()))
                << "entry " << index << " of a " << c.depth << "-bit surface";
        }
    }
}

TEST(TextureSurfaceTest, DrawGoesThroughTheInstalledFunction)
{
    struct Call {
        const TextureSurface *surface = nullptr;
        void *context = nullptr;
        int x = 0, y = 0;
    };
    static Call seen;
    const auto previous = TextureSurface::SetDrawFunction([](const TextureSurface &s, void *c, int x, int y) {
        seen = {&s, c, x, y};
        return true;
    });
    TextureSurface surface;
    int context = 0;
    EXPECT_FALSE(surface.Draw(&context, 1, 2)) << "empty";
    ASSERT_NE(surface.Create(2, 2, 8), nullptr);
    EXPECT_FALSE(surface.Draw(nullptr, 1, 2)) << "no context";
    EXPECT_EQ(seen.surface, nullptr);
    EXPECT_TRUE(surface.Draw(&context, 3, 4));
    EXPECT_EQ(seen.surface, &surface);
    EXPECT_EQ(seen.context, &context);
    EXPECT_EQ(seen.x, 3);
    EXPECT_EQ(seen.y, 4);
    TextureSurface::SetDrawFunction(previous);
}

// ---- faces ----

const skin::SystemColours kColours{MakeRgb(128, 128, 128), MakeRgb(212, 208, 200), MakeRgb(255, 255, 255)};

skin::FaceRequest Request(int w, int h, int noise, skin::Rgb tint = MakeRgb(0, 0, 0), int tintPercent = 0)
{
    return {w, h, 4, 1, noise, 20, tintPercent, tint, 1};
}

TEST(FaceGeneratorTest, PaletteRunsFromShadowThroughFaceToHighlight)
{
    TextureSurface surface;
    ASSERT_NE(surface.Create(1, 1, 8), nullptr);
    skin::FillGradientPalette(surface, {MakeRgb(0, 64, 128), MakeRgb(128, 128, 128), MakeRgb(255, 192, 0)});
    EXPECT_EQ(surface.PaletteEntry(0), MakeRgb(0, 64, 128));
    EXPECT_EQ(surface.PaletteEntry(64), MakeRgb(64, 96, 128));
    EXPECT_EQ(surface.PaletteEntry(127), MakeRgb(127, 127, 128));
    EXPECT_EQ(surface.PaletteEntry(128), MakeRgb(128, 128, 127)) << "the second half starts at 127 + 1";
    EXPECT_EQ(surface.PaletteEntry(191), MakeRgb(191, 160, 64));
    EXPECT_EQ(surface.PaletteEntry(255), MakeRgb(255, 192, 0));
}

TEST(FaceGeneratorTest, GrainIsScaledToPlusMinusNoise)
{
    EXPECT_EQ(skin::GrainDivisor(0), 32767);
    EXPECT_EQ(skin::GrainDivisor(8), 2047);
    EXPECT_EQ(skin::GrainDivisor(255), 64);
    // Noise 0: the grain is 0, or 1 at the top of the generator's range.
    for (const auto &[randomValue, expected] : {std::pair{0, 120}, {32766, 120}, {32767, 121}}) {
        skin::FaceSurfaces faces;
        skin::GenerateFaceSurfaces(faces, Request(50, 20, 0), kColours, [v = randomValue] { return v; });
        // Noise 0: F/2 = 127; top-left stored row 19: 0 + 127 + 19 * 127 / 20 = 247.
        EXPECT_EQ(faces.normalFace.PixelAt(0, 19), 247 + expected - 120) << randomValue;
        EXPECT_EQ(faces.normalFace.PixelAt(49, 0), 2 + expected - 120) << "127 * 1 / 50 at the bottom right";
    }
    // Noise 8 spans -8 ... +8 around the gradient.
    for (const auto &[randomValue, grain] : {std::pair{0, -8}, {16376, 0}, {16375, -1}, {32767, 8}}) {
        skin::FaceSurfaces faces;
        skin::GenerateFaceSurfaces(faces, Request(50, 20, 8), kColours, [v = randomValue] { return v; });
        EXPECT_EQ(faces.normalFace.PixelAt(0, 19), 240 + grain) << randomValue;
    }
}

TEST(FaceGeneratorTest, FiftyByTwentyButtonIsBrightTopLeftAndShadedBottomRight)
{
    EXPECT_EQ(skin::GradientValue(0, 19, 50, 20, 8), 240);
    EXPECT_EQ(skin::GradientValue(49, 0, 50, 20, 8), 10);
    EXPECT_EQ(skin::GradientValue(25, 10, 50, 20, 8), 8 + 59 + 59);
    // A large noise leaves the byte range: stored modulo 256.
    skin::FaceSurfaces faces;
    skin::GenerateFaceSurfaces(faces, Request(4, 4, 200 + 256), kColours, [] { return 0; });
    const int value = skin::GradientValue(0, 0, 4, 4, 200) - 200;
    EXPECT_EQ(faces.normalFace.PixelAt(0, 0), static_cast<std::uint8_t>(value)) << "noise counts as a byte";

    // Every pixel of a real run lies within the grain of its gradient value.
    skin::RandomGenerator random(7);
    skin::GenerateFaceSurfaces(faces, Request(50, 20, 8), kColours, [&] { return random.Next(); });
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 50; ++x) {
            const int difference = faces.normalFace.PixelAt(x, y) - skin::GradientValue(x, y, 50, 20, 8);
            ASSERT_LE(std::abs(difference), 8) << x << "," << y;
        }
}

TEST(FaceGeneratorTest, FacesShareThePixelsWithTintedPalettes)
{
    skin::FaceSurfaces faces;
    const skin::Rgb tint = MakeRgb(30, 18, 108);
    skin::RandomGenerator random(3);
    skin::GenerateFaceSurfaces(faces, {50, 20, 4, 1, 8, 20, 50, tint, 1}, kColours, [&] { return random.Next(); });
    for (const TextureSurface *face : {&faces.normalFace, &faces.hoverFace, &faces.pressedFace, &faces.disabledFace}) {
        ASSERT_TRUE(face->IsValid());
        EXPECT_EQ(face->Width(), 50);
        EXPECT_EQ(face->Height(), 20);
        EXPECT_EQ(face->BitsPerPixel(), 8);
        EXPECT_EQ(0, std::memcmp(face->Bits(), faces.normalFace.Bits(), faces.normalFace.Header().sizeImage));
    }
    // Normal: half way from the system palette to the tint. Entry 0 (shadow 128,128,128).
    EXPECT_EQ(faces.normalFace.PaletteEntry(0), MakeRgb(79, 73, 118));
    EXPECT_EQ(faces.disabledFace.PaletteEntry(0), MakeRgb(79, 73, 118));
    // Hover: a further 20 % towards the highlight: (255*20 + 79*80) / 100 = 114 ...
    EXPECT_EQ(faces.hoverFace.PaletteEntry(0), MakeRgb(114, 109, 145));
    EXPECT_EQ(faces.pressedFace.PaletteEntry(0), faces.hoverFace.PaletteEntry(0));
    EXPECT_EQ(faces.pressedFace.PaletteEntry(255), faces.hoverFace.PaletteEntry(255));
    // The focus bars keep the system palette.
    EXPECT_EQ(faces.focusBarH.PaletteEntry(0), MakeRgb(128, 128, 128));
    EXPECT_EQ(faces.focusBarV.PaletteEntry(255), MakeRgb(255, 255, 255));
}

TEST(FaceGeneratorTest, FocusBarsAreDottedAndNeverNarrowerThanOnePixel)
{
    // At 200 % (frame 8, line 2) the button is twice as large; bars and dots are two pixels.
    struct Case {
        int w, h, frame, line, barWidth, barHeight;
    };
    for (const Case &c : {Case{50, 20, 4, 1, 41, 12}, Case{9, 9, 4, 1, 1, 1}, Case{10, 8, 4, 1, 1, 1},
                          Case{11, 10, 4, 1, 2, 2}, Case{100, 40, 8, 2, 81, 23}, Case{63, 25, 5, 1, 52, 15}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " line " << c.line);
        skin::FaceSurfaces faces;
        skin::FaceRequest request = Request(c.w, c.h, 8);
        request.frameWidth = c.frame;
        request.lineWidth = c.line;
        skin::GenerateFaceSurfaces(faces, request, kColours, [] { return 0; });
        ASSERT_TRUE(faces.focusBarH.IsValid());
        EXPECT_EQ(faces.normalFace.Width(), c.w) << "the face has the button's pixel size";
        EXPECT_EQ(faces.normalFace.Height(), c.h);
        EXPECT_EQ(faces.focusBarH.Width(), c.barWidth);
        EXPECT_EQ(faces.focusBarH.Height(), c.line);
        EXPECT_EQ(faces.focusBarV.Width(), c.line);
        EXPECT_EQ(faces.focusBarV.Height(), c.barHeight);
        for (int across = 0; across < c.line; ++across) {
            for (int k = 0; k < c.barWidth; ++k)
                EXPECT_EQ(faces.focusBarH.PixelAt(k, across), k / c.line % 2 ? 255 : 0) << k;
            for (int k = 0; k < c.barHeight; ++k)
                EXPECT_EQ(faces.focusBarV.PixelAt(across, k), k / c.line % 2 ? 255 : 0) << k;
        }
    }
    skin::FaceSurfaces faces;
    skin::GenerateFaceSurfaces(faces, Request(0, 20, 8), kColours, [] { return 0; });
    EXPECT_FALSE(faces.normalFace.IsValid()) << "a button without width has no faces";
    EXPECT_FALSE(faces.hoverFace.IsValid());
}

TEST(RandomGeneratorTest, SpreadsOverTheRangeAndSeedsDiffer)
{
    skin::RandomGenerator a(1000), b(1001), c(1000);
    int counts[4] = {};
    int low = 32767, high = 0;
    std::set<int> firstValues;
    bool same = true;
    for (int i = 0; i < 40000; ++i) {
        const int v = a.Next();
        same = same && v == c.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        low = std::min(low, v);
        high = std::max(high, v);
        ++counts[v % 4];
    }
    EXPECT_TRUE(same) << "one seed, one sequence";
    EXPECT_LT(low, 50);
    EXPECT_GT(high, 32700);
    for (int count : counts)
        EXPECT_NEAR(count, 10000, 400);
    for (std::uint32_t seed = 0; seed < 64; ++seed)
        firstValues.insert(skin::RandomGenerator(seed).Next() % 4);
    EXPECT_EQ(firstValues.size(), 4u) << "neighbouring seeds pick different layouts";
    EXPECT_NE(a.Next(), b.Next());
}

} // namespace
