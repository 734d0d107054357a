// The clock worker: once per wall-clock second it writes the status line, switches the automatic
// layout at midnight and posts the tea-time reminder when it is due.
#pragma once

#include "core/reminder_rules.h"
#include "framework/announcement.h"
#include "framework/thread.h"
#include "settings/settings.h"

#include <cstdint>
#include <functional>

struct ClockRun {
    // Holds the status line items and receives WM_REMINDER_DUE.
    HWND window;
    // Set at exit (auto-reset).
    const Event *stop;
    // Posts WM_REMINDER_DUE to the window.
    Announcement *reminder;
    // Read without copying, so changes take effect at the next second.
    const Settings *settings;
    // Both run on the window's thread: whether a countdown runs, and a new automatic layout.
    std::function<bool()> countdownRunning;
    std::function<void()> newDailyLayout;
};

// The thread body. Polls every 200 ms and handles each change of the wall-clock second once;
// seconds it missed are caught up within a short gap and skipped after a longer one
// (reminder::FirstSecondToHandle).
void ClockThread(ClockRun run);

// Local calendar time of a wall-clock reading; false only for readings beyond the calendar.
bool BreakDownLocal(std::int64_t timePoint, reminder::LocalTime &local);
// The local time of day of a stored time point; any 32-bit value has one.
std::int32_t LocalTimeOfDay(std::int32_t timePoint);
