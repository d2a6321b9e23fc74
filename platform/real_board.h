#pragma once
// The register's own board: board paths are the real paths, the clock is the
// system clock, and the card is mounted with the system shell.

#include "platform/board.h"

namespace platform {

class RealBoard : public Board {
  public:
    std::string path(std::string_view boardPath) const override;
    std::int64_t now() const override;
    bool setClock(std::int64_t seconds) override;
    bool mountCard() override;
    bool cardMounted() const override;
    std::uint64_t cardAvailableBytes() const override;
    void sleepMs(int ms) override;
    void seedRandom(unsigned seed) override;
    int randomValue() override;
};

}  // namespace platform
