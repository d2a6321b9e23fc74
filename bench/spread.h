#pragma once
// The spread of a benchmark's timings: quantiles, mean and, against the
// floor the protocol's own waits impose, the share that waited one 20 ms
// poll more than the floor (above it by more than half a poll).

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

struct Spread {
    double p50 = 0, p99 = 0, min = 0, max = 0, mean = 0;
    double latePercent = 0;
};

inline Spread spreadOf(std::vector<double> samples, double floor = 0) {
    if (samples.empty()) return {};
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[std::min(samples.size() - 1,
                                static_cast<std::size_t>(q * static_cast<double>(samples.size())))];
    };
    double sum = 0;
    for (double s : samples) sum += s;
    const auto late = std::count_if(samples.begin(), samples.end(),
                                    [&](double s) { return s > floor + 10; });
    const double count = static_cast<double>(samples.size());
    return {at(0.50), at(0.99), samples.front(), samples.back(), sum / count,
            100.0 * static_cast<double>(late) / count};
}

}  // namespace bench
