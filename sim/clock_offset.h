#pragma once
// The simulated board's clock: this machine's clock plus the seconds in
// DIR/clock-offset (decimal, may be negative; a missing or empty file counts as 0).
// The register counts time in unsigned 32-bit seconds since 1970, so a
// board time outside 0 ... 4294967295 (1970-01-01 ... 2106-02-07) is one it
// cannot hold.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

constexpr std::int64_t kLatestBoardTime = 0xFFFFFFFF;

// The offset a file's text holds: optional white space, an optional sign,
// decimal digits, optional white space. None for anything else, a number
// beyond 64 bits included.
std::optional<std::int64_t> parseClockOffset(std::string_view text);

struct BoardClock {
    std::optional<std::int64_t> time;  // the board's time, when it can be had
    std::string problem;               // otherwise why not, in words
};

// The board's time at this machine's time `hostNow`, given the offset
// file's text (none when there is no file). Computed without overflow.
BoardClock boardClock(const std::optional<std::string>& offsetText, std::int64_t hostNow);

// The whole text of a file; none when it cannot be read.
std::optional<std::string> readTextFile(const std::string& path);

}  // namespace sim
