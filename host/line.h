#pragma once
// The host's end of the register's serial line (a USB serial device, or the
// simulator's host-line), held by one program at a time: opened in raw mode
// at 115200 baud, 8 data bits, no parity, one stop bit, with an advisory
// lock (flock) on the device and the terminal's exclusive mode (TIOCEXCL),
// so that a second program gets a clear error instead of a share of the
// answers.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/bytes.h"

namespace hostkit {

class Line {
  public:
    Line() = default;
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // Opens and locks the line; false with `error` saying why (no such
    // device, not a serial line, held by another program, a simulator's
    // host-line left behind by a simulator that no longer runs...).
    bool open(const std::string& path, std::string& error);
    // Leaves exclusive mode, unlocks and closes. Safe when not open.
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Writes all bytes before `deadlineMs` (a steadyMs() instant); false when
    // the line fails or stays full.
    bool write(const Bytes& bytes, long long deadlineMs);
    // Reads what is there, waiting until `deadlineMs` for a first byte.
    // Returns the count (0 at the deadline) or -1 when the line failed or
    // was closed at the other end.
    long read(std::uint8_t* buffer, std::size_t size, long long deadlineMs);

    const std::string& path() const { return path_; }
    // Why the other end is gone, once a read or write found it so: "the line
    // was closed" (hang-up or end of file) or "an error on the line: ...";
    // empty while the line works.
    const std::string& lostReason() const { return lost_; }

  private:
    // The other end is gone: a hang-up, end of file or an error; no wait
    // can bring an answer any more.
    void markLost(int error);

    int fd_ = -1;
    std::string path_;
    std::string lost_;
};

// Milliseconds of the steady clock: the time base of every deadline.
long long steadyMs();

// Takes every line of this process out of exclusive mode at once. The
// exclusive mode of a pseudo-terminal outlives a process that is killed while
// something else holds the terminal open (as the simulator does), so a
// program's handler for SIGINT and SIGTERM should call this before it ends.
// Async-signal-safe.
void releaseLinesForExit();

}  // namespace hostkit
