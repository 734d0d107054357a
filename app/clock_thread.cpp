#include "app/clock_thread.h"

#include "core/wall_clock.h"
#include "framework/dialog.h"
#include "framework/local_time.h"
#include "res/resource.h"

namespace {
constexpr DWORD kPollMs = 200;
}

bool BreakDownLocal(std::int64_t timePoint, reminder::LocalTime &local)
{
    SYSTEMTIME time;
    if (!BreakDownLocalTime(timePoint, time))
        return false;
    local = {time.wSecond, time.wMinute, time.wHour, time.wDay, time.wMonth - 1, time.wYear - 1900, time.wDayOfWeek};
    return true;
}

std::int32_t LocalTimeOfDay(std::int32_t timePoint)
{
    reminder::LocalTime local;
    if (!BreakDownLocal(timePoint, local))
        return reminder::UtcTimeOfDay(timePoint);
    return reminder::SecondsSinceMidnight(local);
}

void ClockThread(ClockRun run)
{
    std::int64_t stamp = WallClockNow();
    if (run.stop->IsSet())
        return;
    reminder::SecondWatch watch;
    if (reminder::LocalTime start; BreakDownLocal(stamp, start))
        watch = reminder::SecondWatch(start);
    const auto countdownRunning = [&run] {
        bool running = false;
        RunOnWindowThread(run.window, [&] { running = run.countdownRunning(); });
        return running;
    };
    reminder::StatusText shownDate{};
    // Waiting on the stop event instead of sleeping ends the worker as soon as the exit asks.
    while (!run.stop->Wait(kPollMs)) {
        const std::int64_t now = WallClockNow();
        // A clock set back shows its new time at once rather than freezing the status line
        // until the old time comes round again.
        if (now == stamp)
            continue;
        const reminder::CatchUp seen =
            reminder::CatchUpTo(watch, stamp, now, BreakDownLocal, *run.settings, LocalTimeOfDay, countdownRunning);
        stamp = now;
        if (!seen.nowKnown)
            continue;
        const reminder::SecondActions &actions = seen.actions;
        const reminder::LocalTime &local = seen.now;
        if (actions.newLayout && run.newDailyLayout)
            RunOnWindowThread(run.window, run.newDailyLayout);
        if (actions.remind)
            run.reminder->Post(run.window, WM_REMINDER_DUE);

        const reminder::StatusText date = reminder::FormatStatusDate(local);
        if (date != shownDate) {
            ::SetDlgItemTextA(run.window, IDC_STATUS_DATE, date.data());
            shownDate = date;
        }
        ::SetDlgItemTextA(run.window, IDC_STATUS_TIME, reminder::FormatStatusTime(local).data());
    }
}
