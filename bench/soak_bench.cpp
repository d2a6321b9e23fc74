// The soak: at least 100 000 mixed requests (receipts, reports, status)
// through the simulator, with the simulator's resident memory, open
// descriptors and threads every 10 000 requests, then its CPU while idle
// for 60 s (the register's own 20 ms polls are prescribed; the simulator's
// threads sleep until there is something to do).
//   bench_soak [requests] [idle seconds]

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "tests/e2e/fiscal_requests.h"
#include "tests/e2e/hostile_host.h"

namespace {

using namespace fiscal;

struct Usage {
    long rssKb = 0;
    int threads = 0;
    int descriptors = 0;
    long long cpuTicks = 0;  // user + system
};

Usage usageOf(pid_t pid) {
    Usage u;
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream status(proc + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) u.rssKb = std::atol(line.c_str() + 6);
        if (line.rfind("Threads:", 0) == 0) u.threads = std::atoi(line.c_str() + 8);
    }
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(proc + "/fd"))
        ++u.descriptors;
    std::ifstream stat(proc + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::atoll(field.c_str());
        if (i == 15) {
            stime = std::atoll(field.c_str());
            break;
        }
    }
    u.cpuTicks = utime + stime;
    return u;
}

}  // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::atol(argv[1]) : 100'000;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 60;
    e2e::SimProcess sim;
    std::string error;
    if (!sim.waitReady() || !hostile::prepare(sim, error)) {
        std::fprintf(stderr, "the simulator did not get ready: %s\n", error.c_str());
        return 2;
    }
    hostkit::Client& client = sim.client();
    std::mt19937 random(7);
    long requests = 0, failures = 0, receipts = 0, shiftReceipts = 0;
    const auto send = [&](std::uint8_t command, const Bytes& data) {
        sim.output();  // its diagnostic lines must not fill their pipe
        hostkit::Response r;
        ++requests;
        if (!client.request(command, data, r, error, 0, 30000) || r.code != 0) ++failures;
    };

    std::printf("soak: %ld mixed requests, then %d s idle\n", total, idleSeconds);
    std::printf("%10s %10s %6s %8s %8s\n", "requests", "rss kB", "fds", "threads", "seconds");
    const auto start = std::chrono::steady_clock::now();
    long nextReport = 10'000;
    while (requests < total) {
        const unsigned p = random() % 100;
        if (p < 60) {
            send(p % 2 ? kDeviceStatus : kShiftStatus, {});
        } else if (p < 97) {
            send(kOpenReceipt, asService(receiptOpen(ReceiptKind::sale)));
            send(kAdd, position({.name = "Хлеб", .priceKopecks = 4'500 + p}));
            send(kCloseReceipt, receiptPayment(0));
            ++receipts;
            if (++shiftReceipts == 2'000) {  // well inside a shift's 3000 receipts
                send(kOpenShiftClose, asService());
                send(kCloseShiftClose, {});
                send(kOpenShift, asService());
                send(kCloseShiftOpen, {});
                shiftReceipts = 0;
            }
        } else {
            send(177, asService({1}));  // the X report
        }
        if (requests >= nextReport) {
            const Usage u = usageOf(sim.pid());
            const double s =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("%10ld %10ld %6d %8d %8.0f\n", requests, u.rssKb, u.descriptors, u.threads, s);
            std::fflush(stdout);
            nextReport += 10'000;
        }
    }
    std::printf("receipts %ld, failed requests %ld\n", receipts, failures);

    // Idle: nothing on the line.
    const Usage before = usageOf(sim.pid());
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const Usage after = usageOf(sim.pid());
    const double cpu = 100.0 * static_cast<double>(after.cpuTicks - before.cpuTicks) /
                       static_cast<double>(sysconf(_SC_CLK_TCK) * idleSeconds);
    std::printf("idle %d s: %.2f %% of a core (%lld ticks), rss %ld kB, fds %d, threads %d\n",
                idleSeconds, cpu, after.cpuTicks - before.cpuTicks, after.rssKb,
                after.descriptors, after.threads);
    return failures == 0 ? 0 : 1;
}
