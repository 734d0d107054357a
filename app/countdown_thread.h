// The worker that runs a countdown on the elapsed clock (core/elapsed_clock.h), which a change of
// the wall clock does not move.
#pragma once

#include "core/countdown.h"
#include "framework/announcement.h"
#include "framework/thread.h"

#include <functional>

struct CountdownRun {
    // Receives the ticks (through the hand-over) and WM_COUNTDOWN_FINISHED.
    HWND window;
    // Set by Stop and at exit (auto-reset).
    const Event *stop;
    // Posts WM_COUNTDOWN_FINISHED to the window.
    Announcement *finish;
    // The set time, direction and hours at Start.
    countdown::Counter counter;
    // Runs on the window's thread for each tick: stores the counter and shows it. Returns false
    // when the run has been stopped meanwhile; it must then change nothing.
    std::function<bool(const countdown::Counter &counter, bool carried)> applyTick;
};

// The thread body. Polls every 100 ms; the ticks come at whole seconds since Start, one for each
// poll that sees a new second however many passed. A run down ends at the first poll after the
// tick that reached its deadline, at once after a sleep past it (countdown::Poll).
void CountdownThread(CountdownRun run);
