#include "core/reminder_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

using reminder::LocalTime;
using reminder::SecondsSinceMidnight;

constexpr int kMonday = 1, kSaturday = 6, kSunday = 0;

// A stored point in time whose UTC time of day is h:m:s, on some day (also before 1970).
std::int32_t At(int h, int m = 0, int s = 0, std::int32_t day = 3) { return day * 86400 + h * 3600 + m * 60 + s; }

LocalTime Local(int h, int m = 0, int s = 0, int weekday = kMonday) { return {s, m, h, 7, 11, 126, weekday}; }

// Every second of one day at which the reminder is due, as "seconds since midnight".
std::vector<int> DueSecondsOfDay(const Settings &settings, int weekday = kMonday)
{
    std::vector<int> due;
    for (int t = 0; t < 86400; ++t) {
        if (reminder::IsReminderDue(Local(t / 3600, t / 60 % 60, t % 60, weekday), settings, reminder::UtcTimeOfDay))
            due.push_back(t);
    }
    return due;
}

std::vector<int> Hours(std::initializer_list<int> hours)
{
    std::vector<int> seconds;
    for (int h : hours)
        seconds.push_back(h * 3600);
    return seconds;
}

void Interval(Settings &settings, std::int32_t from, std::int32_t to, std::int32_t hours)
{
    settings.interval = 1;
    settings.from = from;
    settings.to = to;
    settings.hours = hours;
}

TEST(ReminderRule, OnceADayExactlyAtTheDailySecond)
{
    Settings settings;
    settings.daily = At(16);
    EXPECT_EQ(DueSecondsOfDay(settings), Hours({16})) << "16:00:00 and not 16:00:01";

    settings.daily = At(16, 0, 30, -9000); // seconds count; a date long before 1970
    EXPECT_EQ(DueSecondsOfDay(settings), std::vector<int>{16 * 3600 + 30});
}

TEST(ReminderRule, IntervalStepsFromTheFirstTimeUpToTheLastInclusive)
{
    struct Case {
        std::int32_t from, to, hours;
        std::vector<int> due;
    };
    const Case cases[] = {
        {At(8), At(17), 2, Hours({8, 10, 12, 14, 16})},
        {At(8), At(17), 3, Hours({8, 11, 14, 17})},
        {At(8), At(8), 2, Hours({8})},
        {At(17), At(8), 2, {}}, // across midnight: never
        {At(8, 30, 15), At(12, 30, 15), 2, {8 * 3600 + 1815, 10 * 3600 + 1815, 12 * 3600 + 1815}},
        // Stored steps the dialog never offers: below one hour counts as one hour.
        {At(8), At(11), 0, Hours({8, 9, 10, 11})},
        {At(8), At(11), -5, Hours({8, 9, 10, 11})},
        {At(8), At(11), INT_MIN, Hours({8, 9, 10, 11})},
        {At(8), At(17), 7, Hours({8, 15})},
        {At(8), At(17), INT_MAX, Hours({8})},
    };
    for (const Case &c : cases) {
        Settings settings;
        Interval(settings, c.from, c.to, c.hours);
        EXPECT_EQ(DueSecondsOfDay(settings), c.due) << "from " << c.from << " to " << c.to << " every " << c.hours;
    }
}

TEST(ReminderRule, AnyIntervalValueButZeroMeansTheIntervalRule)
{
    for (std::int32_t interval : {1, 2, -1, INT_MAX, INT_MIN}) {
        Settings settings;
        settings.daily = At(9);
        Interval(settings, At(8), At(10), 2);
        settings.interval = interval;
        EXPECT_EQ(DueSecondsOfDay(settings), Hours({8, 10})) << interval;
    }
}

