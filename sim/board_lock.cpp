#include "sim/board_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

namespace {
flock wholeFile(short type) {
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}
}  // namespace

BoardLock::~BoardLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool BoardLock::acquire(const std::string& root, std::string& error) {
    const std::string path = root + "/sim.lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    flock lock = wholeFile(F_WRLCK);
    if (::fcntl(fd_, F_SETLK, &lock) != 0) {
        const int why = errno;
        flock holder = wholeFile(F_WRLCK);
        if ((why == EAGAIN || why == EACCES) && ::fcntl(fd_, F_GETLK, &holder) == 0 &&
            holder.l_type != F_UNLCK) {
            error =
                root + " is in use by another simulator (pid " + std::to_string(holder.l_pid) + ")";
        } else {
            error = "cannot lock " + path + ": " + std::strerror(why);
        }
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    // The pid text is for people only: the lock holds without it.
    if (::ftruncate(fd_, 0) == 0) (void)!::pwrite(fd_, pid.data(), pid.size(), 0);
    return true;
}

}  // namespace sim
