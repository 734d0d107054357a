// The countdown's worker: its thread and stop signal, and the run number that tells a tick of
// the current run from one handed over by a run stopped meanwhile.
#pragma once

#include "core/countdown.h"
#include "framework/thread.h"

#include <functional>

class CountdownWorker {
public:
    // Shows a tick on the window's thread: stores the counter and refreshes the displays.
    using ShowTick = std::function<void(const countdown::Counter &counter, bool carried)>;

    // Starts a run from the counter. A worker of a run stopped a moment ago is waited for
    // first, and a finish message it left in the window's queue is dropped, so that it cannot
    // end the new run.
    bool Start(HWND window, const countdown::Counter &counter, ShowTick show);
    // Ends the current run without waiting for the thread: its later ticks change nothing.
    void Stop();
    // At exit: ends the run and waits for the thread (force after the time).
    void StopAndWait(DWORD timeoutMs);
    bool IsRunning() const { return worker.IsRunning(); }

private:
    StoppableWorker worker;
    int runNumber = 0;
};
