// The rules of the countdown, free of any window: the one-second tick, the Min and Sek buttons,
// Reset, the direction of a run, preset times and the quick-setting result.
#pragma once

#include <cstdint>
#include <string_view>

namespace countdown {

struct Time {
    std::int32_t minutes;
    std::int32_t seconds;
    bool operator==(const Time &) const = default;
};

// What a running countdown counts: direction -1 down, +1 up (a stopwatch with an hour counter).
struct Counter {
    int direction;
    std::int32_t hours;
    std::int32_t minutes;
    std::int32_t seconds;
};

// One tick of the counter. Returns true when the minutes (and maybe the hours) changed too.
bool Tick(Counter &counter);

// Min and Sek buttons: 59 wraps to 0, with no carry into the other field.
std::int32_t AddOne(std::int32_t value);

// Reset brings back the last start's time, and a second Reset clears to 00:00.
Time ResetTarget(Time current, Time lastStarted);

// A run at 00:00 counts up, any other runs down.
int DirectionFor(Time time);

// The deadline of a run started at the stamp, in milliseconds of elapsed time.
std::int64_t Deadline(std::int64_t stamp, Time time);

// The elapsed-time side of a run, in milliseconds on the elapsed clock: the instant of its last
// tick (Start and whole seconds after it) and the instant it ends at.
struct RunClock {
    std::int64_t stamp;
    std::int64_t deadline;
};
RunClock StartRunClock(std::int64_t now, Time time);

enum class PollResult { Wait, Tick, Finish };
// One poll of a running worker at the elapsed reading now. A run down finishes once its last
// tick reached the deadline. Ticks come at whole seconds since Start; a poll that sees a new
// second ticks once, however many seconds passed, so after a sleep past the deadline the run ends
// at the next poll. A reading behind the last tick waits.
PollResult Poll(RunClock &clock, int direction, std::int64_t now);

// The number given by the leading decimal digits of a preset's text; no digits give 0.
std::int32_t LeadingNumber(std::string_view text);

// The time a preset sets: the leading numbers of its texts, each limited to 0..59 as a stored
// time is (a text edited outside the program may read "75" or "9999").
Time PresetTime(std::string_view minutes, std::string_view seconds);

// What a closed quick-setting dialog asks for: its result 1 applies the time, 10 applies it and
// starts; anything else changes nothing.
enum class QuickSetAction { None, Apply, ApplyAndStart };
QuickSetAction QuickSetActionFor(int dialogResult);

} // namespace countdown
