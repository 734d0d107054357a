// A long run of brewbell.exe that watches its objects: count-up running the whole time, Stop,
// Reset and Start again about a thousand times an hour, the layout changed every minute, and
// once a minute the process's GDI objects, USER objects (windows, menus, icons), threads and
// kernel handles counted. Prints one line per minute and PASS when every count ends where it
// began.
// Usage: soak_bench [minutes, default 60] [--gdi-trace]
//   --gdi-trace starts the program with Wine's GDI trace on (to standard error), so the live
//   count Wine prints can be set beside the one read here.
#include "bench/bench_driver.h"
#include "bench/process_counts.h"
#include "bench/probe/soak_probe.h"
#include "bench/soak_plan.h"
#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Windows, menus and icons as the process itself sees them: the probe library, hooked into the
// program's window thread for the moment of one question. False when it did not answer.
bool ProbeUserObjects(HWND window, soak_probe::UserCounts &counts)
{
    static const HMODULE library = ::LoadLibraryA(bench::BesideMe("soak_probe.dll").c_str());
    static const auto hook = library ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void *>(
                                           ::GetProcAddress(library, "SoakProbeHook")))
                                     : nullptr;
    if (!hook)
        return false;
    const HHOOK installed = ::SetWindowsHookExA(WH_GETMESSAGE, hook, library, ::GetWindowThreadProcessId(window, nullptr));
    if (!installed)
        return false;
    ::PostMessageA(window, soak_probe::Message(), ::GetCurrentThreadId(), 0);
    bool answered = false;
    const DWORD start = ::GetTickCount();
    while (!answered && ::GetTickCount() - start < 20000) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message == soak_probe::Message()) {
                counts.windows = LOWORD(message.wParam);
                counts.menus = HIWORD(message.wParam);
                counts.icons = static_cast<long>(message.lParam);
                answered = true;
            }
        if (!answered)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
    }
    ::UnhookWindowsHookEx(installed);
    return answered;
}

// ---- the program ----

std::string Text(HWND window)
{
    char text[128] = "";
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &ignored);
    return text;
}

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(10);
    }
    return true;
}

// Stop, Reset to 00:00 and Start again at 00:00, so that the run goes on counting up.
bool Cycle(HWND window)
{
    const HWND start = ::GetDlgItem(window, IDC_BUTTON_START);
    bench::Click(window, IDC_BUTTON_START);
    if (!WaitFor([&] { return Text(start) == "&Start"; }))
        return false;
    bench::Click(window, IDC_BUTTON_RESET);
    if (!WaitFor([&] { return Text(window) == "Brewbell - 00:00"; }))
        return false;
    bench::Click(window, IDC_BUTTON_START);
    return WaitFor([&] { return Text(start) == "&Stop"; });
}

soak::Counts Sample(const bench::Process &program, HWND window, std::string &detail)
{
    soak::Counts counts;
    counts.gdi = process_counts::CountGdiObjects(program.info.hProcess);
    soak_probe::UserCounts user;
    char text[96];
    if (ProbeUserObjects(window, user)) {
        counts.user = user.windows + user.menus + user.icons;
        std::snprintf(text, sizeof text, "(%ld windows, %ld menus, %ld icons)", user.windows, user.menus, user.icons);
    } else {
        // Without the probe: the windows alone, as another process sees them.
        counts.user = process_counts::CountWindows(program.info.dwProcessId);
        std::snprintf(text, sizeof text, "(windows only: the probe did not answer)");
    }
    detail = text;
    counts.threads = process_counts::CountThreads(program.info.dwProcessId);
    counts.handles = process_counts::CountKernelHandles(program.info.dwProcessId);
    return counts;
}

void PrintSample(const char *label, const char *layout, const soak::Counts &c, const std::string &detail,
                 const std::string &title)
{
    std::printf("%-8s %-7s gdi %5ld  user %3ld  threads %3ld  handles %4ld  %s  %s\n", label, layout, c.gdi, c.user,
                c.threads, c.handles, title.c_str(), detail.c_str());
    std::fflush(stdout);
}

