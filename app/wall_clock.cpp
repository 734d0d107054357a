#include "app/wall_clock.h"

#include <ctime>

// A 32-bit time_t (MinGW's _USE_32BIT_TIME_T, or an old runtime) would wrap in January 2038.
static_assert(sizeof(std::time_t) >= 8, "the wall clock must be read with a 64-bit time_t");

std::int64_t SystemWallClock() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::atomic<WallClock> wallClock{&SystemWallClock};
