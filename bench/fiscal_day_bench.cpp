// A fiscal day through okta80f-sim and the host kit's client library, as a
// busy till makes it: registration, shift open, receipts of 1 to 10
// positions paid in cash, in cash with change or by card, a cash in or out
// every 100 receipts, shift close. Prints the round trip of each command
// kind (p50, p99, mean, and the share that waited one poll more than the
// floor) and the receipts per minute from shift open to shift close, beside
// the floor that the protocol's own waits put under the same exchange;
// then the same day on a board with the board's timings (the printer line
// at 57 600 baud, 3 ms a card write), whose floor adds the time the printed
// bytes take on the line.
//
//   bench_fiscal_day [receipts [plain|board]]   (default 1 000, both days)

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/spread.h"
#include "host/register.h"
#include "tests/e2e/sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every exchange with the core waits at least the link's 10 ms pause before
// it answers and one 20 ms poll of the done flag; the core itself picks a
// request up at its next 20 ms poll.
constexpr double kLinkPauseMs = 10.0;
constexpr double kDonePollMs = 20.0;
constexpr double kCoreExchangeFloorMs = kLinkPauseMs + kDonePollMs;

class Timings {
  public:
    // `rawPath` is the virtual printer's raw.bin; with `baud` set, the bytes
    // printed add their time on the line to the floor.
    Timings(std::string rawPath, int baud) : rawPath_(std::move(rawPath)), baud_(baud) {}

    // Times one call of `kind`, which makes `exchanges` exchanges with the core.
    template <class Call>
    auto time(const std::string& kind, Call call, int exchanges = 1) {
        const auto printedBefore = printed();
        const auto start = Clock::now();
        auto result = call();
        ms_[kind].push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        const double lineMs =
            baud_ > 0 ? static_cast<double>(printed() - printedBefore) * 10'000.0 / baud_ : 0.0;
        // The core prints within its exchange: the link sees it done at the
        // first of its 20 ms polls after the bytes have left.
        const double floor = kCoreExchangeFloorMs * (exchanges - 1) + kLinkPauseMs +
                             kDonePollMs * std::max(1.0, std::ceil(lineMs / kDonePollMs));
        floorMs_[kind] += floor;
        dayFloorMs += floor;
        if (!result) {
            std::fprintf(stderr, "bench_fiscal_day: %s: %s\n", kind.c_str(),
                         result.describe().c_str());
            std::exit(1);
        }
        return result;
    }

    void print() {
        std::printf("%-28s %8s %10s %10s %10s %10s %8s\n", "command", "count", "p50 ms", "p99 ms",
                    "mean ms", "floor ms", "late %");
        for (auto& entry : ms_) {
            const std::string& kind = entry.first;
            const std::vector<double>& ms = entry.second;
            const double floor = floorMs_[kind] / static_cast<double>(ms.size());
            // Late: the core's answer missed the link's first look for it
            // and waited one more 20 ms poll (or more).
            const bench::Spread spread = bench::spreadOf(ms, floor);
            std::printf("%-28s %8zu %10.2f %10.2f %10.2f %10.1f %8.1f\n", kind.c_str(), ms.size(),
                        spread.p50, spread.p99, spread.mean, floor, spread.latePercent);
        }
    }

    // The floor of every call timed since the last reset of it.
    double dayFloorMs = 0;

  private:
    std::uintmax_t printed() const {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(rawPath_, ec);
        return ec ? 0 : size;
    }

    std::string rawPath_;
    int baud_;
    std::map<std::string, std::vector<double>> ms_;
    std::map<std::string, double> floorMs_;
};

// A document without data of its own: open, then close.
hostkit::Result<hostkit::CloseReply> openAndClose(hostkit::Register& reg,
                                                  hostkit::DocumentType type,
                                                  std::int64_t amount = 0) {
    auto opened = reg.openDocument(type);
    if (!opened) return opened.failure<hostkit::CloseReply>();
    if (type == hostkit::DocumentType::CashIn || type == hostkit::DocumentType::CashOut)
        return reg.closeCashDocument(type, amount);
    return reg.closeDocument(type);
}

