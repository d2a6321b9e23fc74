#include "sim/line_relay.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace sim {

namespace {
constexpr std::size_t kReadChunk = 4096;

void makeNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }
}  // namespace

LineRelay::LineRelay(int registerMaster, int hostMaster, Observer observer, HostGate hostGate)
    : toRegister_{hostMaster, registerMaster, Direction::toRegister, {}, 0, {}},
      toHost_{registerMaster, hostMaster, Direction::toHost, {}, 0, {}},
      observer_(std::move(observer)),
      hostGate_(std::move(hostGate)) {
    makeNonBlocking(registerMaster);
    makeNonBlocking(hostMaster);
    stopEvent_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { run(); });
}

LineRelay::~LineRelay() {
    stop_ = true;
    const std::uint64_t one = 1;
    (void)!::write(stopEvent_, &one, sizeof one);
    if (thread_.joinable()) thread_.join();
    ::close(stopEvent_);
}

void LineRelay::run() {
    // fds[0] is the register's master, fds[1] the host's, fds[2] the stop
    // event: the relay sleeps until one of them has something for it.
    while (!stop_) {
        pollfd fds[3] = {{toHost_.from, 0, 0}, {toRegister_.from, 0, 0}, {stopEvent_, POLLIN, 0}};
        auto want = [](pollfd& fd, const Lane& reading, const Lane& writing) {
            if (reading.waiting.size() - reading.written < kMaxWaiting) fd.events |= POLLIN;
            if (writing.written < writing.waiting.size()) fd.events |= POLLOUT;
        };
        want(fds[0], toHost_, toRegister_);
        want(fds[1], toRegister_, toHost_);
        if (::poll(fds, 3, -1) <= 0) continue;
        if (fds[0].revents & POLLIN) take(toHost_);
        if (fds[1].revents & POLLIN) take(toRegister_);
        // What was read goes on before the observer sees it: an observer
        // that writes a file may wait for this machine's disk, the line
        // must not. A reader that is full just leaves it waiting.
        pass(toRegister_);
        if (hostGate_ && toHost_.written < toHost_.waiting.size()) hostGate_();
        pass(toHost_);
        observe(toHost_);
        observe(toRegister_);
    }
}

void LineRelay::take(Lane& lane) {
    char buffer[kReadChunk];
    while (lane.waiting.size() - lane.written < kMaxWaiting) {
        const ssize_t got = ::read(lane.from, buffer, sizeof buffer);
        if (got <= 0) return;  // EAGAIN: all read for now
        const auto n = static_cast<std::size_t>(got);
        lane.waiting.append(buffer, n);
        if (observer_) lane.unobserved.append(buffer, n);
    }
}

void LineRelay::observe(Lane& lane) {
    if (lane.unobserved.empty()) return;
    observer_(lane.direction, reinterpret_cast<const std::uint8_t*>(lane.unobserved.data()),
              lane.unobserved.size());
    lane.unobserved.clear();
}

void LineRelay::pass(Lane& lane) {
    if (lane.written == lane.waiting.size()) return;
    while (lane.written < lane.waiting.size()) {
        const ssize_t put = ::write(lane.to, lane.waiting.data() + lane.written,
                                    lane.waiting.size() - lane.written);
        if (put <= 0) break;  // EAGAIN: the reader's side is full for now
        lane.written += static_cast<std::size_t>(put);
    }
    // Drop what was passed on once it is all of it or most of the buffer.
    if (lane.written == lane.waiting.size() || lane.written > lane.waiting.size() / 2) {
        lane.waiting.erase(0, lane.written);
        lane.written = 0;
    }
}

}  // namespace sim
