// A bare program to measure Brewbell against: an empty dialog and nothing else. With the
// argument "poll", a thread reads the clock every 100 ms, as a running countdown does.
#include <windows.h>

#include <cstring>
#include <ctime>

namespace {
volatile LONG stop = 0;

DWORD WINAPI PollClock(void *)
{
    while (!stop) {
        ::Sleep(100);
        volatile time_t now = std::time(nullptr);
        (void)now;
    }
    return 0;
}

INT_PTR CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(hwnd, 0);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    HANDLE poller = nullptr;
    if (std::strstr(commandLine, "poll"))
        poller = ::CreateThread(nullptr, 0, PollClock, nullptr, 0, nullptr);
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, BareProc, 0);
    stop = 1;
    if (poller) {
        ::WaitForSingleObject(poller, 1000);
        ::CloseHandle(poller);
    }
    return 0;
}
