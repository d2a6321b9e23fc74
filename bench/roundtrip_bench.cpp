// Request round trips through okta80f-sim's host line with the host kit's
// client: command 51 (answered by the link itself) and an unknown code
// (answered by the core through the transaction queue). Prints p50 and p99
// beside the floor that the protocol's own waits impose.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/sim_process.h"

namespace {

constexpr int kRequests = 300;

struct Figures {
    double p50, p99, min, max;
};

Figures measure(hostkit::Client& client, std::uint8_t command, int& failures) {
    std::vector<double> ms;
    for (int i = 0; i < kRequests; ++i) {
        hostkit::Response r;
        std::string error;
        auto start = std::chrono::steady_clock::now();
        bool ok = client.request(command, {}, r, error, static_cast<std::uint32_t>(i + 1), 5000);
        auto end = std::chrono::steady_clock::now();
        if (!ok || r.id != static_cast<std::uint32_t>(i + 1)) {
            ++failures;
            continue;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) return {0, 0, 0, 0};
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<std::size_t>(q * ms.size()))]; };
    return {at(0.50), at(0.99), ms.front(), ms.back()};
}

void print(const char* what, const Figures& f, const char* floor) {
    std::printf("%-34s p50 %6.2f ms  p99 %6.2f ms  min %6.2f  max %6.2f   floor %s\n", what, f.p50,
                f.p99, f.min, f.max, floor);
}

}  // namespace

int main() {
    e2e::SimProcess sim;
    if (!sim.waitReady()) {
        std::fprintf(stderr, "the simulator did not start:\n%s\n", sim.output().c_str());
        return 1;
    }
    hostkit::Client& client = sim.client();
    int failures = 0;
    std::printf("round trips through okta80f-sim, %d requests each\n", kRequests);
    print("command 51 (served by the link)", measure(client, 51, failures),
          "10 ms (the link's pause before each response)");
    print("command 23 (unknown, by the core)", measure(client, 23, failures),
          "30 ms (10 ms pause + one 20 ms poll of the done flag), "
          "up to 20 ms more waiting for the core's own 20 ms poll");
    std::printf("failed or mismatched requests: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
