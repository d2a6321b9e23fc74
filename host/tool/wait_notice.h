#pragma once
// Tells on standard error that okta-host still waits for an answer: a few
// seconds after a request went out and then every ten seconds, so that a
// print held up by a silent printer, or a long control tape, is not taken
// for a hang ("okta-host: waiting for the printer… (3 s)"). The client's
// trace events drive it: a request arms it, its answer disarms it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "host/trace.h"

namespace hosttool {

class WaitNotice {
  public:
    explicit WaitNotice(std::chrono::milliseconds first = std::chrono::seconds(3),
                        std::chrono::milliseconds every = std::chrono::seconds(10));
    ~WaitNotice();
    WaitNotice(const WaitNotice&) = delete;
    WaitNotice& operator=(const WaitNotice&) = delete;

    // One event of the exchange on the line.
    void observe(const hostkit::TraceEvent& event);

  private:
    void watch();

    const std::chrono::milliseconds first_, every_;
    std::mutex lock_;
    std::condition_variable changed_;
    // Guarded by lock_: the request waited for and when it went out.
    bool waiting_ = false;
    bool ending_ = false;
    std::uint8_t command_ = 0;
    std::chrono::steady_clock::time_point sentAt_;
    std::thread thread_;
};

// What okta-host waits for while `command` is unanswered: "waiting for the
// printer…" for a command that prints, "printing the control tape…" for 58.
std::string waitText(std::uint8_t command);

}  // namespace hosttool
