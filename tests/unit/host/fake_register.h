#pragma once
// A register played by a test on the far end of a pseudo-terminal: it reads
// what the client sends and answers each request or ENQ with the bytes the
// test's script gives.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/bytes.h"
#include "tests/support/pty_pair.h"

namespace host_test {

// A response frame as the register sends it.
Bytes responseFrame(std::uint8_t code, std::uint32_t id, const Bytes& data = {});

// What reached the register: a request frame, or a lone ENQ.
struct Incoming {
    bool enq = false;
    std::uint8_t command = 0;
    std::uint32_t id = 0;
    Bytes data;
};

class FakeRegister {
  public:
    // The answer to the `index`-th thing received; empty for silence.
    using Script = std::function<Bytes(const Incoming&, int index)>;

    explicit FakeRegister(Script script);
    ~FakeRegister();

    const std::string& path() const { return pty_.slavePath(); }
    std::vector<Incoming> received();

  private:
    void run();

    testing_support::PtyPair pty_;
    Script script_;
    std::mutex mutex_;
    std::vector<Incoming> received_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A script that answers every request with code 0, its identifier and `data`.
FakeRegister::Script answerAll(const Bytes& data = {});

}  // namespace host_test
