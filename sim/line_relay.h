#pragma once
// Moves bytes both ways between the masters of two pseudo-terminals, so that
// the register's end of the host line and the host's end behave like the two
// ends of one serial cable.

#include <atomic>
#include <thread>

namespace sim {

class LineRelay {
public:
    LineRelay(int masterA, int masterB);
    ~LineRelay();  // stops the relay thread
    LineRelay(const LineRelay&) = delete;
    LineRelay& operator=(const LineRelay&) = delete;

private:
    void run();

    int a_;
    int b_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Writes all of n bytes to fd, retrying short writes; false on an error.
bool writeAll(int fd, const unsigned char* p, std::size_t n);

}  // namespace sim
