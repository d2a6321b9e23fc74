// okta-host when the register goes away: a simulator killed while a print
// waits ends the wait at once with words of its own and exit status 5, and
// the host-line that a killed simulator leaves behind is refused before a
// byte goes to whatever terminal now has its number.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"
#include "tests/support/pty_pair.h"

namespace {

using testing_support::readFile;

TEST(HostLineLostE2E, ASimulatorKilledDuringAPrintEndsTheWaitAtOnce) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    std::string out, err;
    ASSERT_EQ(sim.runHost({"set-serial", "0123456789"}, out), 0);
    const std::string printer = sim.root() + "/printer/";
    std::ofstream(printer + "state") << "offline\n";
    const std::size_t rawBefore = readFile(printer + "raw.bin").size();

    int status = -1;
    std::chrono::steady_clock::time_point ended;
    std::thread host([&] {
        status = e2e::runHost({"--port", sim.hostLine(), "print", "x"}, out, &err);
        ended = std::chrono::steady_clock::now();
    });
    // The register works on the print (the printer line stirs); the silent
    // printer keeps it there for about 19 s.
    for (int i = 0; i < 200 && readFile(printer + "raw.bin").size() == rawBefore; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto killed = std::chrono::steady_clock::now();
    ASSERT_EQ(::kill(sim.pid(), SIGKILL), 0);
    host.join();

    EXPECT_EQ(status, 5) << err;
    EXPECT_NE(err.find("the register at " + sim.hostLine() +
                       " stopped answering: the line was closed"),
              std::string::npos)
        << err;
    // Far sooner than the print's time-out (25 s); generous for a busy machine.
    EXPECT_LT(ended - killed, std::chrono::seconds(5));
}

TEST(HostLineLostE2E, AHostLineLeftByAKilledSimulatorIsRefusedUnwritten) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    ASSERT_EQ(::kill(sim.pid(), SIGKILL), 0);
    sim.stop();
    // The terminal number of the dead line goes to the next program that
    // asks for one: here the test's own pseudo-terminal.
    testing_support::PtyPair other;
    ASSERT_EQ(std::remove(sim.hostLine().c_str()), 0);
    ASSERT_EQ(::symlink(other.slavePath().c_str(), sim.hostLine().c_str()), 0);

    std::string out, err;
    EXPECT_EQ(e2e::runHost({"--port", sim.hostLine(), "status"}, out, &err), 3) << err;
    EXPECT_NE(err.find(sim.hostLine() + " was left by a simulator that is no longer running"),
              std::string::npos)
        << err;
    EXPECT_TRUE(other.receive(300).empty()) << "nothing written to the other terminal";
}

}  // namespace
