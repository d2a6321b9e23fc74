#include "tests/support/temp_board.h"

#include <cstdlib>
#include <filesystem>
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

ScopedTempBoard::~ScopedTempBoard() {
    std::string root = board_->root;
    platform::installBoard(std::move(previous_));
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

}  // namespace testing_support
