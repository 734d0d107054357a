#include "core/reminder_rules.h"

#include <cstdio>

namespace reminder {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int32_t kEveryDay = 127;
} // namespace

std::int32_t UtcTimeOfDay(std::int32_t timePoint)
{
    const std::int64_t rest = static_cast<std::int64_t>(timePoint) % kSecondsPerDay;
    return static_cast<std::int32_t>(rest < 0 ? rest + kSecondsPerDay : rest);
}

std::int32_t SecondsSinceMidnight(const LocalTime &local)
{
    return local.hour * 3600 + local.minute * 60 + local.second;
}

bool IsWeekdayEnabled(const Settings &settings, int weekday)
{
    if (weekday == 0)
        weekday = 7;
    if (weekday < 1 || weekday > 7)
        return false;
    // Unsigned, so that a negative stored mask is just a set of bits.
    const auto mask = static_cast<std::uint32_t>(settings.weekdays.load());
    return (mask >> (weekday - 1)) & 1u;
}

bool IsReminderDue(const LocalTime &local, const Settings &settings, TimeOfDayOf timeOfDay)
{
    if (!IsWeekdayEnabled(settings, local.weekday))
        return false;
    const std::int64_t now = SecondsSinceMidnight(local);
    if (settings.interval == 0)
        return now == timeOfDay(settings.daily);

    const std::int64_t first = timeOfDay(settings.from);
    const std::int64_t last = timeOfDay(settings.to);
    if (now < first || now > last)
        return false;
    // The times f, f + n h, f + 2n h, ... up to the last time; 64 bits hold any stored step.
    std::int64_t hours = settings.hours;
    if (hours < 1)
        hours = 1;
    return (now - first) % (hours * kSecondsPerHour) == 0;
}

std::int64_t DayNumber(const LocalTime &local)
{
    return (static_cast<std::int64_t>(local.year) * 12 + local.month) * 32 + local.day;
}

SecondWatch::SecondWatch(const LocalTime &start) : day(DayNumber(start)) {}

SecondActions SecondWatch::Observe(const LocalTime &local, const Settings &settings, TimeOfDayOf timeOfDay,
                                   const std::function<bool()> &countdownRunning)
{
    SecondActions actions{};
    const std::int64_t today = DayNumber(local);
    actions.newLayout = settings.layout == Automatic && day != kNoDay && today > day;
    day = today;

    const std::int32_t second = SecondsSinceMidnight(local);
    const bool remindedAlready = today == remindedDay && second <= remindedAt;
    actions.remind = !remindedAlready && settings.remind && IsReminderDue(local, settings, timeOfDay) &&
                     !(settings.suspend && countdownRunning());
    if (actions.remind) {
        remindedDay = today;
        remindedAt = second;
    }
    return actions;
}

std::int64_t FirstSecondToHandle(std::int64_t last, std::int64_t now)
{
    return now > last && now - last <= kCatchUpSeconds ? last + 1 : now;
}

CatchUp CatchUpTo(SecondWatch &watch, std::int64_t last, std::int64_t now, BreakDown breakDown,
                  const Settings &settings, TimeOfDayOf timeOfDay, const std::function<bool()> &countdownRunning)
{
    CatchUp result{};
    for (std::int64_t second = FirstSecondToHandle(last, now); second <= now; ++second) {
        result.nowKnown = breakDown(second, result.now);
        if (!result.nowKnown)
            continue;
        const SecondActions each = watch.Observe(result.now, settings, timeOfDay, countdownRunning);
        result.actions.newLayout = result.actions.newLayout || each.newLayout;
        result.actions.remind = result.actions.remind || each.remind;
    }
    return result;
}

StatusText FormatStatusTime(const LocalTime &local)
{
    StatusText text{};
    std::snprintf(text.data(), text.size(), "%2.2d:%2.2d:%2.2d", local.hour, local.minute, local.second);
    return text;
}

StatusText FormatStatusDate(const LocalTime &local)
{
    StatusText text{};
    std::snprintf(text.data(), text.size(), "%2.2d.%2.2d.%4.4d", local.day, local.month + 1, local.year + 1900);
    return text;
}

int AllDaysState(std::int32_t weekdays)
{
    const std::int32_t days = weekdays & kEveryDay;
    if (days == 0)
        return 0;
    return days == kEveryDay ? 1 : 2;
}

std::int32_t WeekdaysAfterAllClicked(std::int32_t weekdays)
{
    return (weekdays & kEveryDay) == kEveryDay ? 0 : kEveryDay;
}

} // namespace reminder
