#include "bench/soak_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SoakPlan, CyclesScaleWithTheRunAndStaySpreadInsideIt)
{
    struct Case {
        int minutes;
        int cycles;
    };
    for (const Case c : {Case{60, 1000}, Case{5, 83}, Case{1, 17}, Case{120, 2000}, Case{0, 0}}) {
        SCOPED_TRACE(c.minutes);
        const int cycles = soak::CyclesFor(c.minutes);
        EXPECT_EQ(cycles, c.cycles);
        if (cycles == 0)
            continue;
        // Even gaps, and half a gap at either end of the run.
        const double gap = c.minutes * 60.0 / cycles;
        EXPECT_NEAR(soak::CycleAt(0, cycles, c.minutes), gap / 2, 1e-9);
        EXPECT_NEAR(soak::CycleAt(cycles - 1, cycles, c.minutes), c.minutes * 60.0 - gap / 2, 1e-9);
        for (int k = 1; k < cycles; ++k)
            EXPECT_NEAR(soak::CycleAt(k, cycles, c.minutes) - soak::CycleAt(k - 1, cycles, c.minutes), gap, 1e-9);
    }
}

TEST(SoakPlan, EverySixMinutesWalkAllLayoutsAndComeBack)
{
    std::set<unsigned> seen;
    for (int minute = 0; minute < 6; ++minute)
        seen.insert(soak::LayoutCommandAt(minute));
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(soak::LayoutCommandAt(60), soak::LayoutCommandAt(0));
    EXPECT_STREQ(soak::LayoutNameAt(5), "auto");
    EXPECT_EQ(soak::LayoutCommandAt(5), 40030u);
}

TEST(SoakPlan, VerdictNamesEveryCountThatDidNotComeBack)
{
    const soak::Counts base{120, 14, 4, 60};
    struct Case {
        soak::Counts last;
        std::vector<std::string> grown;
    };
    const Case cases[] = {
        {{120, 14, 4, 60}, {}},
        {{126, 14, 4, 60}, {"gdi 120 -> 126"}},
        {{118, 14, 4, 60}, {"gdi 120 -> 118"}}, // fewer is a change as well
        {{120, 15, 5, 61}, {"user 14 -> 15", "threads 4 -> 5", "handles 60 -> 61"}},
        {{120, 14, 4, -1}, {"handles 60 -> -1"}}, // not measured is no pass
    };
    for (const Case &c : cases)
        EXPECT_EQ(soak::Grown(base, c.last), c.grown);
    EXPECT_EQ(soak::Grown(soak::Counts{}, soak::Counts{}).size(), 4u);
}

} // namespace
