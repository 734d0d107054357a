// The generated files as Windows reads them: headers, sizes, and a few properties a person would
// notice (clipping, clicks, a wrong lamp, a picture that changes from build to build).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/assets.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

unsigned u16(const Bytes &b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
unsigned u32(const Bytes &b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }
std::int32_t s32(const Bytes &b, std::size_t at) { return static_cast<std::int32_t>(u32(b, at)); }
std::string tag(const Bytes &b, std::size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

const std::map<std::string, Bytes> &assets()
{
    static const std::map<std::string, Bytes> all = [] {
        std::map<std::string, Bytes> m;
        for (auto &a : assetgen::generateAssets())
            m[a.fileName] = std::move(a.bytes);
        return m;
    }();
    return all;
}

const Bytes &asset(const std::string &name)
{
    auto it = assets().find(name);
    if (it == assets().end())
        throw std::runtime_error("missing " + name);
    return it->second;
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb &) const = default;
};

// A pixel of a 24-bit bottom-up BMP, counted from the top.
Rgb bmpPixel(const Bytes &bmp, int x, int y)
{
    const int w = s32(bmp, 18), h = s32(bmp, 22);
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    const std::size_t at =
        u32(bmp, 10) + stride * static_cast<std::size_t>(h - 1 - y) + static_cast<std::size_t>(x) * 3;
    return {bmp.at(at + 2), bmp.at(at + 1), bmp.at(at)};
}

int brightness(Rgb c) { return c.r + c.g + c.b; }

} // namespace

TEST(Assets, WritesEveryFileOnceAndTheSameEveryTime)
{
    const std::set<std::string> expected = {"icon128.ico", "icon151.ico", "wave145.wav", "wave165.wav", "bmp159.bmp",
                                            "bmp160.bmp",  "bmp161.bmp",  "bmp162.bmp",  "bmp166.bmp",  "bmp140.bmp",
                                            "bmp169.bmp",  "bmp170.bmp",  "bmp171.bmp",  "avi172.avi"};
    auto first = assetgen::generateAssets();
    auto second = assetgen::generateAssets();
    std::set<std::string> names;
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_TRUE(names.insert(first[i].fileName).second) << first[i].fileName;
        EXPECT_EQ(first[i].fileName, second[i].fileName);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].fileName << " differs between runs";
    }
    EXPECT_EQ(names, expected);
}

TEST(Assets, BitmapsHaveTheirSizesAndTwentyFourBits)
{
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"bmp159.bmp", {215, 148}}, {"bmp160.bmp", {215, 148}}, {"bmp161.bmp", {215, 148}},
        {"bmp162.bmp", {215, 148}}, {"bmp166.bmp", {215, 148}}, {"bmp140.bmp", {58, 17}},
        {"bmp169.bmp", {20, 42}},   {"bmp170.bmp", {20, 42}},   {"bmp171.bmp", {20, 42}}};
    for (const auto &[name, size] : sizes) {
        SCOPED_TRACE(name);
        const Bytes &bmp = asset(name);
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(tag(bmp, 0).substr(0, 2), "BM");
        EXPECT_EQ(u32(bmp, 2), bmp.size());
        EXPECT_EQ(u32(bmp, 10), 54u);
        EXPECT_EQ(u32(bmp, 14), 40u);
        EXPECT_EQ(s32(bmp, 18), size.first);
        EXPECT_EQ(s32(bmp, 22), size.second); // positive: bottom-up
        EXPECT_EQ(u16(bmp, 26), 1u);
        EXPECT_EQ(u16(bmp, 28), 24u);
        EXPECT_EQ(u32(bmp, 30), 0u);
        const unsigned stride = (static_cast<unsigned>(size.first) * 3 + 3) & ~3u;
        EXPECT_EQ(bmp.size(), 54u + stride * static_cast<unsigned>(size.second));
    }
}

TEST(Assets, PlainBackgroundIsExactlyTheDialogGrey)
{
    const Bytes &bmp = asset("bmp166.bmp");
    for (int y = 0; y < 148; ++y)
        for (int x = 0; x < 215; ++x)
            ASSERT_EQ(bmpPixel(bmp, x, y), (Rgb{212, 208, 200})) << x << "," << y;
}

