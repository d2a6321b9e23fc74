#include "platform/board.h"

#include <unistd.h>

#include "platform/real_board.h"

namespace platform {

bool Board::syncToMedium(int fd) { return ::fsync(fd) == 0; }

namespace {
std::unique_ptr<Board>& slot() {
    static std::unique_ptr<Board> b = std::make_unique<RealBoard>();
    return b;
}
}  // namespace

Board& board() { return *slot(); }

std::unique_ptr<Board> installBoard(std::unique_ptr<Board> b) {
    std::unique_ptr<Board> old = std::move(slot());
    slot() = std::move(b);
    return old;
}

}  // namespace platform
