// Conversions between time points (seconds since 1970-01-01 00:00 UTC) and local calendar time
// that work for every 32-bit value, including those before 1970 that the C runtime refuses.
#pragma once

#include <windows.h>

#include <cstdint>

bool BreakDownLocalTime(std::int64_t timePoint, SYSTEMTIME &local);
// False when the local time does not exist or the result leaves the 32-bit range.
bool ComposeLocalTime(const SYSTEMTIME &local, std::int32_t &timePoint);
