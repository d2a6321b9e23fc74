#pragma once
// The simulated board: every board path maps under a root directory, the
// clock is the host's clock plus the seconds in ROOT/clock-offset, and the
// SD card is ROOT/dev/mmcblk0p1 (present or not) with its file system in
// ROOT/mnt/sd/. ROOT/sd-free-bytes, when present, stands for the card's
// available bytes. Pauses and pseudo-random numbers are the real board's.

#include <string>

#include "platform/real_board.h"

namespace sim {

class SimBoard : public platform::RealBoard {
  public:
    explicit SimBoard(std::string root);

    std::string path(std::string_view boardPath) const override;
    std::int64_t now() const override;
    bool setClock(std::int64_t seconds) override;
    bool mountCard() override;
    bool cardMounted() const override;
    std::uint64_t cardAvailableBytes() const override;

    const std::string& root() const { return root_; }

  private:
    std::string root_;
    bool mounted_ = false;
};

}  // namespace sim
