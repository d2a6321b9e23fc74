#pragma once
// The simulated board: every board path maps under a root directory, except
// the register's ends of its serial lines, which map to the pseudo-terminals
// the simulator made for them (kept out of ROOT so that no client opens
// them by mistake). The clock is the host's clock plus the seconds in
// ROOT/clock-offset (see clock_offset.h), and the SD card is
// ROOT/dev/mmcblk0p1 (present or not) with its file system in ROOT/mnt/sd/.
// ROOT/sd-free-bytes, when present, stands for the card's available bytes.
// Pauses and pseudo-random numbers are the real board's; every write and
// sync on the card takes `cardWriteMs` (0: no time of its own).

#include <atomic>
#include <map>
#include <string>

#include "platform/real_board.h"

namespace sim {

class SimBoard : public platform::RealBoard {
  public:
    // `lines` maps board device paths such as "/dev/ttyGS0" to the devices
    // that stand for them.
    explicit SimBoard(std::string root, std::map<std::string, std::string> lines = {},
                      int cardWriteMs = 0);

    std::string path(std::string_view boardPath) const override;
    // This machine's clock when ROOT/clock-offset does not give a time the
    // register can hold (said once on standard error).
    std::int64_t now() const override;
    // False for a time outside the register's 32-bit range.
    bool setClock(std::int64_t seconds) override;
    bool mountCard() override;
    bool cardMounted() const override;
    std::uint64_t cardAvailableBytes() const override;
    void cardWriteTime() override;
    // No fsync: the simulator's power cut (SIGKILL) keeps what was written,
    // and syncing this machine's disk would only add its latency to every
    // store. With board timings the card's time is spent all the same.
    bool syncToMedium(int fd) override;

    const std::string& root() const { return root_; }
    std::string clockOffsetPath() const { return root_ + "/clock-offset"; }

  private:
    std::string root_;
    std::map<std::string, std::string> lines_;
    bool mounted_ = false;
    int cardWriteMs_ = 0;
    mutable std::atomic<bool> badOffsetReported_{false};
};

}  // namespace sim
