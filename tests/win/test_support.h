// Helpers of the window tests.
#pragma once

#include "framework/late_bound.h"

#include <windows.h>

#include <functional>

// Answers this thread's messages until the condition holds; false on time-out.
inline bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

namespace test_support_detail {
struct OtherWindow {
    HWND known;
    HWND found;
};
inline BOOL CALLBACK FindOtherWindow(HWND candidate, LPARAM parameter)
{
    auto *search = reinterpret_cast<OtherWindow *>(parameter);
    if (candidate != search->known && ::IsWindowVisible(candidate)) {
        search->found = candidate;
        return FALSE;
    }
    return TRUE;
}
} // namespace test_support_detail

// A visible top-level window of the thread other than the known one: the box, chooser or dialog
// that opened on top of it; null if there is none.
inline HWND OtherVisibleWindow(DWORD thread, HWND known)
{
    test_support_detail::OtherWindow search{known, nullptr};
    ::EnumThreadWindows(thread, test_support_detail::FindOtherWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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