TEST(ReminderRule, WeekdayMaskHasMondayAtBitZeroAndSundayAtBitSix)
{
    struct Case {
        std::int32_t mask;
        int weekday;
        bool enabled;
    };
    const Case cases[] = {
        {127, kSunday, true}, {127, kMonday, true},   {1, kMonday, true},        {1, 2, false},
        {64, kSunday, true},  {64, kSaturday, false}, {32, kSaturday, true},     {31, kSaturday, false},
        {31, kSunday, false}, {31, 5, true},          {0, kMonday, false},       {0x15, 3, true},
        {0x15, 4, false},     {-1, kSunday, true},    {INT_MIN, kSunday, false}, {128, kMonday, false},
        {127, 7, true},       {127, 8, false},        {127, -1, false},
    };
    for (const Case &c : cases) {
        Settings settings;
        settings.weekdays = c.mask;
        EXPECT_EQ(reminder::IsWeekdayEnabled(settings, c.weekday), c.enabled) << c.mask << " day " << c.weekday;
    }

    Settings workdays;
    workdays.weekdays = 31;
    workdays.daily = At(16);
    EXPECT_TRUE(DueSecondsOfDay(workdays, kSaturday).empty());
    EXPECT_TRUE(DueSecondsOfDay(workdays, kSunday).empty());
    EXPECT_EQ(DueSecondsOfDay(workdays, 5), Hours({16}));
}

TEST(ReminderRule, EveryStoredTimePointHasATimeOfDay)
{
    EXPECT_EQ(reminder::UtcTimeOfDay(0), 0);
    EXPECT_EQ(reminder::UtcTimeOfDay(140400), 15 * 3600);
    EXPECT_EQ(reminder::UtcTimeOfDay(-1), 86399);
    EXPECT_EQ(reminder::UtcTimeOfDay(INT_MAX), 3 * 3600 + 14 * 60 + 7);   // 2038-01-19 03:14:07
    EXPECT_EQ(reminder::UtcTimeOfDay(INT_MIN), 20 * 3600 + 45 * 60 + 52); // 1901-12-13 20:45:52
}

TEST(ReminderRule, TheSecondsActionsFollowTheOptions)
{
    struct Case {
        std::int32_t remind, suspend, layout;
        bool running;
        LocalTime local;
        bool newLayout, remindNow;
    };
    const LocalTime due = Local(16), notDue = Local(16, 0, 1), midnight = Local(0);
    const Case cases[] = {
        {1, 1, 4, false, due, false, true},
        {1, 1, 4, true, due, false, false},
        {1, 0, 4, true, due, false, true},
        {0, 0, 4, false, due, false, false},
        {1, 1, 4, false, notDue, false, false},
        {1, 1, 4, false, midnight, true, false},
        {1, 1, 3, false, midnight, false, false},
        {0, 1, 4, true, midnight, true, false},
        {1, 1, 4, false, Local(0, 0, 1), false, false},
        {1, 1, 4, false, Local(0, 1, 0), false, false},
    };
    for (const Case &c : cases) {
        Settings settings;
        settings.daily = At(16);
        settings.remind = c.remind;
        settings.suspend = c.suspend;
        settings.layout = c.layout;
        // The second before, on the day before when the case is midnight.
        LocalTime before = c.local;
        before.day -= SecondsSinceMidnight(c.local) == 0 ? 1 : 0;
        reminder::SecondWatch watch(before);
        int asked = 0;
        const auto actions = watch.Observe(c.local, settings, reminder::UtcTimeOfDay, [&] {
            ++asked;
            return c.running;
        });
        EXPECT_EQ(actions.newLayout, c.newLayout);
        EXPECT_EQ(actions.remind, c.remindNow);
        // The countdown's state is asked for only when a suspended reminder falls due.
        const bool needed = c.remind && c.suspend && c.local.hour == 16 && c.local.second == 0;
        EXPECT_EQ(asked, needed ? 1 : 0);
    }
}

// One second the clock observes, and what it should do in it.
struct Seen {
    Seen(int d, int h, int m, int s, bool layout = false, bool remindNow = false)
        : day(d), hour(h), minute(m), second(s), newLayout(layout), remind(remindNow)
    {
    }
    int day, hour, minute, second;
    bool newLayout, remind;
};

LocalTime On(const Seen &s) { return {s.second, s.minute, s.hour, s.day, 0, 138, kMonday}; }

// Walks the clock through the seconds in turn, as a worker sees them when the clock is moved.
void Walk(const char *road, const Settings &settings, const std::vector<Seen> &seen)
{
    reminder::SecondWatch watch(On(seen.front()));
    for (size_t i = 1; i < seen.size(); ++i) {
        const Seen &s = seen[i];
        const auto actions = watch.Observe(On(s), settings, reminder::UtcTimeOfDay, [] { return false; });
        EXPECT_EQ(actions.newLayout, s.newLayout) << road << ", step " << i;
        EXPECT_EQ(actions.remind, s.remind) << road << ", step " << i;
    }
}

