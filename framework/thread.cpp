#include "framework/thread.h"

#include <atomic>
#include <memory>

namespace {
std::atomic<int> forcedThreadEnds{0};

DWORD WINAPI ThreadMain(void *parameter)
{
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()> *>(parameter));
    try {
        (*body)();
    } catch (...) {
        // A worker's failure ends the worker, not the program.
    }
    return 0;
}
} // namespace

bool WorkerThread::Start(std::function<void()> body)
{
    auto *parameter = new std::function<void()>(std::move(body));
    // Held until its id is known, so that the body can already tell its own thread (IsCurrent).
    DWORD newId = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, ThreadMain, parameter, CREATE_SUSPENDED, &newId);
    if (!thread) {
        delete parameter;
        handle.reset();
        id = 0;
        return false;
    }
    handle.reset(thread);
    id = newId;
    ::ResumeThread(thread);
    return true;
}

bool WorkerThread::IsRunning() const
{
    DWORD code = 0;
    return handle && ::GetExitCodeThread(handle.get(), &code) && code == STILL_ACTIVE;
}

bool WorkerThread::Wait(DWORD milliseconds) const
{
    return !handle || ::WaitForSingleObject(handle.get(), milliseconds) == WAIT_OBJECT_0;
}

bool WorkerThread::WaitPumpingSent(DWORD milliseconds) const
{
    return !handle || ::WaitPumpingSent(handle.get(), milliseconds);
}

bool WorkerThread::Terminate(DWORD exitCode) const
{
    if (!IsRunning() || !::TerminateThread(handle.get(), exitCode))
        return false;
    ++forcedThreadEnds;
    return true;
}

int ForcedThreadEnds() { return forcedThreadEnds.load(); }

bool WaitPumpingSent(HANDLE handle, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD left = elapsed >= milliseconds ? 0 : milliseconds - elapsed;
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        // Peeking answers the pending sent messages; nothing is removed from the queue.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool StoppableWorker::Start(std::function<void()> body, DWORD earlierWorkerTimeoutMs)
{
    if (waiter == ::GetCurrentThreadId())
        return false;
    const unsigned requestsBefore = stopRequests;
    // A worker that has not seen its stop signal yet would stay alive if the signal were
    // cleared under it.
    if (thread.IsRunning())
        EndWithin(earlierWorkerTimeoutMs);
    if (stopRequests != requestsBefore)
        return false;
    stop.Reset();
    return thread.Start(std::move(body));
}

bool StoppableWorker::EndWithin(DWORD timeoutMs)
{
    stop.Set();
    // TerminateThread only begins the end; a tenth of the time is kept for it to take effect.
    const DWORD forcedEndMs = timeoutMs / 10;
    const DWORD outerWaiter = waiter.exchange(::GetCurrentThreadId());
    const bool ended = thread.WaitPumpingSent(timeoutMs - forcedEndMs);
    waiter = outerWaiter;
    if (ended || !thread.Terminate())
        return true; // on its own, perhaps just now
    // What the worker held is released once its end has taken effect.
    thread.Wait(forcedEndMs);
    return false;
}
