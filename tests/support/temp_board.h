#pragma once
// A board for unit tests: board paths map under a fresh temporary
// directory, the clock is settable, the card is a flag, pauses are recorded
// instead of waited for, and the pseudo-random numbers are a fixed sequence
// from their seed. Installed as the process's board for the test's lifetime.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/board.h"

namespace testing_support {

class TempBoard : public platform::Board {
  public:
    std::string path(std::string_view boardPath) const override;
    std::int64_t now() const override { return clock; }
    bool setClock(std::int64_t seconds) override {
        clock = seconds;
        return true;
    }
    bool mountCard() override { return cardMounted(); }
    bool cardMounted() const override { return cardPresent; }
    std::uint64_t cardAvailableBytes() const override { return availableBytes; }
    // Records the pause and returns at once.
    void sleepMs(int ms) override;
    // A test's power cut is the write log's: this machine's disk is left
    // unsynced, unless a benchmark wants the syncs' real cost.
    bool syncToMedium(int fd) override { return realSyncs ? Board::syncToMedium(fd) : true; }
    void seedRandom(unsigned seed) override { random_ = seed; }
    int randomValue() override;

    // The pauses asked for since the last takePauses, in order; clears them.
    std::vector<int> takePauses();

    std::string root;
    std::int64_t clock = 1700000000;
    bool cardPresent = true;
    std::uint64_t availableBytes = 1ull << 30;
    bool realSyncs = false;

  private:
    std::mutex mutex_;
    std::vector<int> pauses_;
    unsigned random_ = 1;
};

// Makes a fresh directory with nv/ and installs a TempBoard on it; the
// previous board comes back and the directory is removed at destruction.
class ScopedTempBoard {
  public:
    ScopedTempBoard();
    ~ScopedTempBoard();
    TempBoard& board() { return *board_; }
    // The real file of a board path.
    std::string file(std::string_view boardPath) const { return board_->path(boardPath); }

    // Gives the board an SD card (its partition node and mount point) and an
    // EEPROM image holding `eeprom` (erased, all 0xFF, by default).
    void addCardAndEeprom(const std::string& eeprom = std::string(4096, '\xFF'));

  private:
    TempBoard* board_;
    std::unique_ptr<platform::Board> previous_;
};

// A fresh temporary directory's path (created).
std::string makeTempDir(const std::string& prefix);

}  // namespace testing_support
