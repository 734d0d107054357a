// The one way the window tests run a dialog: modally on the test's own thread, with the test body
// running inside the dialog's modal loop (from a thread timer), as a user's input would arrive.
#pragma once

#include "framework/dialog.h"
#include "tests/support/controls.h"

#include <windows.h>

#include <functional>
#include <map>

// Runs the function once, after the delay, inside whichever message loop this thread runs then:
// the dialog's, or that of a box or dialog opened on top of it. The id cancels it.
namespace dialog_run_detail {
inline std::map<UINT_PTR, std::function<void()>> &Pending()
{
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}
inline void CALLBACK RunPending(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    const auto found = Pending().find(timer);
    if (found == Pending().end())
        return;
    const std::function<void()> run = std::move(found->second);
    Pending().erase(found);
    run();
}
} // namespace dialog_run_detail

inline UINT_PTR RunLater(std::function<void()> run, UINT delayMs = 1)
{
    const UINT_PTR timer = ::SetTimer(nullptr, 0, delayMs, dialog_run_detail::RunPending);
    dialog_run_detail::Pending()[timer] = std::move(run);
    return timer;
}

inline void CancelLater(UINT_PTR timer)
{
    if (dialog_run_detail::Pending().erase(timer))
        ::KillTimer(nullptr, timer);
}

// What a dialog that the body left open returns, unless the run says otherwise.
constexpr INT_PTR kLeftOpen = -7;

struct RunOptions {
    // The body waits until the dialog shows on the screen, painted.
    bool waitUntilShown = false;
    // The body waits while a message box of this thread is open (one the dialog's start-up shows).
    bool waitForNoBox = false;
    // Ends a dialog that the body left open; empty: EndDialog(kLeftOpen).
    std::function<void(Dialog &)> endLeftOpen;
};

inline std::function<void(Dialog &)> EndWith(INT_PTR result)
{
    return [result](Dialog &dialog) { dialog.EndDialog(result); };
}
// For a body that leaves the dialog to end itself (through the keys or messages it posted).
inline void LeaveOpen(Dialog &) {}

namespace dialog_run_detail {
inline BOOL CALLBACK FindBox(HWND window, LPARAM found)
{
    if (!::IsWindowVisible(window) || !IsMessageBox(window))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}
} // namespace dialog_run_detail

// A visible message box of the thread, or null.
inline HWND OpenMessageBox(DWORD thread)
{
    HWND box = nullptr;
    ::EnumThreadWindows(thread, dialog_run_detail::FindBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

// Runs the dialog modally; once it is up, the body runs inside its modal loop. Returns the result.
inline INT_PTR RunModal(Dialog &dialog, const std::function<void(HWND)> &body, const RunOptions &options = {})
{
    UINT_PTR timer = 0;
    std::function<void()> attempt = [&] {
        timer = 0;
        HWND window = dialog.GetSafeHwnd();
        if ((options.waitUntilShown && (!window || !::IsWindowVisible(window))) ||
            (options.waitForNoBox && OpenMessageBox(::GetCurrentThreadId()))) {
            timer = RunLater(attempt, 10);
            return;
        }
        if (options.waitUntilShown)
            ::UpdateWindow(window);
        body(window);
        if (dialog.IsEnded())
            return;
        if (options.endLeftOpen)
            options.endLeftOpen(dialog);
        else
            dialog.EndDialog(kLeftOpen);
    };
    timer = RunLater(attempt);
    const INT_PTR result = dialog.DoModal();
    // A dialog that ended before the body ran leaves nothing behind.
    if (timer)
        CancelLater(timer);
    return result;
}
