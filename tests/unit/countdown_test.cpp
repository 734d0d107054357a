#include "core/countdown.h"
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

    EXPECT_EQ(Deadline(1000, {3, 0}), 1180);
    const std::int64_t after2038 = 4102444800LL; // 2100-01-01
    EXPECT_EQ(Deadline(after2038, {59, 59}), after2038 + 3599);
}

// The polls of one run, each at a wall-clock reading given relative to the start: "W" wait,
// "T" tick, "F" finish (the run ends there).
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

TEST(CountdownClock, TheRunEndsAtItsDeadlineWhereverTheClockIsMoved)
{
    constexpr std::int64_t kHour = 3600;
    const struct {
        const char *what;
        Time time;
        std::vector<std::int64_t> readings;
        const char *road;
    } cases[] = {
        {"each second ticks once", {0, 2}, {0, 0, 1, 1, 2, 2}, "WWTWTF"},
        {"forward an hour ends at once", {3, 0}, {0, kHour, kHour}, "WTF"},
        {"a starved worker ticks once for many seconds", {0, 5}, {3, 5, 5}, "TTF"},
        {"back an hour keeps the time left", {0, 2}, {0, -kHour, -kHour, 1 - kHour, 2 - kHour, 2 - kHour}, "WWWTTF"},
        {"back after a tick", {0, 3}, {1, -10, -9, -9, -8, -8}, "TWTWTF"},
        {"back a second at a time", {0, 2}, {-1, -2, -1, 0, 0}, "WWTTF"},
        {"counting up never finishes", {0, 0}, {1, 2, kHour, -kHour, 1 - kHour}, "TTTWT"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PollRoad(1800000000, c.time, c.readings), c.road) << c.what;
}

TEST(CountdownClock, RunsAcrossTheEndOfThirtyTwoBitTimeLikeAnyOther)
{
    constexpr std::int64_t k2038 = INT32_MAX; // 2038-01-19 03:14:07 UTC
    for (std::int64_t start : {k2038 - 2, k2038 - 1, k2038, k2038 + 1, std::int64_t(UINT32_MAX),
                               std::int64_t(4102444800LL) /* 2100 */, std::int64_t(1) << 40}) {
        EXPECT_EQ(PollRoad(start, {0, 3}, {0, 1, 2, 3, 3}), "WTTTF") << start;
        EXPECT_EQ(PollRoad(start, {1, 0}, {0, 3600, 3600}), "WTF") << start;
        EXPECT_EQ(PollRoad(start, {0, 2}, {-3600, 1 - 3600, 2 - 3600, 2 - 3600}), "WTTF") << start;
        EXPECT_EQ(PollRoad(start, {0, 0}, {1, 2, 3}), "TTT") << start;
    }
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
