#include "app/elapsed_clock.h"

#include "core/elapsed_clock.h"
#include "framework/late_bound.h"

std::int64_t WidenedTickCount()
{
    static std::atomic<std::int64_t> last{0};
    std::int64_t seen = last.load();
    for (;;) {
        const std::int64_t now = WidenTickCount(seen, ::GetTickCount());
        // Only a newer reading moves the last one on; compare_exchange refreshes seen on failure.
        if (now <= seen || last.compare_exchange_weak(seen, now))
            return now;
    }
}

std::int64_t SystemElapsedClock()
{
    // Not in the headers for the Windows XP target the program declares; bound once.
    using TickCount64 = ULONGLONG(WINAPI *)();
    static const TickCount64 tickCount64 = LateBound<TickCount64>("kernel32.dll", "GetTickCount64");
    return tickCount64 ? static_cast<std::int64_t>(tickCount64()) : WidenedTickCount();
}

std::atomic<ElapsedClock> elapsedClock{&SystemElapsedClock};
