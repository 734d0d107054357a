// How exactly a countdown ends: brewbell.exe counts down a few seconds again and again; the
// moment its finish message appears is compared with the exact duration from the Start click.
#include "bench/bench_driver.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    const int seconds = 2;
    bench::Process program;
    if (!program.Start(bench::BesideMe("brewbell.exe")))
        return 1;
    HWND window = program.WaitForWindow();
    if (!window)
        return 1;
    // Reset takes turns between the last start's time and 00:00: at most two presses reach 00:00
    // whatever was stored. Then set the duration.
    for (int press = 0; press < 2 && bench::WindowText(window) != "Brewbell - 00:00"; ++press)
        bench::Click(window, 1013);
    for (int i = 0; i < seconds; ++i)
        bench::Click(window, 1006);

    std::vector<double> errors;
    std::srand(12345);
    for (int run = 0; run < runs; ++run) {
        ::Sleep(static_cast<DWORD>(std::rand() % 1000)); // start anywhere within the worker's polls
        const double start = bench::Seconds();
        bench::Click(window, 1007);
        HWND box = program.WaitForWindow(true, 10000, 1);
        const double finished = bench::Seconds();
        if (!box)
            return 1;
        errors.push_back(finished - start - seconds);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        while (::IsWindow(box))
            ::Sleep(1);
    }
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    program.WaitExit(5000);

    std::vector<double> sorted = errors;
    std::sort(sorted.begin(), sorted.end());
    std::printf("finish against the exact %d s over %d runs: min %+.3f s, median %+.3f s, max %+.3f s\n", seconds, runs,
                sorted.front(), bench::Median(errors), sorted.back());
    // The run counts whole seconds from the Start click and ends at the poll after its last
    // tick: never early, and late by two polls of 100 ms at most, plus the box's way to the screen.
    const bool inside = sorted.front() > -0.05 && sorted.back() < 0.3;
    std::printf("every run inside (-0.05 s, +0.3 s): %s\n", inside ? "yes" : "NO");
    return inside ? 0 : 2;
}