TEST(Assets, BackgroundsCarryTheirLayoutsColours)
{
    // Mean colour of each picture against the layout's display background: the pictures are
    // chosen by id, so a mix-up shows here.
    const std::map<std::string, Rgb> tone = {{"bmp159.bmp", {129, 192, 240}},
                                             {"bmp160.bmp", {119, 150, 199}},
                                             {"bmp161.bmp", {230, 109, 29}},
                                             {"bmp162.bmp", {30, 18, 108}}};
    for (const auto &[name, wanted] : tone) {
        const Bytes &bmp = asset(name);
        long r = 0, g = 0, b = 0;
        for (int y = 0; y < 148; ++y)
            for (int x = 0; x < 215; ++x) {
                Rgb p = bmpPixel(bmp, x, y);
                r += p.r;
                g += p.g;
                b += p.b;
            }
        const long n = 215 * 148;
        Rgb mean{static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
        for (const auto &[other, colour] : tone) {
            auto distance = [&](Rgb c) {
                return std::abs(c.r - mean.r) + std::abs(c.g - mean.g) + std::abs(c.b - mean.b);
            };
            if (other != name) {
                EXPECT_LT(distance(wanted), distance(colour)) << name << " looks more like " << other;
            }
        }
    }
}

TEST(Assets, NameBitmapIsBlackOnGrey)
{
    const Bytes &bmp = asset("bmp140.bmp");
    EXPECT_EQ(bmpPixel(bmp, 0, 0), (Rgb{212, 208, 200}));
    EXPECT_EQ(bmpPixel(bmp, 57, 16), (Rgb{212, 208, 200}));
    int black = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 58; ++x)
            black += bmpPixel(bmp, x, y) == Rgb{0, 0, 0};
    EXPECT_GT(black, 150);
}

TEST(Assets, LampsLightTheRightLamp)
{
    // Yellow lamp above, green below.
    const Bytes &stopped = asset("bmp169.bmp"), &busy = asset("bmp170.bmp"), &running = asset("bmp171.bmp");
    const Rgb stoppedYellow = bmpPixel(stopped, 10, 13), stoppedGreen = bmpPixel(stopped, 10, 30);
    const Rgb busyYellow = bmpPixel(busy, 10, 13), runningGreen = bmpPixel(running, 10, 30);
    EXPECT_GT(brightness(busyYellow), brightness(stoppedYellow) + 150);
    EXPECT_GT(busyYellow.r, busyYellow.b + 100);
    EXPECT_EQ(bmpPixel(busy, 10, 30), stoppedGreen);
    EXPECT_GT(brightness(runningGreen), brightness(stoppedGreen) + 150);
    EXPECT_GT(runningGreen.g, runningGreen.r + 50);
    EXPECT_EQ(bmpPixel(running, 10, 13), stoppedYellow);
}

TEST(Assets, IconsHoldAnImageWithMaskForEverySizeTheDisplayScalingsAskFor)
{
    // The window's icon at the small and large sizes from 100 to 300 %; the notification area's
    // idle icon at the small ones.
    const std::set<unsigned> windowSizes{16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96};
    const std::set<unsigned> idleSizes{16, 20, 24, 28, 32, 36, 40, 48, 64};
    for (const auto &[name, expected] : {std::pair{"icon128.ico", windowSizes}, std::pair{"icon151.ico", idleSizes}}) {
        SCOPED_TRACE(name);
        const Bytes &ico = asset(name);
        const std::size_t count = expected.size();
        ASSERT_GE(ico.size(), 6u + count * 16);
        EXPECT_EQ(u16(ico, 0), 0u);
        EXPECT_EQ(u16(ico, 2), 1u);
        ASSERT_EQ(u16(ico, 4), count);
        std::set<unsigned> sizes;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = 6 + 16 * i;
            const unsigned size = ico[entry];
            sizes.insert(size);
            EXPECT_EQ(ico[entry + 1], size);
            EXPECT_EQ(u16(ico, entry + 6), 32u);
            const unsigned bytes = u32(ico, entry + 8), at = u32(ico, entry + 12);
            const unsigned maskStride = ((size + 31) / 32) * 4;
            ASSERT_EQ(bytes, 40 + size * size * 4 + maskStride * size);
            ASSERT_LE(at + bytes, ico.size());
            EXPECT_EQ(u32(ico, at), 40u);
            EXPECT_EQ(s32(ico, at + 4), static_cast<std::int32_t>(size));
            EXPECT_EQ(s32(ico, at + 8), static_cast<std::int32_t>(2 * size));
            EXPECT_EQ(u16(ico, at + 14), 32u);
            // The mask hides exactly the pixels that are mostly transparent.
            int opaque = 0;
            for (unsigned y = 0; y < size; ++y)
                for (unsigned x = 0; x < size; ++x) {
                    const unsigned alpha = ico[at + 40 + (y * size + x) * 4 + 3];
                    const std::uint8_t maskByte = ico[at + 40 + size * size * 4 + y * maskStride + x / 8];
                    const bool masked = maskByte & (0x80 >> (x % 8));
                    EXPECT_EQ(masked, alpha < 128) << x << "," << y;
                    opaque += alpha >= 128;
                }
            EXPECT_GT(opaque, static_cast<int>(size * size / 4));
            // Corners stay see-through
            EXPECT_EQ(ico[at + 40 + 3], 0u);
            EXPECT_EQ(ico[at + 40 + (size * size - 1) * 4 + 3], 0u);
        }
        EXPECT_EQ(sizes, expected);
    }
}

