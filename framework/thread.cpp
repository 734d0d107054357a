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
    HANDLE thread = ::CreateThread(nullptr, 0, ThreadMain, parameter, 0, nullptr);
    if (!thread) {
        delete parameter;
        handle.reset();
        return false;
    }
    handle.reset(thread);
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

void WorkerThread::Terminate(DWORD exitCode) const
{
    if (IsRunning() && ::TerminateThread(handle.get(), exitCode))
        ++forcedThreadEnds;
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
    // A worker that has not seen its stop signal yet would stay alive if the signal were
    // cleared under it.
    if (thread.IsRunning())
        Stop(earlierWorkerTimeoutMs);
    stop.Reset();
    return thread.Start(std::move(body));
}

void StoppableWorker::Stop(DWORD timeoutMs)
{
    stop.Set();
    if (!thread.WaitPumpingSent(timeoutMs))
        thread.Terminate();
}
