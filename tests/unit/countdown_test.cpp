#include "core/countdown.h"
#include "core/elapsed_clock.h"
#include "core/wall_clock.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

using namespace countdown;

namespace {

Counter TickTimes(Counter counter, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        Tick(counter);
    return counter;
}

TEST(CountdownTick, CountingDownBorrowsFromTheMinutesAtEachFullMinute)
{
    Counter c{-1, 0, 3, 0};
    EXPECT_TRUE(Tick(c));
    EXPECT_EQ(c.minutes, 2);
    EXPECT_EQ(c.seconds, 59);
    EXPECT_FALSE(Tick(c));
    EXPECT_EQ(c.seconds, 58);

    const Counter end = TickTimes({-1, 0, 3, 0}, 180);
    EXPECT_EQ(end.minutes, 0);
    EXPECT_EQ(end.seconds, 0);
    EXPECT_EQ(end.hours, 0) << "counting down never touches the hours";
}

TEST(CountdownTick, CountingUpCarriesIntoMinutesAndHoursAndWrapsAfterHour99)
{
    Counter c{+1, 0, 0, 59};
    EXPECT_TRUE(Tick(c));
    EXPECT_EQ(c.minutes, 1);
    EXPECT_EQ(c.seconds, 0);

    Counter hour{+1, 0, 59, 59};
    Tick(hour);
    EXPECT_EQ(hour.hours, 1);
    EXPECT_EQ(hour.minutes, 0);
    EXPECT_EQ(hour.seconds, 0);

    Counter last{+1, 99, 59, 59};
    Tick(last);
    EXPECT_EQ(last.hours, 0);

    const Counter oneHourLater = TickTimes({+1, 0, 0, 0}, 3600);
    EXPECT_EQ(oneHourLater.hours, 1);
    EXPECT_EQ(oneHourLater.minutes, 0);
}

TEST(CountdownRules, ButtonsWrapWithoutCarryAndResetAlternates)
{
    EXPECT_EQ(AddOne(0), 1);
    EXPECT_EQ(AddOne(58), 59);
    EXPECT_EQ(AddOne(59), 0);
    EXPECT_EQ(AddOne(-3), 0) << "a value out of range starts again at 0";

    const Time last{4, 30};
    EXPECT_EQ(ResetTarget({1, 23}, last), last) << "the first Reset brings back the last start";
    EXPECT_EQ(ResetTarget(last, last), (Time{0, 0})) << "the second clears";

    EXPECT_EQ(DirectionFor({0, 0}), +1);
    EXPECT_EQ(DirectionFor({0, 1}), -1);
    EXPECT_EQ(DirectionFor({1, 0}), -1);

    EXPECT_EQ(Deadline(1000, {3, 0}), 181000);
    const std::int64_t afterWraps = std::int64_t(1) << 40;
    EXPECT_EQ(Deadline(afterWraps, {59, 59}), afterWraps + 3599000);
}

// The polls of one run, each at an elapsed-clock reading in milliseconds since the start: "W"
// wait, "T" tick, "F" finish (the run ends there).
std::string PollRoad(std::int64_t start, Time time, const std::vector<std::int64_t> &readings)
{
    RunClock clock = StartRunClock(start, time);
    const int direction = DirectionFor(time);
    std::string road;
    for (std::int64_t reading : readings) {
        const PollResult result = Poll(clock, direction, start + reading);
        road += result == PollResult::Finish ? 'F' : result == PollResult::Tick ? 'T' : 'W';
        if (result == PollResult::Finish)
            break;
    }
    return road;
}

TEST(CountdownClock, TheRunTicksAtWholeSecondsSinceItsStartAndEndsAtItsDeadline)
{
    constexpr std::int64_t kHour = 3600000;
    const struct {
        const char *what;
        Time time;
        std::vector<std::int64_t> readings;
        const char *road;
    } cases[] = {
        {"each second ticks once", {0, 2}, {0, 0, 1000, 1000, 2000, 2000}, "WWTWTF"},
        {"the first tick a second after the start", {0, 2}, {100, 900, 999, 1000, 1999, 2050, 2150}, "WWWTWTF"},
        {"a sleep past the end ends at once", {3, 0}, {500, kHour, kHour + 100}, "WTF"},
        {"a sleep within the time: one tick, the end stays", {0, 5}, {1000, 4000, 4100, 4999, 5000, 5100}, "TTWWTF"},
        {"a starved worker ticks once for many seconds", {0, 5}, {3000, 5000, 5000}, "TTF"},
        {"a reading behind the last tick waits", {0, 3}, {1000, -kHour, 1999, 2000, 3000, 3000}, "TWWTTF"},
        {"counting up never finishes", {0, 0}, {1000, 2000, kHour, kHour + 500, kHour + 1000}, "TTTWT"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PollRoad(1800000000500, c.time, c.readings), c.road) << c.what;
}

TEST(CountdownClock, RunsAcrossTheWrapOfThirtyTwoBitCountsLikeAnyOther)
{
    constexpr std::int64_t k32 = std::int64_t(UINT32_MAX) + 1; // where GetTickCount wraps
    // A count widened past the wrap may start below zero.
    for (std::int64_t start : {k32 - 2000, k32 - 1, k32, std::int64_t(INT32_MAX), -k32 / 2 - 1500, std::int64_t(0),
                               std::int64_t(1) << 40}) {
        EXPECT_EQ(PollRoad(start, {0, 3}, {0, 1000, 2000, 3000, 3000}), "WTTTF") << start;
        EXPECT_EQ(PollRoad(start, {1, 0}, {0, 3600000, 3600000}), "WTF") << start;
        EXPECT_EQ(PollRoad(start, {0, 0}, {1000, 2000, 3000}), "TTT") << start;
    }
}

TEST(ElapsedClock, ATickCountWidensToTheNearestCountAcrossItsWrap)
{
    constexpr std::int64_t k32 = std::int64_t(UINT32_MAX) + 1;
    const struct {
        const char *what;
        std::int64_t last;
        std::uint32_t reading;
        std::int64_t widened;
    } cases[] = {
        {"the first reading", 0, 123456, 123456},
        {"the same", 5000, 5000, 5000},
        {"across the wrap", k32 - 10, 5, k32 + 5},
        {"a little behind, from another thread", k32 + 5, UINT32_MAX - 2, k32 - 3},
        {"just under 24.8 days on", 7 * k32 + 1000, 1000u + INT32_MAX, 7 * k32 + 1000 + INT32_MAX},
        {"a first reading after 24.8 days of uptime lies below zero", 0, 3000000000u, 3000000000 - k32},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WidenTickCount(c.last, c.reading), c.widened) << c.what;
}

TEST(CountdownRules, PresetTextsGiveTheirLeadingDigits)
{
    EXPECT_EQ(LeadingNumber("05"), 5);
    EXPECT_EQ(LeadingNumber("7"), 7);
    EXPECT_EQ(LeadingNumber("30 Sek"), 30);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber(" 5"), 0) << "only leading digits count";
    EXPECT_EQ(LeadingNumber("-5"), 0);
    EXPECT_EQ(LeadingNumber("99999999999999999999"), INT32_MAX) << "no overflow";
}

TEST(CountdownRules, PresetTimesStayWithinTheClock)
{
    const struct {
        const char *minutes, *seconds;
        Time expected;
    } cases[] = {
        {"04", "30", {4, 30}}, {"59", "59", {59, 59}}, {"60", "75", {59, 59}},
        {"9999", "9999", {59, 59}}, {"", "abc", {0, 0}}, {"3 Min", "05", {3, 5}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PresetTime(c.minutes, c.seconds), c.expected) << c.minutes << ":" << c.seconds;
}

TEST(CountdownRules, QuickSettingResults)
{
    EXPECT_EQ(QuickSetActionFor(1), QuickSetAction::Apply);
    EXPECT_EQ(QuickSetActionFor(10), QuickSetAction::ApplyAndStart);
    EXPECT_EQ(QuickSetActionFor(2), QuickSetAction::None);
    EXPECT_EQ(QuickSetActionFor(0), QuickSetAction::None);
}

std::int64_t FixedClock() { return 4102444800LL; }

TEST(WallClock, TheSeamCanBeReplacedAndIs64Bit)
{
    const std::int64_t before = WallClockNow();
    EXPECT_GT(before, 1700000000);
    wallClock = &FixedClock;
    EXPECT_EQ(WallClockNow(), 4102444800LL);
    wallClock = &SystemWallClock;
}

} // namespace