TEST(Assets, RunningIconSteamsAndIdleIconDoesNot)
{
    // Each grid: the 16-pixel one, the bolder one up to 24 pixels and the finer one from 28.
    for (int size : {16, 20, 24, 28, 32, 64, 96}) {
        auto steamPixels = [size](const assetgen::Canvas &c) {
            int n = 0;
            for (int y = 0; y < size / 4; ++y)
                for (int x = 0; x < size; ++x)
                    n += c.pixel(x, y).a > 0.3f;
            return n;
        };
        EXPECT_GT(steamPixels(assetgen::teacupIcon(size, true)), size / 2);
        EXPECT_EQ(steamPixels(assetgen::teacupIcon(size, false)), 0);
    }
}

namespace {

struct Wav {
    unsigned format, channels, rate, bits, blockAlign, byteRate;
    std::vector<std::int16_t> samples;
};

Wav parseWav(const Bytes &b)
{
    Wav w{};
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(u32(b, 4), b.size() - 8);
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(tag(b, 12), "fmt ");
    EXPECT_EQ(u32(b, 16), 16u);
    w.format = u16(b, 20);
    w.channels = u16(b, 22);
    w.rate = u32(b, 24);
    w.byteRate = u32(b, 28);
    w.blockAlign = u16(b, 32);
    w.bits = u16(b, 34);
    EXPECT_EQ(tag(b, 36), "data");
    const unsigned size = u32(b, 40);
    EXPECT_EQ(44u + size, b.size());
    for (std::size_t i = 44; i + 1 < 44u + size && i + 1 < b.size(); i += 2)
        w.samples.push_back(static_cast<std::int16_t>(u16(b, i)));
    return w;
}

} // namespace

TEST(Assets, SoundsHaveTheirFormatsAndLengths)
{
    const Wav finish = parseWav(asset("wave145.wav"));
    EXPECT_EQ(finish.format, 1u);
    EXPECT_EQ(finish.channels, 2u);
    EXPECT_EQ(finish.rate, 22050u);
    EXPECT_EQ(finish.bits, 16u);
    EXPECT_EQ(finish.blockAlign, 4u);
    EXPECT_EQ(finish.byteRate, 22050u * 4);
    EXPECT_NEAR(static_cast<double>(finish.samples.size()) / 2 / 22050, 1.35, 0.02);

    const Wav reminder = parseWav(asset("wave165.wav"));
    EXPECT_EQ(reminder.format, 1u);
    EXPECT_EQ(reminder.channels, 1u);
    EXPECT_EQ(reminder.rate, 22050u);
    EXPECT_EQ(reminder.bits, 16u);
    EXPECT_EQ(reminder.blockAlign, 2u);
    EXPECT_EQ(reminder.byteRate, 22050u * 2);
    EXPECT_NEAR(static_cast<double>(reminder.samples.size()) / 22050, 1.0, 0.02);
}

