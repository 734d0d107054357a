// The system's elapsed clock, the default behind core/elapsed_clock.h's seam.
#pragma once

#include <cstdint>

// Milliseconds since the system started, counting sleep and hibernation and never moved by a
// change of the wall clock: GetTickCount64 where the system has it (Vista and later), else
// GetTickCount widened past its wrap.
std::int64_t SystemElapsedClock();

// The older systems' reading alone: GetTickCount widened past its wrap, whichever thread reads.
std::int64_t WidenedTickCount();
