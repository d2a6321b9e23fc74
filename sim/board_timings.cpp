#include "sim/board_timings.h"

#include <charconv>

#include "sim/text_file.h"

namespace sim {

namespace {

// The number in DIR/name, if the file is there; false when it is there and
// holds no number from `low` to `high`.
bool readNumber(const std::string& root, const char* name, int low, int high,
                std::optional<int>& out, std::string& problem) {
    out.reset();
    const std::optional<std::string> text = readTextFile(root + "/" + name);
    if (!text) return true;
    std::string_view digits = *text;
    while (!digits.empty() && (digits.back() == '\n' || digits.back() == ' ')) digits.remove_suffix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < low || value > high) {
        problem = std::string(name) + " holds no number from " + std::to_string(low) + " to " +
                  std::to_string(high);
        return false;
    }
    out = value;
    return true;
}

}  // namespace

bool readBoardTimings(const std::string& root, bool boardFigures, BoardTimings& out,
                      std::string& problem) {
    std::optional<int> baud, writeMs;
    if (!readNumber(root, "printer-baud", 300, 4'000'000, baud, problem) ||
        !readNumber(root, "sd-write-ms", 0, 10'000, writeMs, problem))
        return false;
    out.printerBaud = baud.value_or(boardFigures ? kBoardPrinterBaud : 0);
    out.cardWriteMs = writeMs.value_or(boardFigures ? kBoardCardWriteMs : 0);
    return true;
}

}  // namespace sim
