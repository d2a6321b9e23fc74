// The Python POS example (examples/python/), written from docs/protocol.md
// alone, run against the simulator with Debian's python3 and python3-serial:
// it sets a new register up, sells two positions with change and reads the
// shift's counters back.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "tests/e2e/sim_process.h"

namespace {

// Runs the command; its standard output and error into `out`; the exit status.
int run(const std::string& command, std::string& out) {
    out.clear();
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PythonExampleE2E, SellsTwoPositionsWithChangeAndReadsTheCountersBack) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    const std::string demo =
        std::string(OKTA_PYTHON) + " '" OKTA_SOURCE_DIR "/examples/python/pos_demo.py' '" +
        sim.hostLine() + "'";
    std::string out;
    ASSERT_EQ(run(demo, out), 0) << out;
    // A new register: factory number, registration (document 1), shift
    // (document 2), then the receipt, document 3: 2 × 45.50 and 0.250 kg at
    // 350.00 make 178.50; 200.00 in cash leave 21.50 change. The 20 % tax
    // contained in 178.50 is 29.75.
    EXPECT_EQ(out,
              "register software 0.1.0\n"
              "factory number set\n"
              "registered\n"
              "shift opened\n"
              "receipt 1 of shift 1, document 3: total 178.50, change 21.50\n"
              "shift 1: 1 sales, 178.50, cash 178.50, tax 1 29.75; drawer 178.50\n");

    // On a register that is set up already it only sells: a second receipt.
    ASSERT_EQ(run(demo, out), 0) << out;
    EXPECT_EQ(out,
              "register software 0.1.0\n"
              "receipt 2 of shift 1, document 4: total 178.50, change 21.50\n"
              "shift 1: 2 sales, 357.00, cash 357.00, tax 1 59.50; drawer 357.00\n");
}

}  // namespace
