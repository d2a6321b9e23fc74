#pragma once
// The register's entry: picks the run mode from the first argument and runs
// it. Shared by the board program and the simulator, which install their
// Board before calling it.

#include <atomic>
#include <functional>

struct RunHooks {
    // Called once the host link serves requests (after the whole start-up).
    std::function<void()> onReady;
    // When given, the normal and link-only modes return once it becomes true.
    const std::atomic<bool>* stop = nullptr;
};

// "-c": erase and dump the EEPROM; "-d": dump the EEPROM; "-s": host link
// only; anything else: the whole register. Returns the exit status.
int runRegister(int argc, char** argv, const RunHooks& hooks = {});