// A clean start: no stored settings but the reminder off, so that no box of its own interrupts
// the run.
bool DeleteKeyTree(HKEY parent, const std::string &name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    char sub[256];
    bool emptied = true;
    for (DWORD length = sizeof sub; emptied && ::RegEnumKeyExA(key, 0, sub, &length, nullptr, nullptr, nullptr,
                                                               nullptr) == ERROR_SUCCESS;
         length = sizeof sub)
        emptied = DeleteKeyTree(key, sub);
    ::RegCloseKey(key);
    return ::RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

void PrepareRegistry()
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Brewbell\\Menu", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) == ERROR_SUCCESS) {
        const DWORD off = 0;
        ::RegSetValueExA(key, "Remind", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&off), sizeof off);
        ::RegCloseKey(key);
    }
}

} // namespace

int main(int argc, char **argv)
{
    int minutes = 60;
    bool gdiTrace = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gdi-trace") == 0)
            gdiTrace = true;
        else
            minutes = std::max(1, std::atoi(argv[i]));
    }
    const int cycles = soak::CyclesFor(minutes);

    PrepareRegistry();
    bench::Process program;
    if (gdiTrace)
        ::SetEnvironmentVariableA("WINEDEBUG", "+gdi");
    const bool started = program.Start(bench::BesideMe("brewbell.exe"));
    if (gdiTrace)
        ::SetEnvironmentVariableA("WINEDEBUG", "-all");
    const HWND window = started ? program.WaitForWindow() : nullptr;
    if (!window) {
        std::printf("FAIL: brewbell.exe did not show its window\n");
        return 1;
    }
    std::printf("soak: %d min, %d Stop/Reset/Start cycles, layout changed every minute, process %lu\n", minutes,
                cycles, program.info.dwProcessId);
    bench::Click(window, IDC_BUTTON_START); // 00:00: counts up
    ::Sleep(3000);

    const double begin = bench::Seconds();
    const auto elapsed = [begin] { return bench::Seconds() - begin; };
    std::string detail;
    const soak::Counts warmUp = Sample(program, window, detail);
    PrintSample("warm-up", "auto", warmUp, detail, Text(window));
    ::PostMessageA(window, WM_COMMAND, soak::LayoutCommandAt(0), 0);

    std::vector<soak::Counts> series;
    int done = 0, failed = 0;
    double lastCycle = -10;
    for (int minute = 1; minute <= minutes; ++minute) {
        const double sampleAt = minute * 60.0;
        while (done < cycles && soak::CycleAt(done, cycles, minutes) < sampleAt) {
            const double wait = soak::CycleAt(done, cycles, minutes) - elapsed();
            if (wait > 0)
                ::Sleep(static_cast<DWORD>(wait * 1000));
            failed += !Cycle(window);
            lastCycle = elapsed();
            ++done;
        }
        // A second after the last cycle the stopped worker has surely ended.
        const double wait = std::max(sampleAt, lastCycle + 1.5) - elapsed();
        if (wait > 0)
            ::Sleep(static_cast<DWORD>(wait * 1000));
        if (program.WaitExit(0)) {
            DWORD code = 0;
            ::GetExitCodeProcess(program.info.hProcess, &code);
            std::printf("FAIL: brewbell.exe ended in minute %d with exit code 0x%lx\n", minute, code);
            return 1;
        }
        if (program.Window(true)) {
            std::printf("FAIL: brewbell.exe shows a message box in minute %d\n", minute);
            return 1;
        }
        series.push_back(Sample(program, window, detail));
        char label[16];
        std::snprintf(label, sizeof label, "min %d", minute);
        PrintSample(label, soak::LayoutNameAt(minute - 1), series.back(), detail, Text(window));
        if (minute < minutes)
            ::PostMessageA(window, WM_COMMAND, soak::LayoutCommandAt(minute), 0);
    }
    // The last word in the layout of the baseline, so that both ends show the same pictures.
    ::PostMessageA(window, WM_COMMAND, soak::LayoutCommandAt(0), 0);
    ::Sleep(5000);
    const soak::Counts last = Sample(program, window, detail);
    PrintSample("end", soak::LayoutNameAt(0), last, detail, Text(window));

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = program.WaitExit(5000);
    std::printf("%d of %d cycles done, %d failed; the program %s\n", done, cycles, failed,
                ended ? "ended on close" : "did not end on close");
    const std::vector<std::string> grown = soak::Grown(series.front(), last);
    for (const std::string &line : grown)
        std::printf("grown: %s\n", line.c_str());
    const bool pass = grown.empty() && failed == 0 && ended;
    std::printf("%s\n", pass ? "PASS" : "FAIL");
    return pass ? 0 : 1;
}
