// The hostile host's long run: 20 000 frames (or the number given) against
// a registered register on the simulator, with its figures: frames, answers
// by result code, documents stored, checkpoints, time, and whether a restart
// read the same counters. Exit status 1 when the model and the register
// disagreed anywhere.
//   bench_hostile_host [frames] [seed]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/hostile_host.h"

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 20'000;
    const auto seed = static_cast<std::uint32_t>(argc > 2 ? std::atol(argv[2]) : 19);
    e2e::SimProcess sim;
    if (!sim.waitReady()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 2;
    }
    std::string error;
    if (!hostile::prepare(sim, error)) {
        std::fprintf(stderr, "registration failed: %s\n", error.c_str());
        return 2;
    }
    const hostile::Figures f = hostile::run(sim, seed, frames, 250);
    const auto before = hostile::counterBlocks(sim);
    sim.stop();
    e2e::SimProcess again({}, sim.root());
    const bool restarted = again.waitReady();
    const bool same = restarted && hostile::counterBlocks(again) == before;

    std::printf("hostile host, seed %u\n", seed);
    std::printf("  frames sent        %d (%.0f per second)\n", f.frames, f.frames / f.seconds);
    std::printf("  answered           %d, no answer in time %d\n", f.answered, f.silent);
    std::printf("  documents stored   %d\n", f.documents);
    std::printf("  checkpoints        %d\n", f.checkpoints);
    std::printf("  time               %.1f s\n", f.seconds);
    std::printf("  answers by code   ");
    for (const auto& [code, count] : f.byCode) std::printf(" %d:%d", code, count);
    std::printf("\n  restart            %s\n",
                !restarted ? "did not start" : same ? "same counters" : "COUNTERS DIFFER");
    for (const std::string& p : f.problems) std::printf("  PROBLEM %s\n", p.c_str());
    return f.problems.empty() && same ? 0 : 1;
}
