#include "app/countdown_thread.h"

#include "app/wall_clock.h"
#include "framework/dialog.h"
#include "res/resource.h"

namespace {
constexpr DWORD kPollMs = 100;
}

void CountdownThread(CountdownRun run)
{
    countdown::Counter &counter = run.counter;
    std::int64_t stamp = WallClockNow();
    const std::int64_t deadline = countdown::Deadline(stamp, {counter.minutes, counter.seconds});
    if (run.stop->IsSet())
        return;
    // Waiting on the stop event instead of sleeping ends the worker as soon as Stop comes, so
    // nothing is posted or written after it.
    while (!run.stop->Wait(kPollMs)) {
        if (counter.direction < 0 && stamp >= deadline) {
            ::PostMessageA(run.window, WM_COUNTDOWN_FINISHED, 0, 0);
            return;
        }
        const std::int64_t now = WallClockNow();
        if (now - stamp < 1)
            continue;
        const bool carried = countdown::Tick(counter);
        bool current = false;
        RunOnWindowThread(run.window, [&] { current = run.applyTick(counter, carried); });
        if (!current)
            return;
        stamp = now;
    }
}
