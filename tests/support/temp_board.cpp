#include "tests/support/temp_board.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace testing_support {

std::string makeTempDir(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

std::string TempBoard::path(std::string_view boardPath) const {
    return root + std::string(boardPath);
}

void TempBoard::sleepMs(int ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    pauses_.push_back(ms);
}

std::vector<int> TempBoard::takePauses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(pauses_, {});
}

int TempBoard::randomValue() {
    random_ = random_ * 1103515245u + 12345u;
    return static_cast<int>((random_ >> 1) & 0x7FFFFFFF);
}

ScopedTempBoard::ScopedTempBoard() {
    auto b = std::make_unique<TempBoard>();
    b->root = makeTempDir("okta-test-");
    std::filesystem::create_directories(b->root + "/nv");
    board_ = b.get();
    previous_ = platform::installBoard(std::move(b));
}

void ScopedTempBoard::addCardAndEeprom(const std::string& eeprom) {
    std::filesystem::create_directories(file("/mnt/sd"));
    std::filesystem::create_directories(file("/dev"));
    std::ofstream(file("/dev/mmcblk0p1"));
    std::filesystem::create_directories(file("/sys/bus/i2c/devices/0-0050"));
    std::ofstream(file("/sys/bus/i2c/devices/0-0050/eeprom"), std::ios::binary) << eeprom;
}

ScopedTempBoard::~ScopedTempBoard() {
    std::string root = board_->root;
    platform::installBoard(std::move(previous_));
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

}  // namespace testing_support
