#include "sim/pty.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace sim {

Pty::Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    const char* name = ::ptsname(master_);
    if (!name) throw std::runtime_error("cannot name a pseudo-terminal");
    slavePath_ = name;
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) throw std::runtime_error("cannot open " + slavePath_);
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
}

Pty::~Pty() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool Pty::releaseAbandonedExclusiveMode() {
    int exclusive = 0;
    if (::ioctl(slave_, TIOCGEXCL, &exclusive) != 0 || !exclusive) return false;
    // Holding the lock a moment: a host that holds it is still there.
    if (::flock(slave_, LOCK_EX | LOCK_NB) != 0) return false;
    const bool cleared = ::ioctl(slave_, TIOCNXCL) == 0;
    ::flock(slave_, LOCK_UN);
    return cleared;
}

void replaceSymlink(const std::string& target, const std::string& link) {
    std::error_code ec;
    std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(target, link);
}

}  // namespace sim
