// Helpers of the window tests: the shared ones, and a library that counts as missing.
#pragma once

#include "framework/late_bound.h"
#include "tests/support/controls.h"

#include <windows.h>

#include <thread>

// While it lives, one library counts as missing, as on a system without it.
class RefusedLibrary {
public:
    explicit RefusedLibrary(const char *dll) : previous_(SetLibraryRefusal(&RefuseIt))
    {
        refused_ = dll;
    }
    ~RefusedLibrary()
    {
        SetLibraryRefusal(previous_);
        refused_ = "";
    }
    RefusedLibrary(const RefusedLibrary &) = delete;
    RefusedLibrary &operator=(const RefusedLibrary &) = delete;

private:
    static bool RefuseIt(const char *dll) { return ::lstrcmpiA(dll, refused_) == 0; }

    static inline const char *refused_ = "";
    LibraryRefusal previous_;
};

// A session end for the window, sent from another thread as Windows sends it: the next wait on
// the window's thread that answers sent messages takes it, and none before.
inline void QueueSessionEnd(HWND window)
{
    std::thread([window] { ::SendNotifyMessageA(window, WM_ENDSESSION, TRUE, 0); }).join();
}
