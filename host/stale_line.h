#pragma once
// A simulator's host-line outlives a simulator killed outright: the link
// stays, pointing at a pseudo-terminal number that the system hands to the
// next program that asks for one. A running simulator holds the lock on
// sim.lock beside its host-line, so a link whose directory has a sim.lock
// that nobody holds belongs to no simulator, and nothing may be written to
// where it points.

#include <optional>
#include <string>

namespace hostkit {

// Why `path` must not be opened: a link beside a sim.lock that no process
// holds; nothing for any other path.
std::optional<std::string> staleSimulatorLine(const std::string& path);

}  // namespace hostkit
