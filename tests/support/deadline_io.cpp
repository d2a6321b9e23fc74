#include "tests/support/deadline_io.h"

#include <poll.h>
#include <unistd.h>

namespace testing_support {

namespace {
constexpr int kPollMs = 50;
}  // namespace

bool writeAllBy(int fd, const std::string& bytes, Deadline deadline) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, kPollMs) <= 0) continue;
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string readBy(int fd, std::size_t count, Deadline deadline) {
    std::string got;
    char buffer[4096];
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0) continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

}  // namespace testing_support
