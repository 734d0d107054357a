// The plan and the verdict of the soak run, free of the window system: when each Stop/Reset/Start
// cycle falls, which layout each minute shows, and whether the object counts came back.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace soak {

// The layout commands in the order the run walks them, one per minute: Plain, Day, Night,
// Summer, Winter, automatic.
inline constexpr std::array<unsigned, 6> kLayoutCycle{40036, 40012, 40011, 40029, 40013, 40030};
inline constexpr std::array<const char *, 6> kLayoutNames{"plain", "day", "night", "summer", "winter", "auto"};

// The layout chosen at the start of minute m (0-based).
inline unsigned LayoutCommandAt(int minute) { return kLayoutCycle[static_cast<unsigned>(minute) % kLayoutCycle.size()]; }
inline const char *LayoutNameAt(int minute) { return kLayoutNames[static_cast<unsigned>(minute) % kLayoutNames.size()]; }

// A thousand cycles an hour, at least one a run.
inline int CyclesFor(int minutes) { return minutes <= 0 ? 0 : std::max(1, (1000 * minutes + 30) / 60); }

// Seconds from the start of the run to cycle k of n spread evenly over the run, each in the
// middle of its share of the time.
inline double CycleAt(int k, int cycles, int minutes)
{
    return cycles <= 0 ? 0 : (k + 0.5) * minutes * 60.0 / cycles;
}

// One sample of the program's objects; -1 where a count could not be taken.
struct Counts {
    long gdi = -1;
    long user = -1;
    long threads = -1;
    long handles = -1;
};

inline constexpr std::array<const char *, 4> kCountNames{"gdi", "user", "threads", "handles"};

inline long CountAt(const Counts &c, std::size_t i)
{
    const std::array<long, 4> all{c.gdi, c.user, c.threads, c.handles};
    return all[i];
}

// The counts that did not come back: the last sample against the baseline (the first after the
// warm-up). A count that could not be taken at either end is a failure too: a run that measured
// nothing must not pass.
inline std::vector<std::string> Grown(const Counts &baseline, const Counts &last)
{
    std::vector<std::string> grown;
    for (std::size_t i = 0; i < kCountNames.size(); ++i) {
        const long before = CountAt(baseline, i), after = CountAt(last, i);
        if (before < 0 || after < 0 || after != before) {
            char line[96];
            std::snprintf(line, sizeof line, "%s %ld -> %ld", kCountNames[i], before, after);
            grown.emplace_back(line);
        }
    }
    return grown;
}

} // namespace soak
