// Worker threads, events, and the wait that keeps answering sent messages.
#pragma once

#include "framework/handles.h"

#include <atomic>
#include <functional>

class Event {
public:
    Event(bool manualReset, bool initiallySet) : handle(::CreateEventA(nullptr, manualReset, initiallySet, nullptr)) {}
    void Set() const { ::SetEvent(handle.get()); }
    void Reset() const { ::ResetEvent(handle.get()); }
    // Polls the event; for an auto-reset event a true result consumes the signal.
    bool IsSet() const { return Wait(0); }
    bool Wait(DWORD milliseconds) const { return ::WaitForSingleObject(handle.get(), milliseconds) == WAIT_OBJECT_0; }
    HANDLE get() const { return handle.get(); }

private:
    UniqueKernelHandle handle;
};

class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;
    // A worker still running when its object goes is left to finish on its own.
    ~WorkerThread() = default;

    // Starts the body on a new thread; false when no thread could be created.
    bool Start(std::function<void()> body);
    bool IsRunning() const;
    // True when the thread has ended within the time.
    bool Wait(DWORD milliseconds) const;
    // The same, for the UI thread: messages sent to its windows meanwhile are answered, so a
    // worker blocked in a hand-over (RunOnWindowThread) can finish.
    bool WaitPumpingSent(DWORD milliseconds) const;
    // The last resort; counted in ForcedThreadEnds. True when it ended a running thread.
    bool Terminate(DWORD exitCode = 1) const;
    // Whether the caller is this worker's thread (of the newest start).
    bool IsCurrent() const { return id.load() == ::GetCurrentThreadId(); }
    HANDLE get() const { return handle.get(); }

private:
    UniqueKernelHandle handle;
    std::atomic<DWORD> id{0};
};

// A worker together with its stop signal (auto-reset), which its body watches.
//
// The waits below answer sent messages, so anything the program does in answer to one (a session
// end above all) can run inside them: a Stop inside a Stop's wait does its own whole stop, and a
// Stop inside a Start's wait has the last word.
class StoppableWorker {
public:
    // Lets a worker of an earlier start end first (see Stop), then starts the body with the
    // signal cleared. False when no thread could be created, when a Stop came while the earlier
    // worker was waited for, or when called inside a wait for this worker (whose thread it would
    // replace under that wait).
    bool Start(std::function<void()> body, DWORD earlierWorkerTimeoutMs);
    // Asks the worker to end without waiting for it; from any thread.
    void RequestStop()
    {
        ++stopRequests;
        stop.Set();
    }
    // Asks the worker to end and waits for it, answering sent messages; a worker still running
    // near the end of the time is ended by force, the last resort, and the rest of the time is
    // left for that end to take effect: the whole stop keeps within the time. False when it had
    // to be forced. Not from the worker itself.
    bool Stop(DWORD timeoutMs)
    {
        ++stopRequests;
        return EndWithin(timeoutMs);
    }
    bool IsRunning() const { return thread.IsRunning(); }
    bool IsCurrent() const { return thread.IsCurrent(); }
    const Event &StopEvent() const { return stop; }

private:
    bool EndWithin(DWORD timeoutMs);

    WorkerThread thread;
    Event stop{false, false};
    std::atomic<unsigned> stopRequests{0};
    // The thread that waits for this worker now (0: none); a thread ended by force in its wait
    // leaves its id, which blocks no other thread.
    std::atomic<DWORD> waiter{0};
};

// How many threads this process has ended by force so far. A clean run ends with 0; the
// program reports the number as its exit code.
int ForcedThreadEnds();

// Waits for a handle while answering messages sent to this thread's windows.
bool WaitPumpingSent(HANDLE handle, DWORD milliseconds);
