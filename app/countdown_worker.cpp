#include "app/countdown_worker.h"

#include "app/countdown_thread.h"
#include "app/process_objects.h"
#include "res/resource.h"

namespace {
constexpr DWORD kEarlierWorkerTimeoutMs = 1000;
}

bool CountdownWorker::Start(HWND window, const countdown::Counter &counter, ShowTick show)
{
    const int runBefore = runNumber;
    if (worker.IsRunning())
        worker.Stop(kEarlierWorkerTimeoutMs);
    // That wait answers sent messages: a Stop answered there (the program's end) has the last word.
    if (runNumber != runBefore)
        return false;
    MSG stale;
    while (::PeekMessageA(&stale, window, WM_COUNTDOWN_FINISHED, WM_COUNTDOWN_FINISHED, PM_REMOVE)) {
    }
    TheFinishAnnouncement().Clear();
    const int run = ++runNumber;
    CountdownRun countdownRun{window, &worker.StopEvent(), &TheFinishAnnouncement(), counter,
                              [this, run, show = std::move(show)](const countdown::Counter &ticked, bool carried) {
                                  if (run != runNumber)
                                      return false;
                                  show(ticked, carried);
                                  return true;
                              }};
    return worker.Start([countdownRun] { CountdownThread(countdownRun); }, kEarlierWorkerTimeoutMs);
}

void CountdownWorker::Stop()
{
    worker.RequestStop();
    ++runNumber;
}

void CountdownWorker::StopAndWait(DWORD timeoutMs)
{
    ++runNumber;
    worker.Stop(timeoutMs);
}
