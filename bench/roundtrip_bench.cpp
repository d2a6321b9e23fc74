// Request round trips through okta80f-sim's host line with the host kit's
// client: command 51 (answered by the link itself), an unknown code (answered
// by the core through the transaction queue, with no work to do) and the
// printer status query (the core's one exchange with the printer, which every
// checked print job makes). Prints p50, p99 and mean beside the floor that the
// protocol's own waits impose, the floor as a share of the mean, and the share
// that waited one poll more than the floor. The unknown code shows what this
// machine's timers and the line's hops leave of the floor; the status query
// shows what one printer answer inside the core's turn costs on top. Last,
// without the register: one byte there and back over a bare pseudo-terminal
// between two threads, after a 20 ms sleep as the core takes one, which is
// what this machine charges for the printer line's answer alone.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/spread.h"
#include "tests/e2e/sim_process.h"

namespace {

constexpr int kRequests = 1000;

struct Figures {
    double floorMs;
    bench::Spread spread;
};

Figures measure(hostkit::Client& client, std::uint8_t command, double floorMs, int& failures) {
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
    return {floorMs, bench::spreadOf(std::move(ms), floorMs)};
}

void print(const char* what, const Figures& f, const char* floor) {
    std::printf(
        "%s\n  p50 %6.2f ms  p99 %6.2f ms  mean %6.2f ms  min %6.2f  max %6.2f\n"
        "  floor %s\n  the floor is %.1f %% of the mean; late (one poll more): %.1f %%\n",
        what, f.spread.p50, f.spread.p99, f.spread.mean, f.spread.min, f.spread.max, floor,
        100.0 * f.floorMs / f.spread.mean, f.spread.latePercent);
}

// One byte written to a raw pseudo-terminal's slave after a 20 ms sleep,
// answered by a thread on its master, read back: p50, mean, p99 in µs.
void bareLineRoundTrip() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0) return;
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    std::atomic<bool> stop{false};
    std::thread answerer([&] {
        unsigned char byte;
        while (!stop) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) == 1 && ::read(master, &byte, 1) == 1)
                (void)!::write(master, &byte, 1);
        }
    });
    std::vector<double> us;
    for (int i = 0; i < kRequests; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        unsigned char byte = 0x1D;
        const auto start = std::chrono::steady_clock::now();
        if (::write(slave, &byte, 1) != 1 || ::read(slave, &byte, 1) != 1) break;
        us.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    stop = true;
    answerer.join();
    ::close(slave);
    ::close(master);
    if (us.empty()) return;
    const bench::Spread spread = bench::spreadOf(std::move(us));
    std::printf(
        "one byte there and back over a bare pseudo-terminal, after a 20 ms sleep\n"
        "  p50 %6.0f µs  mean %6.0f µs  p99 %6.0f µs\n",
        spread.p50, spread.mean, spread.p99);
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
    print("command 51 (served by the link)", measure(client, 51, 10, failures),
          "10 ms (the link's pause before each response)");
    print("command 23 (unknown, by the core)", measure(client, 23, 30, failures),
          "30 ms (10 ms pause + one 20 ms poll of the done flag), "
          "up to 20 ms more waiting for the core's own 20 ms poll");
    print("command 192 (printer status query, by the core)", measure(client, 192, 30, failures),
          "30 ms, as above, with the printer's answer inside the core's work");
    bareLineRoundTrip();
    std::printf("failed or mismatched requests: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