TEST(ClockJumps, TheReminderComesOnceADayWhereverTheClockIsMoved)
{
    Settings daily;
    daily.daily = At(16);
    daily.layout = Summer;
    Walk("set back an hour after the reminder", daily,
         {{18, 15, 59, 59}, {18, 16, 0, 0, false, true}, {18, 16, 0, 1}, {18, 15, 0, 1},
          {18, 15, 59, 59}, {18, 16, 0, 0, false, false}, {19, 16, 0, 0, false, true}});
    Walk("set back an hour before the reminder", daily,
         {{18, 15, 30, 0}, {18, 14, 30, 0}, {18, 16, 0, 0, false, true}});
    Walk("set forward over the reminder and back before it", daily,
         {{18, 15, 30, 0}, {18, 16, 30, 0}, {18, 15, 30, 0}, {18, 16, 0, 0, false, true}});
    Walk("set back a day: that day is another day", daily,
         {{19, 15, 59, 59}, {19, 16, 0, 0, false, true}, {18, 15, 59, 59}, {18, 16, 0, 0, false, true}});

    Settings interval;
    Interval(interval, At(8), At(17), 1);
    Walk("every hour, set back two hours", interval,
         {{18, 9, 59, 59}, {18, 10, 0, 0, false, true}, {18, 11, 0, 0, false, true}, {18, 9, 30, 0},
          {18, 10, 0, 0, false, false}, {18, 11, 0, 0, false, false}, {18, 12, 0, 0, false, true}});

    Settings changed;
    changed.daily = At(16);
    reminder::SecondWatch watch(On({18, 15, 59, 59}));
    const auto observe = [&](int h, int m) {
        return watch.Observe(On({18, h, m, 0}), changed, reminder::UtcTimeOfDay, [] { return false; }).remind;
    };
    EXPECT_TRUE(observe(16, 0));
    changed.daily = At(16, 30);
    EXPECT_TRUE(observe(16, 30)) << "a time set later the same day still comes";
    changed.daily = At(16);
    EXPECT_FALSE(observe(16, 0)) << "the clock set back to a time already reminded";
}

TEST(ClockJumps, TheAutomaticLayoutChangesOnEachLaterDayAlsoWhenTheClockJumpsIntoIt)
{
    Settings automatic;
    Walk("ticking through midnight", automatic,
         {{18, 23, 59, 59}, {19, 0, 0, 0, true, false}, {19, 0, 0, 1}});
    Walk("forward an hour across midnight", automatic, {{18, 23, 30, 0}, {19, 0, 30, 0, true, false}, {19, 0, 30, 1}});
    Walk("back across midnight, then through it again", automatic,
         {{19, 0, 30, 0}, {18, 23, 30, 0}, {18, 23, 59, 59}, {19, 0, 0, 0, true, false}});
    Walk("forward by days", automatic, {{18, 12, 0, 0}, {25, 12, 0, 0, true, false}});
    const auto day = [](int d, int month, int year) { return reminder::DayNumber({0, 0, 0, d, month, year, 0}); };
    EXPECT_LT(day(31, 0, 138), day(1, 1, 138)) << "into February";
    EXPECT_LT(day(31, 11, 137), day(1, 0, 138)) << "into 2038";
    EXPECT_LT(day(31, 11, 28930), day(1, 0, 28931)) << "the last years the system calendar knows";

    Settings chosen;
    chosen.layout = Night;
    reminder::SecondWatch watch(On({18, 23, 59, 59}));
    const auto observe = [&](const Seen &s) {
        return watch.Observe(On(s), chosen, reminder::UtcTimeOfDay, [] { return false; }).newLayout;
    };
    EXPECT_FALSE(observe({19, 0, 0, 0})) << "a chosen layout stays";
    chosen.layout = Automatic;
    EXPECT_FALSE(observe({19, 0, 0, 5})) << "choosing automatic after midnight waits for the next day";
    EXPECT_TRUE(observe({20, 0, 0, 0}));

    reminder::SecondWatch unknownStart;
    EXPECT_FALSE(unknownStart.Observe(On({19, 0, 0, 0}), automatic, reminder::UtcTimeOfDay, [] { return false; })
                     .newLayout)
        << "without a start day the first second only sets the day";
}

