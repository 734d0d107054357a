// The one seam through which the program reads the wall clock, in whole seconds since 1970
// (64-bit, so nothing breaks in 2038). Tests replace it to jump the clock.
#pragma once

#include <atomic>
#include <cstdint>

using WallClock = std::int64_t (*)();

std::int64_t SystemWallClock();

extern std::atomic<WallClock> wallClock;

inline std::int64_t WallClockNow() { return wallClock.load()(); }
