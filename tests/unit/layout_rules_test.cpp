// The layout table, the menu commands and the automatic choice.
#include "core/layout_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(LayoutRulesTest, CommandsAndValuesMapBothWays)
{
    const unsigned expected[] = {40013, 40011, 40012, 40029, 40030, 40036};
    for (std::int32_t value = 0; value <= Plain; ++value) {
        EXPECT_EQ(layout::CommandFor(value), expected[value]) << value;
        EXPECT_EQ(layout::LayoutForCommand(expected[value]), value);
    }
    for (std::int32_t value : {-1, 6, 9})
        EXPECT_EQ(layout::CommandFor(value), 0u) << value;
    for (unsigned command : {0u, 40010u, 40014u, 40021u, 40037u})
        EXPECT_EQ(layout::LayoutForCommand(command), -1) << command;
}

TEST(LayoutRulesTest, TableRowsHoldTheLayoutsPicturesAndColours)
{
    const layout::LayoutRow &night = layout::RowFor(Night);
    EXPECT_EQ(night.bitmapId, 162);
    EXPECT_EQ(night.segment, layout::Rgb(187, 183, 210));
    EXPECT_EQ(night.ledBack, layout::Rgb(30, 18, 108));
    EXPECT_EQ(night.textColour, layout::Rgb(30, 18, 108));
    EXPECT_TRUE(night.flat);
    const layout::LayoutRow &plain = layout::RowFor(Plain);
    EXPECT_EQ(plain.bitmapId, 166);
    EXPECT_EQ(plain.segment, layout::Rgb(0, 0, 0));
    EXPECT_EQ(plain.ledBack, layout::Rgb(212, 208, 200));
    EXPECT_FALSE(plain.flat);
    EXPECT_EQ(layout::RowFor(Winter).bitmapId, 160);
    EXPECT_EQ(layout::RowFor(Day).faceTint, layout::Rgb(255, 255, 255));
    EXPECT_EQ(layout::RowFor(Summer).segment, layout::Rgb(255, 228, 0));
    EXPECT_EQ(layout::Rgb(0x12, 0x34, 0x56), 0x563412u) << "red in the low byte";
    // Nothing outside the table is read.
    for (std::int32_t value : {4, -5, 6, 1000})
        EXPECT_EQ(&layout::RowFor(value), &layout::RowFor(Plain)) << value;
}

TEST(LayoutRulesTest, AutomaticDrawsEvenlyAmongTheFourSeasonsOnly)
{
    int counts[4] = {};
    for (int random = 0; random <= 32767; ++random) {
        const std::int32_t pick = layout::AutomaticLayout(random);
        ASSERT_GE(pick, Winter);
        ASSERT_LE(pick, Summer);
        ++counts[pick];
    }
    for (int count : counts)
        EXPECT_EQ(count, 8192);
    EXPECT_EQ(layout::AutomaticLayout(-3), 1);

    int draws = 0;
    const auto draw = [&] {
        ++draws;
        return 6; // 6 % 4: Day
    };
    for (std::int32_t fixed : {Winter, Night, Day, Summer, Plain})
        EXPECT_EQ(layout::ResolveLayout(fixed, draw), fixed);
    EXPECT_EQ(draws, 0) << "a fixed layout draws nothing";
    for (std::int32_t other : {4, 9, -1})
        EXPECT_EQ(layout::ResolveLayout(other, draw), Day) << other;
    EXPECT_EQ(draws, 3);
}

} // namespace
