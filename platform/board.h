#pragma once
// The platform seam. Everything the register does to the outside world other
// than serial I/O goes through the process's Board: the mapping of fixed
// board paths to real files, the clock, setting the clock, the SD card,
// pauses and pseudo-random numbers.
// The real board runs the literal system commands; the simulated board maps
// paths under a directory and keeps a clock offset; tests install their own.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class Board {
  public:
    virtual ~Board() = default;

    // The file that stands for an absolute board path such as "/nv/CASHIERS".
    virtual std::string path(std::string_view boardPath) const = 0;

    // Seconds since 1970.
    virtual std::int64_t now() const = 0;

    // Sets the system and hardware clocks; false when that failed.
    virtual bool setClock(std::int64_t seconds) = 0;

    // Runs the SD card's mount command; false when it reported failure.
    virtual bool mountCard() = 0;

    // Whether the card's file system is mounted on the mount point.
    virtual bool cardMounted() const = 0;

    // Bytes available to the register on the mounted card.
    virtual std::uint64_t cardAvailableBytes() const = 0;

    // A relative pause of `ms` milliseconds, resumed with the remaining time
    // when a signal interrupts it.
    virtual void sleepMs(int ms) = 0;

    // Called after every write and every sync that reaches the SD card: a
    // board whose card takes time for them spends it here.
    virtual void cardWriteTime() {}

    // Carries what was written to the open file `fd` onto the medium
    // (fsync); true when it is there. A simulated board, whose power cut
    // ends the process and keeps everything written, may leave this
    // machine's disk alone.
    virtual bool syncToMedium(int fd);

    // Seeds the process's pseudo-random generator.
    virtual void seedRandom(unsigned seed) = 0;
    // The generator's next value, 0 ... RAND_MAX.
    virtual int randomValue() = 0;
};

// The process's board. A RealBoard unless main or a test installed another.
Board& board();

// Installs `b` as the process's board and returns the previous one. Done by
// main before any other thread starts, or by a test.
std::unique_ptr<Board> installBoard(std::unique_ptr<Board> b);

// Current time of the process's board.
inline std::int64_t now() { return board().now(); }

// A pause on the process's board.
inline void sleepMs(int ms) { board().sleepMs(ms); }

}  // namespace platform
