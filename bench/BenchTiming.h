#pragma once
// Timing helpers of the ratio benchmarks: the median of a few repetitions, so one slow run on a
// loaded machine does not make the figure.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace bench_timing {

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median time in seconds of `reps` runs of `work`.
inline double TimeOf(int reps, const std::function<void()>& work)
{
    std::vector<double> seconds;
    for (int i = 0; i < reps; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(seconds);
}

// The ratio benchmarks' options: --n N (the smaller studio's size) and --reps R (repetitions
// per figure, at least 1); the values given stay where an option is absent.
inline void ReadOptions(int argc, char** argv, uint32_t& n, int& reps)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--n") == 0) n = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        if (std::strcmp(argv[i], "--reps") == 0) reps = std::max(1, std::atoi(argv[i + 1]));
    }
}

}  // namespace bench_timing