TEST(ClockJumps, ShortGapsAreCaughtUpAndLongOnesOrTheClockSetBackAreNot)
{
    constexpr std::int64_t k2038 = INT32_MAX;
    struct Case {
        std::int64_t last, now, first;
    };
    const Case cases[] = {
        {1000, 1001, 1001},
        {1000, 1003, 1001},
        {1000, 1060, 1001},
        {1000, 1061, 1061},
        {1000, 1000 + 3600, 1000 + 3600},
        {1000, 999, 999},
        {1000, 1000 - 3600, 1000 - 3600},
        {k2038 - 1, k2038 + 2, k2038},
        {k2038, k2038 + 1, k2038 + 1},
        {4102444800LL, 4102444800LL + 5, 4102444801LL},
    };
    for (const Case &c : cases)
        EXPECT_EQ(reminder::FirstSecondToHandle(c.last, c.now), c.first) << c.last << " -> " << c.now;
}

TEST(StatusLine, TimeAndDateWithLeadingZeros)
{
    const LocalTime local{5, 4, 3, 6, 11, 126, kSunday};
    EXPECT_STREQ(reminder::FormatStatusTime(local).data(), "03:04:05");
    EXPECT_STREQ(reminder::FormatStatusDate(local).data(), "06.12.2026");
    EXPECT_STREQ(reminder::FormatStatusDate({0, 0, 23, 31, 0, 1, 1}).data(), "31.01.1901");
}

TEST(AllDaysBox, ShowsAllSomeOrNoneAndAClickTurnsAllOnOrOff)
{
    EXPECT_EQ(reminder::AllDaysState(0), 0);
    EXPECT_EQ(reminder::AllDaysState(127), 1);
    EXPECT_EQ(reminder::AllDaysState(0x15), 2);
    EXPECT_EQ(reminder::AllDaysState(63), 2);
    EXPECT_EQ(reminder::AllDaysState(255), 1) << "only the seven day bits count";
    EXPECT_EQ(reminder::AllDaysState(-128), 0);

    EXPECT_EQ(reminder::WeekdaysAfterAllClicked(0x15), 127);
    EXPECT_EQ(reminder::WeekdaysAfterAllClicked(127), 0);
    EXPECT_EQ(reminder::WeekdaysAfterAllClicked(0), 127);
    EXPECT_EQ(reminder::WeekdaysAfterAllClicked(-1), 0);
}

} // namespace

namespace {

// A calendar in which every second since 0 is a second of day 18 from 15:00:00 on; the seconds
// listed in unknown have no local time.
std::vector<std::int64_t> unknown;
bool TestBreakDown(std::int64_t t, LocalTime &local)
{
    if (std::find(unknown.begin(), unknown.end(), t) != unknown.end())
        return false;
    const int s = static_cast<int>(t) + 15 * 3600;
    local = {s % 60, s / 60 % 60, s / 3600, 18, 0, 138, kMonday};
    return true;
}

TEST(ClockJumps, MissedSecondsAreObservedOnceEachAndOnlyTheLastSetsTheStatusLine)
{
    Settings settings;
    settings.daily = At(15, 0, 5);
    struct Case {
        const char *what;
        std::int64_t last, now;
        std::vector<std::int64_t> unknown;
        bool remind, nowKnown;
        int shownSecond;
    };
    const Case cases[] = {
        {"a starved worker catches the reminder up", 2, 9, {}, true, true, 9},
        {"an unknown second among them is passed over", 2, 9, {5}, false, true, 9},
        {"an unknown present shows nothing", 2, 9, {9}, true, false, -1},
        {"a long gap skips to the present", 2, 2 + 61, {}, false, true, 3},
    };
    for (const Case &c : cases) {
        unknown = c.unknown;
        LocalTime start;
        TestBreakDown(c.last, start);
        reminder::SecondWatch watch(start);
        const reminder::CatchUp seen = reminder::CatchUpTo(watch, c.last, c.now, TestBreakDown, settings,
                                                           reminder::UtcTimeOfDay, [] { return false; });
        EXPECT_EQ(seen.actions.remind, c.remind) << c.what;
        EXPECT_EQ(seen.nowKnown, c.nowKnown) << c.what;
        if (c.nowKnown) {
            EXPECT_EQ(seen.now.second, c.shownSecond) << c.what;
        }
        EXPECT_EQ(watch.Observe(seen.now, settings, reminder::UtcTimeOfDay, [] { return false; }).remind, false)
            << c.what << ": the reminder comes once";
    }
    unknown.clear();
}

} // namespace
