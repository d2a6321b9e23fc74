#pragma once
// Writing and reading a non-blocking descriptor against a deadline, for
// tests of lines that might stall: a stalled line fails the test instead of
// hanging it.

#include <chrono>
#include <cstddef>
#include <string>

namespace testing_support {

using Deadline = std::chrono::steady_clock::time_point;

inline Deadline secondsFromNow(int seconds) {
    return std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
}

// Writes all bytes; false when the reader has not taken them by the deadline.
bool writeAllBy(int fd, const std::string& bytes, Deadline deadline);

// Reads until at least `count` bytes came or the deadline passed; what came.
std::string readBy(int fd, std::size_t count, Deadline deadline);

}  // namespace testing_support
