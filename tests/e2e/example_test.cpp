// The example POS programs, built the way a POS developer builds them:
// against the host kit installed by `cmake --install` and found with
// find_package(OktaHost), headers as <okta/host/...>; then run against a
// simulator, the installed one for the sale.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

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

// Installs the kit into `work`/prefix and builds the examples against it
// into `work`/build.
void installKitAndBuildExamples(const std::string& work) {
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
}

// The installed simulator on `work`/board, started as a POS project's tests
// start it, and stopped (SIGTERM) at the end of the test.
class InstalledSimulator {
  public:
    explicit InstalledSimulator(const std::string& work)
        : board_(work + "/board"), pidFile_(work + "/sim.pid"), log_(work + "/sim.log") {
        const std::string start = "'" + work + "/prefix/bin/okta80f-sim' --root '" + board_ +
                                  "' >'" + log_ + "' 2>&1 & echo $! >'" + pidFile_ + "'";
        if (std::system(start.c_str()) != 0) return;
        pid_ = std::atoi(testing_support::readFile(pidFile_).c_str());
    }
    ~InstalledSimulator() {
        if (pid_ > 0) ::kill(pid_, SIGTERM);
    }

    // Waits for READY on the host line; false when it does not come.
    bool waitReady() {
        for (int i = 0; i < 400 && output().find("READY ") == std::string::npos; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return output().find("READY " + hostLine()) != std::string::npos;
    }
    std::string output() const { return testing_support::readFile(log_); }
    std::string hostLine() const { return board_ + "/host-line"; }

  private:
    std::string board_, pidFile_, log_;
    pid_t pid_ = -1;
};

TEST(ExampleE2E, BuildsAgainstTheInstalledPackageAndReadsTheClock) {
    const std::string work = testing_support::makeTempDir("okta-example-");
    const std::string prefix = work + "/prefix";
    std::string out;
    ASSERT_NO_FATAL_FAILURE(installKitAndBuildExamples(work));
    // The kit's headers sit under okta/ alone: nothing generic on the path.
    EXPECT_EQ(shell("ls '" + prefix + "/include' '" + prefix + "/include/okta'", out), 0);
    EXPECT_EQ(out, prefix + "/include:\nokta\n\n" + prefix + "/include/okta:\ncommon\nhost\n")
        << out;
    // Nothing of the register's own code went in: only the kit and common/.
    EXPECT_EQ(shell("ls '" + prefix + "/lib'", out), 0);
    EXPECT_EQ(out, "cmake\nlibokta_common.a\nlibokta_host.a\n");

    InstalledSimulator sim(work);
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

TEST(ExampleE2E, ASaleProgramSellsOnTheInstalledSimulator) {
    const std::string work = testing_support::makeTempDir("okta-sale-");
    const std::string bin = work + "/prefix/bin/";
    ASSERT_NO_FATAL_FAILURE(installKitAndBuildExamples(work));

    InstalledSimulator sim(work);
    ASSERT_TRUE(sim.waitReady()) << sim.output();

    const std::string host = "'" + bin + "okta-host' --port '" + sim.hostLine() + "' ";
    std::string out;
    for (const std::string& step :
         {std::string("set-serial 0000000042"),
          std::string("cashier set 5 --name Иванова --new-password 1234 --rights sale"),
          std::string("register --inn 7701234567 --storage-number 9999078900001234 --text1 ООО "
                      "--text2 Москва --text3 'Касса 1' --tax '1:НДС 20%:contained:20.00'")})
        EXPECT_EQ(shell(host + step, out), 0) << step << "\n" << out;

    EXPECT_EQ(shell("'" + work + "/build/pos-sale' '" + sim.hostLine() + "' 5 1234", out), 0)
        << out;
    EXPECT_EQ(out, "shift 1 opened\nreceipt 1: total 180.90, change 19.10\n");
}

}  // namespace
