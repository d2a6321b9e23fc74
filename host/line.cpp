#include "host/line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "host/stale_line.h"

namespace hostkit {

namespace {

// The descriptors this process holds in exclusive mode, for
// releaseLinesForExit(); atomics because a signal handler reads them.
constexpr int kMaxLines = 8;
std::atomic<int> exclusiveFds[kMaxLines] = {-1, -1, -1, -1, -1, -1, -1, -1};

void remember(int fd) {
    for (auto& slot : exclusiveFds) {
        int expected = -1;
        if (slot.compare_exchange_strong(expected, fd)) return;
    }
}

void forget(int fd) {
    for (auto& slot : exclusiveFds) {
        int expected = fd;
        if (slot.compare_exchange_strong(expected, -1)) return;
    }
}

std::string openError(const std::string& path, int error) {
    switch (error) {
        case ENOENT:
            return "no line at " + path + " (is the register connected, the simulator running?)";
        case EBUSY:
            return path + " is held by another program (opened exclusively); close it first";
        case EACCES:
            return "no permission to open " + path;
        default:
            return "cannot open " + path + ": " + std::strerror(error);
    }
}

// 1 when the line is ready for `events`, 0 at the deadline, -1 when the
// other end is gone (hang-up or error: a hung-up terminal also reads as
// ready, with nothing to read, so the hang-up is looked at first).
int waitFor(int fd, short events, long long deadlineMs) {
    for (;;) {
        const long long left = deadlineMs - steadyMs();
        if (left <= 0) return 0;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left > 60000 ? 60000 : left));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return -1;
        if (r == 0) continue;
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return -1;
        return 1;
    }
}

}  // namespace

long long steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void releaseLinesForExit() {
    for (auto& slot : exclusiveFds) {
        const int fd = slot.load();
        if (fd >= 0) ::ioctl(fd, TIOCNXCL);
    }
}

Line::~Line() { close(); }

bool Line::open(const std::string& path, std::string& error) {
    close();
    if (auto stale = staleSimulatorLine(path)) {
        error = *stale;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = openError(path, errno);
        return false;
    }
    termios t{};
    if (!::isatty(fd) || ::tcgetattr(fd, &t) != 0) {
        ::close(fd);
        error = path + " is not a serial line";
        return false;
    }
    // The lock first: a program that holds it may not have set exclusive
    // mode yet, or may run as root, which exclusive mode does not stop.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int lockError = errno;
        ::close(fd);
        error =
            lockError == EWOULDBLOCK
                ? path + " is held by another program (it holds the line's lock); close it first"
                : "cannot lock " + path + ": " + std::strerror(lockError);
        return false;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int exclError = errno;
        ::close(fd);
        error = "cannot open " + path + " exclusively: " + std::strerror(exclError);
        return false;
    }
    remember(fd);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSTOPB | PARENB);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
    fd_ = fd;
    path_ = path;
    lost_.clear();
    return true;
}

void Line::markLost(int error) {
    if (!lost_.empty()) return;
    lost_ = error == 0 || error == EIO ? "the line was closed"
                                       : std::string("an error on the line: ") + std::strerror(error);
}

void Line::close() {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);
    forget(fd_);
    ::close(fd_);  // also drops the lock
    fd_ = -1;
}

bool Line::write(const Bytes& bytes, long long deadlineMs) {
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    while (n > 0) {
        const ssize_t w = ::write(fd_, p, n);
        if (w > 0) {
            p += w;
            n -= static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN) {
            markLost(errno);
            return false;
        }
        const int ready = waitFor(fd_, POLLOUT, deadlineMs);
        if (ready < 0) markLost(0);
        if (ready <= 0) return false;
    }
    return true;
}

long Line::read(std::uint8_t* buffer, std::size_t size, long long deadlineMs) {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got > 0) return got;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno != EAGAIN) {
            markLost(errno);
            return -1;
        }
        // In raw mode without a minimum count an empty line reads as 0, and
        // so does a hung-up one: the wait tells them apart.
        const int ready = waitFor(fd_, POLLIN, deadlineMs);
        if (ready == 0) return 0;
        if (ready < 0) {
            // What arrived just before the hang-up is still the answer.
            const ssize_t last = ::read(fd_, buffer, size);
            if (last > 0) return last;
            markLost(last < 0 ? errno : 0);
            return -1;
        }
    }
}

}  // namespace hostkit
