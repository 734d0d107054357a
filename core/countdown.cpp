#include "core/countdown.h"

#include <algorithm>

namespace countdown {

namespace {
constexpr std::int64_t kSecondMs = 1000;

std::int32_t Wrap59(std::int32_t value)
{
    if (value < 0)
        return 59;
    if (value > 59)
        return 0;
    return value;
}
} // namespace

bool Tick(Counter &counter)
{
    counter.seconds = Wrap59(counter.seconds + counter.direction);
    const bool carry = counter.direction < 0 ? counter.seconds == 59 : counter.seconds == 0;
    if (!carry)
        return false;
    counter.minutes += counter.direction;
    if (counter.minutes > 59) {
        counter.minutes = 0;
        counter.hours = counter.hours >= 99 ? 0 : counter.hours + 1;
    } else if (counter.minutes < 0) {
        // Only a deadline that was missed lets a run go below 00:00; it stays at 59, as the
        // seconds do.
        counter.minutes = 59;
    }
    return true;
}

std::int32_t AddOne(std::int32_t value) { return value >= 59 || value < 0 ? 0 : value + 1; }

Time ResetTarget(Time current, Time lastStarted) { return current == lastStarted ? Time{0, 0} : lastStarted; }

int DirectionFor(Time time) { return time.minutes == 0 && time.seconds == 0 ? +1 : -1; }

std::int64_t Deadline(std::int64_t stamp, Time time)
{
    return stamp + kSecondMs * (60 * static_cast<std::int64_t>(time.minutes) + time.seconds);
}

RunClock StartRunClock(std::int64_t now, Time time) { return {now, Deadline(now, time)}; }

PollResult Poll(RunClock &clock, int direction, std::int64_t now)
{
    if (direction < 0 && clock.stamp >= clock.deadline)
        return PollResult::Finish;
    const std::int64_t passed = now - clock.stamp;
    if (passed < kSecondMs)
        return PollResult::Wait;
    clock.stamp += passed - passed % kSecondMs;
    return PollResult::Tick;
}

std::int32_t LeadingNumber(std::string_view text)
{
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX)
            return INT32_MAX;
    }
    return static_cast<std::int32_t>(value);
}

Time PresetTime(std::string_view minutes, std::string_view seconds)
{
    constexpr std::int32_t kLargest = 59;
    return {std::min(LeadingNumber(minutes), kLargest), std::min(LeadingNumber(seconds), kLargest)};
}

QuickSetAction QuickSetActionFor(int dialogResult)
{
    switch (dialogResult) {
    case 1:
        return QuickSetAction::Apply;
    case 10:
        return QuickSetAction::ApplyAndStart;
    default:
        return QuickSetAction::None;
    }
}

} // namespace countdown