hostkit::Position item(std::mt19937& random, int n) {
    hostkit::Position p;
    p.name = "Товар " + std::to_string(n);
    p.price = 500 + static_cast<std::int64_t>(random() % 20'000);
    p.quantity = 1 + static_cast<std::int64_t>(random() % 3);
    p.section = static_cast<std::uint8_t>(1 + random() % 3);
    p.taxNumber = static_cast<std::uint8_t>(1 + random() % 2);
    return p;
}

// One day on a simulator started with `simArgs`; `baud` is its printer
// line's speed (0: unthrottled).
int runDay(const char* title, const std::vector<std::string>& simArgs, int baud, int receipts) {
    e2e::SimProcess sim(simArgs);
    if (!sim.waitReady(60000)) {
        std::fprintf(stderr, "the simulator did not start:\n%s\n", sim.output().c_str());
        return 1;
    }
    hostkit::Register reg(sim.client());
    Timings t(sim.root() + "/printer/raw.bin", baud);
    using hostkit::DocumentType;

    t.time("63 factory number", [&] { return reg.setFactoryNumber("0000000042"); });
    t.time("8 open registration", [&] { return reg.openDocument(DocumentType::Registration); });
    for (int text = 1; text <= 3; ++text)
        t.time("7 registration text",
               [&] { return reg.addRegistrationText(text, "Касса " + std::to_string(text)); });
    t.time("7 tax", [&] { return reg.addTax(0, {hostkit::TaxKind::Contained, 2000, "НДС 20%"}); });
    t.time("7 tax", [&] { return reg.addTax(1, {hostkit::TaxKind::Contained, 1000, "НДС 10%"}); });
    t.time("9 close registration",
           [&] { return reg.closeRegistration("7701234567", "9999078900001234"); });

    const auto dayStart = Clock::now();
    t.dayFloorMs = 0;
    t.time(
        "17/18 shift open", [&] { return openAndClose(reg, DocumentType::ShiftOpen); }, 2);
    t.time(
        "162/163 cash in", [&] { return openAndClose(reg, DocumentType::CashIn, 10'000'000); }, 2);

    std::mt19937 random(2026);
    long positions = 0;
    for (int n = 1; n <= receipts; ++n) {
        t.time("21 open receipt", [&] { return reg.openReceipt(hostkit::ReceiptKind::Sale); });
        const int count = 1 + static_cast<int>(random() % 10);
        std::int64_t total = 0;
        for (int i = 0; i < count; ++i) {
            const hostkit::Position p = item(random, i);
            total += p.price * p.quantity;
            t.time("7 add position", [&] { return reg.addPosition(p); });
        }
        positions += count;
        // Exact cash, cash with change, or card.
        const int way = n % 3;
        t.time("22 close receipt", [&] {
            return reg.closeReceipt(way == 0   ? 0
                                    : way == 1 ? total + 1'000
                                               : 0,
                                    way == 2 ? total : 0);
        });
        if (n % 100 == 0) {
            const DocumentType type = n % 200 == 0 ? DocumentType::CashOut : DocumentType::CashIn;
            t.time(
                type == DocumentType::CashIn ? "162/163 cash in" : "164/165 cash out",
                [&] { return openAndClose(reg, type, 50'000); }, 2);
        }
    }
    t.time(
        "19/20 shift close", [&] { return openAndClose(reg, DocumentType::ShiftClose); }, 2);
    const double minutes = std::chrono::duration<double>(Clock::now() - dayStart).count() / 60.0;

    const double floorMinutes = t.dayFloorMs / 60'000.0;

    std::printf("%s: %d receipts, %ld positions\n", title, receipts, positions);
    t.print();
    const double exchangesPerReceipt = 2.0 + static_cast<double>(positions) / receipts;
    std::printf("receipts per minute, shift open to shift close: %.0f (%.1f %% of the floor's)\n",
                receipts / minutes, 100.0 * floorMinutes / minutes);
    std::printf("floor: %.1f exchanges a receipt at %.0f ms each%s: %.0f receipts per minute\n\n",
                exchangesPerReceipt, kCoreExchangeFloorMs,
                baud > 0 ? ", and the printed bytes' time on the line" : "",
                receipts / floorMinutes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int receipts = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::string days = argc > 2 ? argv[2] : "both";
    if (days != "board" && runDay("a fiscal day through okta80f-sim", {}, 0, receipts) != 0)
        return 1;
    if (days == "plain") return 0;
    return runDay("the same day with the board's timings (--board-timings)", {"--board-timings"},
                  57'600, receipts);
}
