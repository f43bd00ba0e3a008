#pragma once
// Timing helpers of the ratio benchmarks: the median of a few repetitions, so one slow run on a
// loaded machine does not make the figure.

#include <algorithm>
#include <chrono>
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

}  // namespace bench_timing
