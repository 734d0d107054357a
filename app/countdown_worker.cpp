#include "app/countdown_worker.h"

#include "app/countdown_thread.h"
#include "res/resource.h"

namespace {
constexpr DWORD kEarlierWorkerTimeoutMs = 1000;
}

bool CountdownWorker::Start(HWND window, const countdown::Counter &counter, ShowTick show)
{
    if (worker_.IsRunning())
        worker_.Stop(kEarlierWorkerTimeoutMs);
    MSG stale;
    while (::PeekMessageA(&stale, window, WM_COUNTDOWN_FINISHED, WM_COUNTDOWN_FINISHED, PM_REMOVE)) {
    }
    const int run = ++runNumber_;
    CountdownRun countdownRun{window, &worker_.StopEvent(), counter,
                              [this, run, show = std::move(show)](const countdown::Counter &ticked, bool carried) {
                                  if (run != runNumber_)
                                      return false;
                                  show(ticked, carried);
                                  return true;
                              }};
    return worker_.Start([countdownRun] { CountdownThread(countdownRun); }, kEarlierWorkerTimeoutMs);
}

void CountdownWorker::Stop()
{
    worker_.RequestStop();
    ++runNumber_;
}

void CountdownWorker::StopAndWait(DWORD timeoutMs)
{
    ++runNumber_;
    worker_.Stop(timeoutMs);
}
