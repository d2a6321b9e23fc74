#include "sim/sim_board.h"

#include <chrono>
#include <thread>

#include <sys/statvfs.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>

#include "sim/clock_offset.h"
#include "sim/text_file.h"

namespace sim {

namespace fs = std::filesystem;

namespace {
// A decimal number from the first line of a file; false when the file is
// missing or holds no number.
bool readNumber(const std::string& file, long long& value) {
    std::ifstream in(file);
    return static_cast<bool>(in >> value);
}
}  // namespace

SimBoard::SimBoard(std::string root, std::map<std::string, std::string> lines, int cardWriteMs)
    : root_(std::move(root)), lines_(std::move(lines)), cardWriteMs_(cardWriteMs) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

bool SimBoard::syncToMedium(int) { return true; }

void SimBoard::cardWriteTime() {
    if (cardWriteMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(cardWriteMs_));
}

std::string SimBoard::path(std::string_view boardPath) const {
    if (auto line = lines_.find(std::string(boardPath)); line != lines_.end()) return line->second;
    if (!boardPath.empty() && boardPath.front() == '/') return root_ + std::string(boardPath);
    return root_ + "/" + std::string(boardPath);
}

std::int64_t SimBoard::now() const {
    const std::int64_t hostNow = std::time(nullptr);
    const BoardClock clock = boardClock(readTextFile(clockOffsetPath()), hostNow);
    if (clock.time) return *clock.time;
    if (!badOffsetReported_.exchange(true))
        std::cerr << "okta80f-sim: " << clock.problem
                  << "; the board runs on this machine's clock\n";
    return hostNow;
}

bool SimBoard::setClock(std::int64_t seconds) {
    if (seconds < 0 || seconds > kLatestBoardTime) return false;
    std::ofstream out(clockOffsetPath(), std::ios::trunc);
    out << (seconds - static_cast<std::int64_t>(std::time(nullptr))) << "\n";
    return static_cast<bool>(out);
}

bool SimBoard::mountCard() {
    std::error_code ec;
    mounted_ = fs::exists(path("/dev/mmcblk0p1"), ec) && fs::is_directory(path("/mnt/sd"), ec);
    return mounted_;
}

bool SimBoard::cardMounted() const {
    std::error_code ec;
    return mounted_ && fs::exists(path("/dev/mmcblk0p1"), ec) &&
           fs::is_directory(path("/mnt/sd"), ec);
}

std::uint64_t SimBoard::cardAvailableBytes() const {
    long long bytes = 0;
    if (readNumber(root_ + "/sd-free-bytes", bytes) && bytes >= 0)
        return static_cast<std::uint64_t>(bytes);
    struct statvfs st {};
    if (::statvfs(path("/mnt/sd/").c_str(), &st) != 0)
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
}

}  // namespace sim
