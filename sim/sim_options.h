#pragma once
// The simulator's command line: okta80f-sim --root DIR [-c|-d|-s|MODE].

#include <string>
#include <vector>

namespace sim {

struct SimOptions {
    std::string root;
    // The register program's own arguments: empty, or one mode.
    std::vector<std::string> mode;
    bool help = false;
    // The printer line and the card at the board's speed (sim/board_timings.h).
    bool boardTimings = false;
};

// Parses argv[1 ...]. False with `error` set for an unknown option, a
// second mode, a missing or repeated --root; the caller prints the error
// and the usage and exits with status 2.
bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error);

// The text of --help.
std::string simUsage();

}  // namespace sim
