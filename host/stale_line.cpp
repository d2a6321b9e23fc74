#include "host/stale_line.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hostkit {

std::optional<std::string> staleSimulatorLine(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return std::nullopt;
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string lockPath = dir + "/sim.lock";
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;  // not a simulator's directory
    struct flock probe {};
    probe.l_type = F_RDLCK;
    probe.l_whence = SEEK_SET;
    const bool asked = ::fcntl(fd, F_GETLK, &probe) == 0;
    ::close(fd);
    if (!asked || probe.l_type != F_UNLCK) return std::nullopt;
    return path + " was left by a simulator that is no longer running (" + lockPath +
           " is free): start the simulator again";
}

}  // namespace hostkit
