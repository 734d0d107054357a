#include "app/reminder_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using reminder::LocalTime;

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
        int asked = 0;
        const auto actions = reminder::ActionsFor(c.local, settings, reminder::UtcTimeOfDay, [&] {
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
