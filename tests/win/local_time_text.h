// What the status line should show for a wall-clock reading, and stored reminder times that
// match a reading, for the tests that move the clock.
#pragma once

#include "app/clock_thread.h"
#include "framework/local_time.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

// "HH:MM:SS" or "DD.MM.YYYY" of the reading in local time.
inline std::string LocalText(std::int64_t t, bool date)
{
    SYSTEMTIME s;
    if (!BreakDownLocalTime(t, s))
        return "?";
    char text[32];
    if (date)
        std::snprintf(text, sizeof text, "%02u.%02u.%04u", s.wDay, s.wMonth, s.wYear);
    else
        std::snprintf(text, sizeof text, "%02u:%02u:%02u", s.wHour, s.wMinute, s.wSecond);
    return text;
}

inline int LocalSecondOfDay(std::int64_t t)
{
    SYSTEMTIME s{};
    EXPECT_TRUE(BreakDownLocalTime(t, s)) << t;
    return s.wHour * 3600 + s.wMinute * 60 + s.wSecond;
}

// A stored 32-bit reminder time with the local time of day of the reading, as the reminder
// dialog keeps it for a reading after 2038: a date at or before 2038 with that time of day.
inline std::int32_t StoredWithTimeOfDayOf(std::int64_t instant)
{
    constexpr std::int64_t kDay = 86400;
    const int wanted = LocalSecondOfDay(instant);
    std::int64_t t = instant - (instant > INT32_MAX ? (instant - INT32_MAX) / kDay * kDay : 0);
    for (int day = 0; day < 400; ++day, t -= kDay)
        if (t <= INT32_MAX && LocalTimeOfDay(static_cast<std::int32_t>(t)) == wanted)
            return static_cast<std::int32_t>(t);
    ADD_FAILURE() << "no 32-bit time point has the time of day of " << instant;
    return 0;
}
