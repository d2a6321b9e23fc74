#pragma once
// The small files a person puts under the board directory to steer the
// simulated board (clock-offset, printer/state, printer/paper) are read whole,
// afresh each time they matter.

#include <optional>
#include <string>

namespace sim {

// The whole content of a file; none when it cannot be read.
std::optional<std::string> readTextFile(const std::string& path);

}  // namespace sim
