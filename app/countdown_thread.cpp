#include "app/countdown_thread.h"

#include "core/elapsed_clock.h"
#include "framework/dialog.h"
#include "res/resource.h"

namespace {
constexpr DWORD kPollMs = 100;
}

void CountdownThread(CountdownRun run)
{
    countdown::Counter &counter = run.counter;
    countdown::RunClock clock = countdown::StartRunClock(ElapsedClockNow(), {counter.minutes, counter.seconds});
    if (run.stop->IsSet())
        return;
    // Waiting on the stop event instead of sleeping ends the worker as soon as Stop comes, so
    // nothing is posted or written after it.
    while (!run.stop->Wait(kPollMs)) {
        const countdown::PollResult poll = countdown::Poll(clock, counter.direction, ElapsedClockNow());
        if (poll == countdown::PollResult::Finish) {
            run.finish->Post(run.window, WM_COUNTDOWN_FINISHED);
            return;
        }
        if (poll == countdown::PollResult::Wait)
            continue;
        const bool carried = countdown::Tick(counter);
        bool current = false;
        RunOnWindowThread(run.window, [&] { current = run.applyTick(counter, carried); });
        if (!current)
            return;
    }
}
