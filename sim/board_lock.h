#pragma once
// One simulator per board directory: the simulator holds a lock on
// DIR/sim.lock for its whole life, so that a second one on the same DIR
// refuses to start instead of sharing the register's files with the first.
// The lock is a POSIX record lock: the kernel drops it when the process
// ends, however it ends, and tells a second process who holds it. The file
// also holds the holder's pid as text, for people.

#include <string>

namespace sim {

class BoardLock {
  public:
    BoardLock() = default;
    ~BoardLock();
    BoardLock(const BoardLock&) = delete;
    BoardLock& operator=(const BoardLock&) = delete;

    // Takes the lock on `root`/sim.lock, creating the file. False with
    // `error` set when it cannot, naming the pid of the process that holds
    // it when another one does.
    bool acquire(const std::string& root, std::string& error);

  private:
    int fd_ = -1;
};

}  // namespace sim
