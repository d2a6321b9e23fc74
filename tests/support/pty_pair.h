#pragma once
// A pseudo-terminal pair for tests of code that drives a serial line: the
// code under test opens slavePath() like a device, the test plays the other
// end through master().

#include <string>

#include "common/bytes.h"

namespace testing_support {

class PtyPair {
public:
    PtyPair();  // throws std::runtime_error when no pseudo-terminal is to be had
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // Writes all bytes to the master.
    void send(const Bytes& bytes);
    // Reads what arrives at the master until `timeoutMs` passes without a byte.
    Bytes receive(int timeoutMs = 300);

private:
    int master_ = -1;
    int keepOpen_ = -1;  // keeps the slave's settings between opens
    std::string slavePath_;
};

}  // namespace testing_support
