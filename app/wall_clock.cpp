#include "app/wall_clock.h"

#include <ctime>

std::int64_t SystemWallClock() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::atomic<WallClock> wallClock{&SystemWallClock};
