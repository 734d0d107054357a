#include "core/wall_clock.h"

#include <ctime>

std::int64_t SystemWallClock()
{
#ifdef _WIN32
    // The 32-bit MinGW runtime defines time_t as 32 bits (_USE_32BIT_TIME_T), and time() would
    // wrap to 1901 on 2038-01-19 03:14:08 UTC; _time64 is the same clock in 64 bits on every
    // Windows runtime.
    const auto now = _time64(nullptr);
#else
    const auto now = std::time(nullptr);
#endif
    static_assert(sizeof(now) >= 8, "the wall clock must be read in 64 bits");
    return static_cast<std::int64_t>(now);
}

std::atomic<WallClock> wallClock{&SystemWallClock};
