// Start-up under Wine: from process start to the first visible window, Brewbell against a bare
// program that shows an empty dialog, started alternately in one run.
// Usage: startup_bench [rounds] [program other-program], programs beside this one.
#include "bench/bench_driver.h"

#include <cstdio>
#include <cstdlib>

namespace {
double TimeToWindow(const std::string &program)
{
    bench::Process process;
    const double start = bench::Seconds();
    if (!process.Start(program))
        return -1;
    HWND window = process.WaitForWindow();
    const double elapsed = bench::Seconds() - start;
    if (!window)
        return -1;
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    process.WaitExit(5000);
    return elapsed;
}
} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    const std::string brewbell = bench::BesideMe(argc > 3 ? argv[2] : "brewbell.exe");
    const std::string bare = bench::BesideMe(argc > 3 ? argv[3] : "bare_dialog.exe");
    TimeToWindow(brewbell); // warm the file cache and the prefix
    TimeToWindow(bare);
    std::vector<double> ours, theirs;
    for (int i = 0; i < rounds; ++i) {
        ours.push_back(TimeToWindow(brewbell));
        theirs.push_back(TimeToWindow(bare));
    }
    const double a = bench::Median(ours) * 1000, b = bench::Median(theirs) * 1000;
    std::printf("start-up to visible window, median of %d: %s %.1f ms, %s %.1f ms, ratio %.2f\n", rounds,
                brewbell.substr(brewbell.find_last_of('\\') + 1).c_str(), a,
                bare.substr(bare.find_last_of('\\') + 1).c_str(), b, b > 0 ? a / b : 0);
    return 0;
}
