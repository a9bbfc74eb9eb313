// What every benchmark here shares: timing repeated runs and the display the
// runner put it on.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

template <typename F>
double TimeMs(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of runs calls of f(i), in milliseconds.
template <typename F>
double MedianMs(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(TimeMs([&] { f(i); }));
    return Median(times);
}

struct Comparison {
    double ms;     // the median time of the side measured
    double ratio;  // the median of its time over the baseline's, pair by pair
};

// Runs the side measured and the baseline in turn, pairs times, so that each
// ratio compares two runs made under the same load: medians taken apart
// drift with whatever else the machine (here the X server) is doing. settle()
// runs untimed before each of them.
template <typename Measured, typename Baseline, typename Settle>
Comparison Compare(int pairs, Measured&& measured, Baseline&& baseline, Settle&& settle) {
    std::vector<double> times, ratios;
    const auto timed = [&](auto& f, int i) {
        settle();
        return TimeMs([&] { f(i); });
    };
    for (int i = 0; i < pairs; ++i) {
        // Either side first by turns: the second may find what the first warmed.
        const double b0 = i % 2 ? timed(baseline, i) : 0;
        const double m = timed(measured, i);
        const double b = i % 2 ? b0 : timed(baseline, i);
        times.push_back(m);
        ratios.push_back(m / b);
    }
    return Comparison{Median(times), Median(ratios)};
}

template <typename Measured, typename Baseline>
Comparison Compare(int pairs, Measured&& measured, Baseline&& baseline) {
    return Compare(pairs, measured, baseline, [] {});
}

// "1080p" or "4k", as tools/bench names the display.
inline std::string DisplayName(int screenWidth) {
    if (const char* name = std::getenv("FOTOLARK_BENCH_DISPLAY")) return name;
    return screenWidth >= 3840 ? "4k" : "1080p";
}

}  // namespace bench
