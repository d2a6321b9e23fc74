// The example POS program, built the way a POS developer builds it: against
// the host kit installed by `cmake --install` and found with
// find_package(OktaHost), then run against the simulator to read its clock.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

// Runs a shell command; its output (both streams) into `out`.
int shell(const std::string& command, std::string& out) {
    const std::string log = testing_support::makeTempDir("okta-shell-") + "/log";
    const int status = std::system((command + " >'" + log + "' 2>&1").c_str());
    out = testing_support::readFile(log);
    return status;
}

TEST(ExampleE2E, BuildsAgainstTheInstalledPackageAndReadsTheClock) {
    const std::string work = testing_support::makeTempDir("okta-example-");
    const std::string prefix = work + "/prefix";
    std::string out;
    ASSERT_EQ(shell("cmake --install '" OKTA_BUILD_DIR "' --prefix '" + prefix + "'", out), 0)
        << out;
    ASSERT_EQ(shell("cmake -S '" OKTA_SOURCE_DIR "/examples' -B '" + work +
                        "/build' -DCMAKE_PREFIX_PATH='" + prefix +
                        "' -DCMAKE_CXX_COMPILER='" OKTA_CXX_COMPILER "'",
                    out),
              0)
        << out;
    ASSERT_EQ(shell("cmake --build '" + work + "/build'", out), 0) << out;
    // Nothing of the register's own code went in: only the kit and common/.
    EXPECT_EQ(shell("ls '" + prefix + "/lib'", out), 0);
    EXPECT_EQ(out, "cmake\nlibokta_common.a\nlibokta_host.a\n");

    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    const long long before = std::time(nullptr);
    ASSERT_EQ(shell("'" + work + "/build/pos-example' '" + sim.hostLine() + "'", out), 0) << out;
    EXPECT_NE(out.find("register software 0.1.0\n"), std::string::npos) << out;
    // "clock 2027-01-05 09:30:00 (1799130600)": the simulator runs on this
    // machine's clock.
    const std::size_t open = out.find("(");
    ASSERT_NE(open, std::string::npos) << out;
    const long long seconds = std::atoll(out.c_str() + open + 1);
    EXPECT_LE(std::llabs(seconds - before), 5) << out;
    EXPECT_NE(out.find("state: refused with code 13, factory data not valid"), std::string::npos)
        << out;
}

}  // namespace
