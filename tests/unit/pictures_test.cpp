// The procedural pictures drawn at other sizes than their design size, as a larger display
// scaling asks for: the size asked, the same picture, new detail rather than repeated pixels, and
// the same pixels whichever way the rows are stored or banded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pictures/pictures.h"
#include "res/resource.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Exactly width x height 24-bit pixels, top row first: a write beyond them is a sanitizer error.
Bytes Render(int id, int width, int height)
{
    Bytes rows(static_cast<std::size_t>(width) * height * 3);
    EXPECT_TRUE(pictures::renderPicture(id, width, height, rows.data(), width * 3));
    return rows;
}

int Channel(const Bytes &rows, int width, int x, int y, int channel)
{
    return rows[(static_cast<std::size_t>(y) * width + x) * 3 + channel];
}

} // namespace

TEST(Pictures, DrawnLargerTheyAreTheSamePicturesWithDetailOfTheirOwn)
{
    struct Case {
        int id;
        bool detailed; // has fine shading that a drawing at 2x shows and a doubled copy cannot
    };
    for (const Case &c : {Case{IDB_DAY, true}, Case{IDB_WINTER, true}, Case{IDB_SUMMER, true}, Case{IDB_NIGHT, true},
                          Case{IDB_PLAIN, false}, Case{IDB_ABOUT_NAME, false}, Case{IDB_LAMP_STOPPED, true},
                          Case{IDB_LAMP_BUSY, true}, Case{IDB_LAMP_RUNNING, true}}) {
        SCOPED_TRACE(c.id);
        const pictures::Size design = pictures::designSize(c.id);
        ASSERT_GT(design.width, 0);
        const int w = design.width, h = design.height;
        const Bytes once = Render(c.id, w, h);
        const Bytes twice = Render(c.id, 2 * w, 2 * h);

        // Each 2 x 2 block of the large picture averages to its pixel of the design-size one.
        long difference = 0;
        int uniformBlocks = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool uniform = true;
                for (int channel = 0; channel < 3; ++channel) {
                    const int a = Channel(twice, 2 * w, 2 * x, 2 * y, channel);
                    const int b = Channel(twice, 2 * w, 2 * x + 1, 2 * y, channel);
                    const int d = Channel(twice, 2 * w, 2 * x, 2 * y + 1, channel);
                    const int e = Channel(twice, 2 * w, 2 * x + 1, 2 * y + 1, channel);
                    difference += std::abs((a + b + d + e + 2) / 4 - Channel(once, w, x, y, channel));
                    uniform = uniform && a == b && a == d && a == e;
                }
                uniformBlocks += uniform;
            }
        EXPECT_LT(static_cast<double>(difference) / (w * h * 3), 1.0) << "mean difference per channel";
        if (c.detailed) {
            EXPECT_LT(uniformBlocks, w * h / 2) << "a doubled copy has only uniform blocks";
        }
    }
}

TEST(Pictures, EveryDisplayScalingGetsItsOwnSizeTheSameWayRoundAndInAnyBands)
{
    // 125 %, 150 % and 200 % of the background control, and the lamp at 175 %.
    struct Case {
        int id, width, height;
    };
    for (const Case &c : {Case{IDB_WINTER, 269, 185}, Case{IDB_NIGHT, 323, 222}, Case{IDB_DAY, 430, 296},
                          Case{IDB_LAMP_BUSY, 35, 74}}) {
        SCOPED_TRACE(c.id);
        const Bytes topDown = Render(c.id, c.width, c.height);
        // Stored bottom-up (a negative stride from the last row): the same pixels, rows reversed.
        Bytes bottomUp(topDown.size());
        const std::size_t stride = static_cast<std::size_t>(c.width) * 3;
        ASSERT_TRUE(pictures::renderPicture(c.id, c.width, c.height, bottomUp.data() + stride * (c.height - 1),
                                            -static_cast<std::ptrdiff_t>(stride)));
        for (int y = 0; y < c.height; ++y)
            ASSERT_TRUE(std::equal(topDown.begin() + y * stride, topDown.begin() + (y + 1) * stride,
                                   bottomUp.begin() + (c.height - 1 - y) * stride))
                << "row " << y;
        // Drawn whole in one canvas: what the bands of the rendering gave, pixel for pixel.
        const pictures::Canvas whole = pictures::drawPicture(c.id, c.width, c.height, 0, c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                std::uint8_t expected[3];
                pictures::storeBgr(whole, x, y, {1, 1, 1, 1}, expected);
                for (int channel = 0; channel < 3; ++channel)
                    ASSERT_EQ(Channel(topDown, c.width, x, y, channel), expected[channel]) << x << "," << y;
            }
    }
    std::uint8_t untouched[3] = {7, 7, 7};
    EXPECT_FALSE(pictures::renderPicture(IDD_MAIN, 1, 1, untouched, 3)) << "an id that names no picture";
    EXPECT_FALSE(pictures::renderPicture(IDB_DAY, 0, 10, untouched, 3));
    EXPECT_EQ(untouched[0], 7);
}
