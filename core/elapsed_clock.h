// The seam through which the countdown reads elapsed time: milliseconds on a clock that never
// jumps with the wall clock and that keeps counting while the machine sleeps, so a tea still ends
// on resume when its time has passed. Tests replace it to let time pass or to sleep.
#pragma once

#include <atomic>
#include <cstdint>

using ElapsedClock = std::int64_t (*)();

// The program's reading is the system's, which only the window side can take: its definition is
// in app/elapsed_clock.cpp.
extern std::atomic<ElapsedClock> elapsedClock;

inline std::int64_t ElapsedClockNow() { return elapsedClock.load()(); }

// A 32-bit millisecond count wraps every 49.7 days. The 64-bit count nearest to the last one that
// ends in the reading's 32 bits: counts taken less than 24.8 days apart stay continuous across the
// wrap, and a reading a little older than the last one (taken by another thread) stays behind it.
std::int64_t WidenTickCount(std::int64_t last, std::uint32_t reading);
