#include "sim/printer_line.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace sim {

PrinterLine::PrinterLine(int master, Sink sink, int baud)
    : master_(master), sink_(std::move(sink)), baud_(baud), thread_([this] { run(); }) {}

PrinterLine::~PrinterLine() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PrinterLine::run() {
    using Clock = std::chrono::steady_clock;
    unsigned char buffer[4096];
    // A throttled line takes small pieces, so that what the register still
    // sends waits in the line's buffer as it would on a real line.
    const std::size_t piece = baud_ > 0 ? 64 : sizeof buffer;
    Clock::time_point lineFree = Clock::now();
    while (!stop_) {
        pollfd fd{master_, POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0 || !(fd.revents & POLLIN)) continue;
        ssize_t got = ::read(master_, buffer, piece);
        if (got <= 0) continue;
        if (baud_ > 0) {
            // The piece has arrived once the line has carried it.
            lineFree = std::max(lineFree, Clock::now()) +
                       std::chrono::microseconds(got * 10'000'000LL / baud_);
            std::this_thread::sleep_until(lineFree);
        }
        sink_(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace sim
