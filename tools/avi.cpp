#include "tools/avi.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/bytes.h"

namespace assetgen {

namespace {

struct Rgb8 {
    int r, g, b;
};

Rgb8 toRgb8(Color c, Color backdrop)
{
    Color shown = mix(backdrop, withAlpha(c, 1), c.a);
    auto ch = [](float v) { return static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    return {ch(shown.r), ch(shown.g), ch(shown.b)};
}

std::uint8_t nearest(const std::vector<std::uint32_t> &palette, Rgb8 c)
{
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long dr = static_cast<long>((palette[i] >> 16) & 0xFF) - c.r;
        long dg = static_cast<long>((palette[i] >> 8) & 0xFF) - c.g;
        long db = static_cast<long>(palette[i] & 0xFF) - c.b;
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

std::size_t beginChunk(std::vector<std::uint8_t> &out, const char (&tag)[5])
{
    putTag(out, tag);
    std::size_t sizeAt = out.size();
    put32(out, 0);
    return sizeAt;
}

std::size_t beginList(std::vector<std::uint8_t> &out, const char (&kind)[5], const char (&tag)[5])
{
    std::size_t sizeAt = beginChunk(out, kind);
    putTag(out, tag);
    return sizeAt;
}

void endChunk(std::vector<std::uint8_t> &out, std::size_t sizeAt)
{
    patch32(out, sizeAt, static_cast<unsigned>(out.size() - sizeAt - 4));
    if (out.size() % 2)
        out.push_back(0);
}

} // namespace

IndexedClip palettize(const std::vector<Canvas> &frames, Color backdrop)
{
    IndexedClip clip;
    if (frames.empty())
        return clip;
    clip.width = frames.front().width();
    clip.height = frames.front().height();
    // Popularity palette over 5-bit bins, each bin represented by its most frequent colour, so
    // that flat areas keep their exact colour.
    struct Bin {
        long count = 0;
        std::map<std::uint32_t, long> colours;
    };
    std::map<int, Bin> bins;
    for (const Canvas &f : frames)
        for (int y = 0; y < clip.height; ++y)
            for (int x = 0; x < clip.width; ++x) {
                Rgb8 c = toRgb8(f.pixel(x, y), backdrop);
                Bin &bin = bins[(c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3)];
                ++bin.count;
                ++bin.colours[static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b)];
            }
    std::vector<const Bin *> ranked;
    for (const auto &entry : bins)
        ranked.push_back(&entry.second);
    std::stable_sort(ranked.begin(), ranked.end(), [](const Bin *a, const Bin *b) { return a->count > b->count; });
    if (ranked.size() > 256)
        ranked.resize(256);
    for (const Bin *bin : ranked) {
        auto top = std::max_element(bin->colours.begin(), bin->colours.end(),
                                    [](const auto &a, const auto &b) { return a.second < b.second; });
        clip.palette.push_back(top->first);
    }
    for (const Canvas &f : frames) {
        std::vector<std::uint8_t> indices;
        indices.reserve(static_cast<std::size_t>(clip.width) * clip.height);
        for (int y = 0; y < clip.height; ++y)
            for (int x = 0; x < clip.width; ++x)
                indices.push_back(nearest(clip.palette, toRgb8(f.pixel(x, y), backdrop)));
        clip.frames.push_back(std::move(indices));
    }
    return clip;
}

std::vector<std::uint8_t> encodeAvi(const IndexedClip &clip, unsigned microsecondsPerFrame)
{
    const unsigned w = static_cast<unsigned>(clip.width), h = static_cast<unsigned>(clip.height);
    const unsigned stride = (w + 3) & ~3u;
    const unsigned frameSize = stride * h;
    const unsigned frameCount = static_cast<unsigned>(clip.frames.size());
    const unsigned perSecond = microsecondsPerFrame ? 1000000u / microsecondsPerFrame : 0;

    std::vector<std::uint8_t> out;
    std::size_t riff = beginList(out, "RIFF", "AVI ");
    std::size_t hdrl = beginList(out, "LIST", "hdrl");

    std::size_t avih = beginChunk(out, "avih");
    put32(out, microsecondsPerFrame);
    put32(out, frameSize * perSecond);
    put32(out, 0);
    put32(out, 0x10); // AVIF_HASINDEX
    put32(out, frameCount);
    put32(out, 0);
    put32(out, 1); // streams
    put32(out, frameSize);
    put32(out, w);
    put32(out, h);
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    endChunk(out, avih);

    std::size_t strl = beginList(out, "LIST", "strl");
    std::size_t strh = beginChunk(out, "strh");
    putTag(out, "vids");
    putTag(out, "DIB ");
    put32(out, 0);                    // flags
    put16(out, 0);                    // priority
    put16(out, 0);                    // language
    put32(out, 0);                    // initial frames
    put32(out, microsecondsPerFrame); // scale
    put32(out, 1000000);              // rate: frames per second = rate / scale
    put32(out, 0);                    // start
    put32(out, frameCount);
    put32(out, frameSize);
    put32(out, 0xFFFFFFFF); // default quality
    put32(out, 0);          // sample size: varies per frame
    put16(out, 0);
    put16(out, 0);
    put16(out, w);
    put16(out, h);
    endChunk(out, strh);

    std::size_t strf = beginChunk(out, "strf");
    put32(out, 40);
    put32(out, w);
    put32(out, h); // bottom-up
    put16(out, 1);
    put16(out, 8);
    put32(out, 0); // BI_RGB
    put32(out, frameSize);
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (unsigned i = 0; i < 256; ++i) {
        std::uint32_t c = i < clip.palette.size() ? clip.palette[i] : 0;
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(0);
    }
    endChunk(out, strf);
    endChunk(out, strl);
    endChunk(out, hdrl);

    std::size_t movi = beginList(out, "LIST", "movi");
    const std::size_t moviStart = movi + 4; // idx1 offsets count from the 'movi' tag
    std::vector<unsigned> offsets;
    for (const auto &frame : clip.frames) {
        offsets.push_back(static_cast<unsigned>(out.size() - moviStart));
        std::size_t chunk = beginChunk(out, "00db");
        for (unsigned y = h; y-- > 0;) {
            for (unsigned x = 0; x < stride; ++x)
                out.push_back(x < w ? frame[static_cast<std::size_t>(y) * w + x] : 0);
        }
        endChunk(out, chunk);
    }
    endChunk(out, movi);

    std::size_t idx1 = beginChunk(out, "idx1");
    for (unsigned offset : offsets) {
        putTag(out, "00db");
        put32(out, 0x10); // AVIIF_KEYFRAME
        put32(out, offset);
        put32(out, frameSize);
    }
    endChunk(out, idx1);
    endChunk(out, riff);
    return out;
}

} // namespace assetgen