TEST(Assets, SoundsNeitherClipNorClick)
{
    for (const std::string name : {"wave145.wav", "wave165.wav"}) {
        SCOPED_TRACE(name);
        const Wav w = parseWav(asset(name));
        const std::size_t ch = w.channels;
        ASSERT_GT(w.samples.size(), 4410u * ch);
        int peak = 0;
        for (std::int16_t s : w.samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_LT(peak, 32767 * 0.9);
        EXPECT_GT(peak, 32767 * 0.3);
        // Starts from silence, rises over a few milliseconds, and ends at silence.
        for (std::size_t c = 0; c < ch; ++c) {
            EXPECT_EQ(w.samples[c], 0);
            EXPECT_EQ(w.samples[w.samples.size() - ch + c], 0);
        }
        for (std::size_t i = 0; i < 11 * ch; ++i) // the first half millisecond
            EXPECT_LT(std::abs(w.samples[i]), 600) << i;
        for (std::size_t i = w.samples.size() - 441 * ch; i < w.samples.size(); ++i) // the last 20 ms
            EXPECT_LT(std::abs(w.samples[i]), 330) << i;
        // No step between neighbouring samples larger than the bells' highest partial allows.
        for (std::size_t i = ch; i < w.samples.size(); ++i)
            ASSERT_LT(std::abs(w.samples[i] - w.samples[i - ch]), 16000) << i;
    }
}

TEST(Assets, AnimationIsAnUncompressedSilentAvi)
{
    const Bytes &avi = asset("avi172.avi");
    ASSERT_GT(avi.size(), 12u);
    EXPECT_EQ(tag(avi, 0), "RIFF");
    EXPECT_EQ(u32(avi, 4), avi.size() - 8);
    EXPECT_EQ(tag(avi, 8), "AVI ");

    // Walk the chunks, descending into lists.
    std::map<std::string, std::vector<std::size_t>> found; // chunk id -> data offsets
    std::size_t moviTag = 0;
    std::vector<std::size_t> frameChunks;
    auto walk = [&](auto &self, std::size_t from, std::size_t to) -> void {
        while (from + 8 <= to) {
            const std::string id = tag(avi, from);
            const std::size_t size = u32(avi, from + 4);
            ASSERT_LE(from + 8 + size, to) << id;
            if (id == "LIST") {
                const std::string kind = tag(avi, from + 8);
                found[kind].push_back(from + 12);
                if (kind == "movi")
                    moviTag = from + 8;
                self(self, from + 12, from + 8 + size);
            } else {
                found[id].push_back(from + 8);
                if (id == "00db")
                    frameChunks.push_back(from);
            }
            from += 8 + size + (size & 1);
        }
    };
    walk(walk, 12, avi.size());
    for (const char *id : {"hdrl", "avih", "strl", "strh", "strf", "movi", "idx1"})
        ASSERT_EQ(found[id].size(), 1u) << id;

    const std::size_t avih = found["avih"][0];
    const unsigned frames = u32(avi, avih + 16), width = u32(avi, avih + 32), height = u32(avi, avih + 36);
    EXPECT_GE(frames, 8u);
    EXPECT_LE(frames, 16u);
    EXPECT_EQ(u32(avi, avih + 24), 1u); // one stream: no sound
    EXPECT_GT(u32(avi, avih), 0u);

    const std::size_t strh = found["strh"][0];
    EXPECT_EQ(tag(avi, strh), "vids");
    EXPECT_EQ(tag(avi, strh + 4), "DIB ");
    EXPECT_EQ(u32(avi, strh + 32), frames);

    const std::size_t strf = found["strf"][0];
    EXPECT_EQ(s32(avi, strf + 4), static_cast<std::int32_t>(width));
    EXPECT_EQ(s32(avi, strf + 8), static_cast<std::int32_t>(height));
    EXPECT_EQ(u16(avi, strf + 14), 8u);
    EXPECT_EQ(u32(avi, strf + 16), 0u); // BI_RGB

    const unsigned frameSize = ((width + 3) & ~3u) * height;
    ASSERT_EQ(frameChunks.size(), frames);
    std::set<Bytes> distinct;
    for (std::size_t at : frameChunks) {
        EXPECT_EQ(u32(avi, at + 4), frameSize);
        distinct.insert(Bytes(avi.begin() + at + 8, avi.begin() + at + 8 + frameSize));
    }
    EXPECT_GE(distinct.size(), frames - 1) << "the frames should move";

    // The index points at the frame chunks, counted from the 'movi' tag.
    const std::size_t idx1 = found["idx1"][0];
    ASSERT_EQ(u32(avi, idx1 - 4), frames * 16);
    for (unsigned i = 0; i < frames; ++i) {
        const std::size_t entry = idx1 + 16 * i;
        EXPECT_EQ(tag(avi, entry), "00db");
        EXPECT_EQ(u32(avi, entry + 4) & 0x10, 0x10u);
        EXPECT_EQ(moviTag + u32(avi, entry + 8), frameChunks[i]);
        EXPECT_EQ(u32(avi, entry + 12), frameSize);
    }
}
