// The tea-time rules, free of any window: when the reminder is due, which weekdays are on, when
// the automatic layout changes, and the texts of the status line.
#pragma once

#include "settings/settings.h"

#include <array>
#include <climits>
#include <cstdint>
#include <functional>

namespace reminder {

// A local time broken down as the C runtime does it.
struct LocalTime {
    int second;  // 0..59
    int minute;  // 0..59
    int hour;    // 0..23
    int day;     // 1..31
    int month;   // 0..11
    int year;    // years since 1900
    int weekday; // 0 = Sunday
};

// The local time of day, in seconds since local midnight, of a stored time point (seconds since
// 1970 UTC). Local time depends on the platform's time zone, so the caller supplies it.
using TimeOfDayOf = std::int32_t (*)(std::int32_t timePoint);

// The time of day in UTC; a stand-in where no time zone applies. Any 32-bit value works.
std::int32_t UtcTimeOfDay(std::int32_t timePoint);

std::int32_t SecondsSinceMidnight(const LocalTime &local);

// Bit (weekday - 1) of the mask, with Monday = 1 ... Sunday = 7 (weekday 0 of the broken-down
// time counts as 7).
bool IsWeekdayEnabled(const Settings &settings, int weekday);

// Once a day exactly at the daily time, or every `hours` hours from `from` up to `to`
// inclusive. A step below one hour counts as one hour, so no stored value stalls the rule.
bool IsReminderDue(const LocalTime &local, const Settings &settings, TimeOfDayOf timeOfDay);

// What the clock does in a second it observes.
struct SecondActions {
    bool newLayout; // the automatic layout picks a new picture on each new day
    bool remind;
};

// What the clock remembers from one observed second to the next, so that a clock moved back or
// across midnight neither repeats a reminder nor misses the new day.
class SecondWatch {
public:
    // Without a start the first observed second only sets the day.
    SecondWatch() = default;
    // Starts on the day of the reading the worker starts at.
    explicit SecondWatch(const LocalTime &start);

    // The automatic layout changes when a later day begins, also when the clock jumps into it,
    // but not when it is set back into the day before. A reminder time of a day comes once: after
    // the clock is set back, the times already reminded that day stay quiet. countdownRunning is
    // asked only when its answer matters: the reminder is due and suspended while a countdown runs.
    SecondActions Observe(const LocalTime &local, const Settings &settings, TimeOfDayOf timeOfDay,
                          const std::function<bool()> &countdownRunning);

private:
    static constexpr std::int64_t kNoDay = INT64_MIN;
    std::int64_t day = kNoDay;
    std::int64_t remindedDay = kNoDay;
    std::int32_t remindedAt = 0;
};

// A number for the local date that grows with it.
std::int64_t DayNumber(const LocalTime &local);

// A worker starved for a few seconds still handles the seconds it missed, so a reminder among them
// comes a little late rather than never; after a longer gap (the clock set forward, the machine
// asleep) their reminders would be stale, and only the present second counts.
inline constexpr std::int64_t kCatchUpSeconds = 60;
// The first second to handle when the clock reads now after the second last was handled.
std::int64_t FirstSecondToHandle(std::int64_t last, std::int64_t now);

// The local calendar time of a wall-clock reading; false for one the calendar cannot hold.
using BreakDown = bool (*)(std::int64_t timePoint, LocalTime &local);

// What one poll of the clock found between the second it handled last and now.
struct CatchUp {
    SecondActions actions; // of all the seconds handled: a reminder among them comes once
    bool nowKnown;         // whether now has a local time; without one the poll shows nothing
    LocalTime now;         // what the status line shows: the last second's time, never an earlier
};
// Observes each second from FirstSecondToHandle(last, now) up to now once, in order.
CatchUp CatchUpTo(SecondWatch &watch, std::int64_t last, std::int64_t now, BreakDown breakDown,
                  const Settings &settings, TimeOfDayOf timeOfDay, const std::function<bool()> &countdownRunning);

// Status line texts: "HH:MM:SS" and "DD.MM.YYYY".
using StatusText = std::array<char, 32>;
StatusText FormatStatusTime(const LocalTime &local);
StatusText FormatStatusDate(const LocalTime &local);

// The "alle" box of the reminder dialog: 0 cleared, 1 ticked, 2 some days (the indeterminate
// state), as BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE number them.
int AllDaysState(std::int32_t weekdays);
// The mask after a click on "alle": every day, or none when every day was on.
std::int32_t WeekdaysAfterAllClicked(std::int32_t weekdays);

} // namespace reminder
