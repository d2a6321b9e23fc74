#pragma once
// A pseudo-terminal pair for the simulator's serial lines. The simulator
// keeps the master and also holds the slave open, in raw mode, so that the
// line settings persist and the master never sees a hang-up while the
// register or a host reopens the slave.

#include <string>

namespace sim {

class Pty {
  public:
    Pty();  // throws std::runtime_error when no pseudo-terminal can be made
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // A host holds the line with an advisory lock and the terminal's
    // exclusive mode. A host killed outright drops its lock, but its
    // exclusive mode stays, since the simulator keeps the terminal open and
    // the last close that would clear it never comes. Clears the exclusive
    // mode when it is set and nobody holds the lock; true when it did.
    bool releaseAbandonedExclusiveMode();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Makes `link` a symbolic link to `target`, replacing whatever was there.
void replaceSymlink(const std::string& target, const std::string& link);

}  // namespace sim
