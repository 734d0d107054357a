// A message a worker posts to a window, together with a flag only this process can raise.
//
// Any program on the desktop can post any message number to any window, and the finish and the
// reminder keep the fixed numbers they have always had. The window acts on such a message only
// when the flag says that one of its own workers posted it.
#pragma once

#include <windows.h>

#include <atomic>

class Announcement {
public:
    // On the worker: raise the flag, then post the message (which carries nothing).
    void Post(HWND window, UINT message)
    {
        Raise();
        ::PostMessageA(window, message, 0, 0);
    }
    void Raise() { raised = true; }
    // On the window's thread: whether the message came from our worker; consumes the flag.
    bool Take() { return raised.exchange(false); }
    // Forgets what was announced and not taken (by a run stopped meanwhile).
    void Clear() { raised = false; }

private:
    std::atomic<bool> raised{false};
};
