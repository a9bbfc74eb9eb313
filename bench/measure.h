// What every benchmark here shares: the median time of repeated runs and the
// display the runner put it on.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// The median of runs calls of f(i), in milliseconds.
template <typename F>
double MedianMs(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f(i);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        times.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// "1080p" or "4k", as tools/bench names the display.
inline std::string DisplayName(int screenWidth) {
    if (const char* name = std::getenv("FOTOLARK_BENCH_DISPLAY")) return name;
    return screenWidth >= 3840 ? "4k" : "1080p";
}

}  // namespace bench
