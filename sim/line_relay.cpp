#include "sim/line_relay.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace sim {

bool writeAll(int fd, const unsigned char* p, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

LineRelay::LineRelay(int masterA, int masterB)
    : a_(masterA), b_(masterB), thread_([this] { run(); }) {}

LineRelay::~LineRelay() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void LineRelay::run() {
    unsigned char buffer[4096];
    while (!stop_) {
        pollfd fds[2] = {{a_, POLLIN, 0}, {b_, POLLIN, 0}};
        int n = ::poll(fds, 2, 50);
        if (n <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents & POLLIN) {
                ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
                if (got > 0) writeAll(i == 0 ? b_ : a_, buffer, static_cast<std::size_t>(got));
            }
        }
    }
}

}  // namespace sim
