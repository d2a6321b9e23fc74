#include "sim/printer_line.h"

#include <poll.h>
#include <unistd.h>

namespace sim {

PrinterLine::PrinterLine(int master, Sink sink)
    : master_(master), sink_(std::move(sink)), thread_([this] { run(); }) {}

PrinterLine::~PrinterLine() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PrinterLine::run() {
    unsigned char buffer[4096];
    while (!stop_) {
        pollfd fd{master_, POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0 || !(fd.revents & POLLIN)) continue;
        ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got > 0) sink_(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace sim
