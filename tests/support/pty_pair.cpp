#include "tests/support/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace testing_support {

PtyPair::PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = ::ptsname(master_);
    keepOpen_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(keepOpen_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(keepOpen_, TCSANOW, &t);
}

PtyPair::~PtyPair() {
    if (keepOpen_ >= 0) ::close(keepOpen_);
    if (master_ >= 0) ::close(master_);
}

void PtyPair::send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (w <= 0) throw std::runtime_error("pty write failed");
        done += static_cast<std::size_t>(w);
    }
}

Bytes PtyPair::receive(int timeoutMs) {
    Bytes out;
    for (;;) {
        pollfd fd{master_, POLLIN, 0};
        if (::poll(&fd, 1, timeoutMs) <= 0 || !(fd.revents & POLLIN)) break;
        std::uint8_t buffer[512];
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) break;
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

}  // namespace testing_support
