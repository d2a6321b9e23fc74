#include "platform/real_board.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cstdlib>
#include <ctime>
#include <limits>

namespace platform {

namespace {
constexpr const char* kMountPoint = "/mnt/sd/";
}

std::string RealBoard::path(std::string_view boardPath) const { return std::string(boardPath); }

std::int64_t RealBoard::now() const { return static_cast<std::int64_t>(std::time(nullptr)); }

bool RealBoard::setClock(std::int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "'%Y-%m-%d %H:%M:%S'", &local);
    std::string command = std::string("date -s ") + text + " && hwclock -w";
    // The exit status is not examined: the register has no way to report it.
    (void)std::system(command.c_str());
    return true;
}

bool RealBoard::mountCard() {
    (void)std::system("mount -t vfat /dev/mmcblk0p1 /mnt/sd/ -o sync");
    return cardMounted();
}

bool RealBoard::cardMounted() const {
    struct stat point {
    }, parent{};
    if (::stat(kMountPoint, &point) != 0) return false;
    if (::stat((std::string(kMountPoint) + "..").c_str(), &parent) != 0) return false;
    return point.st_dev != parent.st_dev;
}

std::uint64_t RealBoard::cardAvailableBytes() const {
    struct statvfs fs {};
    if (::statvfs(kMountPoint, &fs) != 0) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

void RealBoard::sleepMs(int ms) {
    timespec request{ms / 1000, (ms % 1000) * 1'000'000L};
    timespec remaining{};
    while (nanosleep(&request, &remaining) != 0) request = remaining;
}

void RealBoard::seedRandom(unsigned seed) { std::srand(seed); }

int RealBoard::randomValue() { return std::rand(); }

}  // namespace platform
