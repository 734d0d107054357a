// A bare program to measure Brewbell against: an empty dialog and nothing else. With the
// argument "poll" it does what a counting timer cannot do without: one thread wakes every 100 ms
// and, each new second, rewrites the window title; another wakes every 200 ms and, each new
// second, rewrites one text. Both write from their own thread, so every rewrite is a call into
// the window's thread, as in the timer.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {
HANDLE stopEvent = nullptr;
HWND dialog = nullptr;
HANDLE threads[2] = {};
constexpr int kTextId = 100;

struct Poller {
    DWORD periodMs;
    bool title;
};

DWORD WINAPI Poll(void *parameter)
{
    const Poller &poller = *static_cast<const Poller *>(parameter);
    time_t shown = std::time(nullptr);
    while (::WaitForSingleObject(stopEvent, poller.periodMs) == WAIT_TIMEOUT) {
        const time_t now = std::time(nullptr);
        if (now == shown)
            continue;
        shown = now;
        char text[32];
        const long long seconds = static_cast<long long>(now);
        std::snprintf(text, sizeof text, "%s%.2lld:%.2lld", poller.title ? "Bare - " : "", seconds / 60 % 60,
                      seconds % 60);
        if (poller.title)
            ::SetWindowTextA(dialog, text);
        else
            ::SetDlgItemTextA(dialog, kTextId, text);
    }
    return 0;
}

INT_PTR CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        dialog = hwnd;
        // Only the polling mode has the text; the start-up comparison stays an empty dialog.
        if (lParam)
            ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 10, 120, 16, hwnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)), nullptr, nullptr);
        for (HANDLE thread : threads)
            if (thread)
                ::ResumeThread(thread);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(hwnd, 0);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const bool poll = std::strstr(commandLine, "poll") != nullptr;
    stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    static const Poller pollers[] = {{100, true}, {200, false}};
    if (poll)
        for (int i = 0; i < 2; ++i)
            threads[i] = ::CreateThread(nullptr, 0, Poll, const_cast<Poller *>(&pollers[i]), CREATE_SUSPENDED, nullptr);
    // The pollers start once the window exists.
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, BareProc, poll ? 1 : 0);
    ::SetEvent(stopEvent);
    for (HANDLE thread : threads) {
        if (!thread)
            continue;
        ::WaitForSingleObject(thread, 1000);
        ::CloseHandle(thread);
    }
    ::CloseHandle(stopEvent);
    return 0;
}
