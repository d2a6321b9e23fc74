// The whole crash sweep: a scripted fiscal life run in this process with
// the power cut before every one of its W writes, in the middle of every
// one, and every one failed once with the close sent again; each run
// started again over the same files, finished and held against the life
// without faults. Prints W, the writes each step makes, the runs tried and
// the inconsistencies found by kind.
//
//   bench_crash_sweep [--cuts-only]

#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "tests/crash/fiscal_life.h"

int main(int argc, char** argv) {
    const bool failures = !(argc > 1 && std::strcmp(argv[1], "--cuts-only") == 0);
    const auto start = std::chrono::steady_clock::now();

    std::printf("writes of each step of the life:\n");
    std::uint64_t total = 0;
    for (const crash::StepWrites& step : crash::writesByStep()) {
        std::printf("  %-22s %3llu (writes %llu..%llu)\n", step.name.c_str(),
                    static_cast<unsigned long long>(step.count),
                    static_cast<unsigned long long>(step.first),
                    static_cast<unsigned long long>(step.first + step.count - 1));
        total += step.count;
    }
    std::vector<std::uint64_t> ks(total);
    std::iota(ks.begin(), ks.end(), 1);
    const crash::SweepFigures figures = crash::sweep(ks, failures);

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("W %llu, runs %llu (%s), %.1f s\n", static_cast<unsigned long long>(figures.writes),
                static_cast<unsigned long long>(figures.runs),
                failures ? "cut before, torn and failed at every write" : "cut before and torn",
                seconds);
    if (figures.inconsistencies.empty()) std::printf("inconsistencies: none\n");
    for (const auto& [kind, runs] : figures.inconsistencies)
        std::printf("inconsistent: %s in %llu runs\n", kind.c_str(),
                    static_cast<unsigned long long>(runs));
    for (const std::string& example : figures.examples) std::printf("  e.g. %s\n", example.c_str());
    return figures.inconsistencies.empty() ? 0 : 1;
}
