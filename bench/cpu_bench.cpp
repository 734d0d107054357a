// Drives the CPU benchmark's phases: brewbell.exe idle, brewbell.exe counting, the bare dialog
// idle, the bare dialog polling the clock. Wine does not report another process's CPU time, so
// bench/perf.sh reads it (and the peak memory) from the host at each "phase" line this program
// prints. Usage: cpu_bench [seconds per phase] [program beside this one, default brewbell.exe]
#include "bench/bench_driver.h"

#include <cstdio>
#include <cstdlib>

namespace {
void Phase(const char *name, DWORD milliseconds)
{
    std::printf("phase %s begin\n", name);
    std::fflush(stdout);
    ::Sleep(milliseconds);
    std::printf("phase %s end\n", name);
    std::fflush(stdout);
    // The reader takes its figures before the program changes state or ends.
    ::Sleep(1000);
}

void Close(bench::Process &process, HWND window)
{
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    process.WaitExit(5000);
}
} // namespace

int main(int argc, char **argv)
{
    const DWORD phaseMs = static_cast<DWORD>((argc > 1 ? std::atoi(argv[1]) : 60) * 1000);
    const char *program = argc > 2 ? argv[2] : "brewbell.exe";
    {
        bench::Process brewbell;
        if (!brewbell.Start(bench::BesideMe(program)))
            return 1;
        HWND window = brewbell.WaitForWindow();
        if (!window)
            return 1;
        for (int id : {1013, 1013}) // 00:00, so that Start counts up and never finishes
            bench::Click(window, id);
        ::Sleep(1000);
        Phase("brewbell-idle", phaseMs);
        bench::Click(window, 1007);
        Phase("brewbell-counting", phaseMs);
        bench::Click(window, 1007);
        Close(brewbell, window);
    }
    for (const char *mode : {"", "poll"}) {
        bench::Process bare;
        bare.Start(bench::BesideMe("bare_dialog.exe"), mode);
        HWND window = bare.WaitForWindow();
        ::Sleep(1000);
        Phase(*mode ? "bare-polling" : "bare-idle", phaseMs);
        Close(bare, window);
    }
    return 0;
}
