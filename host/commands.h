#pragma once
// The register's command codes with what each does and how long the host
// waits for its answer by default. The time-outs cover the register's own
// worst case: a print whose printer does not answer takes about 19 s (five
// silent status reads of 200 ms with 100 ms pauses, then a reset of 500 ms
// and up to ten more such queries) before the register gives up and answers.

#include <cstdint>
#include <string_view>

namespace hostkit {

struct CommandInfo {
    std::uint8_t code;
    std::string_view name;  // what it does, for traces and messages
    int timeoutMs;          // the default time-out of its answer
};

// The entry of a command code; an unknown code gets a short entry (the
// register answers it at once with result code 10).
const CommandInfo& commandInfo(std::uint8_t code);

}  // namespace hostkit
