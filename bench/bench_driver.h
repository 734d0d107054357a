// Starting and watching another program of the build, for the benchmarks.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

inline std::string BesideMe(const char *program)
{
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, length);
    return self.substr(0, self.find_last_of('\\') + 1) + program;
}

inline double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Process {
    PROCESS_INFORMATION info{};

    bool Start(const std::string &program, const std::string &arguments = "")
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + program + "\" " + arguments;
        return ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &info) != FALSE;
    }
    ~Process()
    {
        if (!info.hProcess)
            return;
        if (::WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0)
            ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }

    struct Search {
        DWORD process;
        bool messageBox;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM parameter)
    {
        auto *search = reinterpret_cast<Search *>(parameter);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != search->process || !::IsWindowVisible(window))
            return TRUE;
        if ((::GetDlgItem(window, 0xFFFF) != nullptr) != search->messageBox)
            return TRUE;
        search->found = window;
        return FALSE;
    }
    // The first visible top-level window (or message box) of the process, or null.
    HWND Window(bool messageBox = false) const
    {
        Search search{info.dwProcessId, messageBox, nullptr};
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForWindow(bool messageBox = false, DWORD timeoutMs = 20000, DWORD pollMs = 1) const
    {
        const DWORD start = ::GetTickCount();
        for (;;) {
            if (HWND window = Window(messageBox))
                return window;
            if (::GetTickCount() - start > timeoutMs)
                return nullptr;
            ::Sleep(pollMs);
        }
    }
    bool WaitExit(DWORD timeoutMs) const { return ::WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    // Kernel plus user time so far, in seconds.
    double CpuSeconds() const
    {
        FILETIME created, exited, kernel, user;
        if (!::GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user))
            return 0;
        auto value = [](FILETIME t) {
            return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
        };
        return (value(kernel) + value(user)) / 1e7;
    }
};

// Clicks a button of the program's window (waits until the click is handled).
inline void Click(HWND window, int id) { ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

inline std::string WindowText(HWND window)
{
    char text[128] = "";
    const int length = ::GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace bench
