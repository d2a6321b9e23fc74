#pragma once
// Says on standard error what a slow start-up waits for. The register asks
// the printer for its status before it serves the host line; a printer
// that does not answer keeps it there for about 40 s, and without a word a
// person takes the silent simulator for a hung one.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

class StartUpNotice {
  public:
    // Watches the start-up of the board at `root`: when READY has not come
    // after `after`, prints once what the register waits for.
    explicit StartUpNotice(std::string root,
                           std::chrono::milliseconds after = std::chrono::seconds(3));
    ~StartUpNotice();
    StartUpNotice(const StartUpNotice&) = delete;
    StartUpNotice& operator=(const StartUpNotice&) = delete;

    // The register serves the host line: nothing more to say.
    void ready();

  private:
    void watch(std::chrono::milliseconds after);

    std::string root_;
    std::mutex lock_;
    std::condition_variable changed_;
    bool ready_ = false;  // guarded by lock_
    std::thread thread_;
};

// The line printed for a start-up still waiting, given the word in
// DIR/printer/state (none when the file is absent).
std::string startUpWaitText(const std::string& root, const std::string& printerState);

}  // namespace sim
