// The simulated board as a developer starts, floods and stops it: the host
// line under load, one simulator per directory, the board's own parts, the
// command line and the exchange log.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "sim/frame_scanner.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/tape_checks.h"
#include "tests/support/deadline_io.h"
#include "tests/support/file_text.h"

namespace {

namespace fs = std::filesystem;
using hostkit::Response;
using testing_support::countOf;
using testing_support::readFile;

constexpr std::size_t kLargestResponse = 1 + 4096;
constexpr std::uint8_t kVersion = 51, kDeviceKey = 50;

Response request(e2e::SimProcess& sim, std::uint8_t command) {
    Response r;
    std::string error;
    auto& c = sim.client();
    c.drain();
    EXPECT_TRUE(c.request(command, {}, r, error)) << error;
    return r;
}

TEST(SimBoardE2E, AHostMayWriteAnyAmountBeforeItReads) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    const int host = ::open(sim.hostLine().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(host, 0);

    // 20 000 ENQ bytes at once, then a request: the register answers every
    // ENQ (with its first, initial response) and then the request.
    constexpr std::size_t kEnqs = 20000;
    constexpr std::uint32_t kId = 0x5EED0001;
    const Bytes frame = hostkit::requestFrame(kVersion, kId, {});
    const auto deadline = testing_support::secondsFromNow(60);
    ASSERT_TRUE(testing_support::writeAllBy(
        host, std::string(kEnqs, '\x05') + std::string(frame.begin(), frame.end()), deadline))
        << "the line stalled while the host wrote";

    sim::FrameScanner responses(kLargestResponse, 60000);
    std::size_t enqAnswers = 0;
    Bytes answer;
    while (answer.empty() && std::chrono::steady_clock::now() < deadline) {
        sim.output();  // the register's diagnostics must not fill its pipe
        const std::string in = testing_support::readBy(host, 1, testing_support::secondsFromNow(1));
        const auto events =
            responses.feed(reinterpret_cast<const std::uint8_t*>(in.data()), in.size(), 0);
        for (const sim::LineEvent& e : events) {
            ASSERT_EQ(e.kind, sim::LineEvent::frame);
            ASSERT_TRUE(e.checksumOk);
            ASSERT_GE(e.payload.size(), 5u);
            if (le::u32(e.payload.data() + 1) == kId)
                answer = e.payload;
            else if (e.payload[0] == 17)
                ++enqAnswers;
        }
    }
    ::close(host);
    ASSERT_FALSE(answer.empty()) << "no answer to the request after the flood";
    EXPECT_EQ(answer, (Bytes{0, 0x01, 0x00, 0xED, 0x5E, 0x00, 0x01, 0x00}));
    EXPECT_EQ(enqAnswers, kEnqs) << "one answer for every ENQ, none lost";

    // The exchange log holds every frame and stray byte, decoded.
    const std::string log = e2e::waitForFile(sim.root() + "/line.log", [](const std::string& t) {
        return t.find("id 0x5EED0001 data 3") != std::string::npos;
    });
    EXPECT_EQ(countOf(log, " host>reg stray byte 05 (ENQ)\n"), kEnqs);
    EXPECT_EQ(countOf(log, " reg>host response code 17 ("), kEnqs);
    EXPECT_EQ(countOf(log, " host>reg request cmd 51 id 0x5EED0001 data 0\n"), 1u);
    EXPECT_EQ(countOf(log, " reg>host response code 0 (success) id 0x5EED0001 data 3\n"), 1u);
}

TEST(SimBoardE2E, OneSimulatorPerDirectoryAndNothingLeftBehind) {
    const std::string root = e2e::freshRoot();
    {
        e2e::SimProcess first({}, root);
        ASSERT_TRUE(first.waitReady()) << first.output();

        std::string out;
        EXPECT_EQ(e2e::runSimWithErrors({"--root", root}, out), 1);
        EXPECT_NE(out.find("(pid " + std::to_string(first.pid()) + ")"), std::string::npos) << out;
        EXPECT_EQ(out.find("READY"), std::string::npos);
        EXPECT_EQ(request(first, kVersion).code, 0) << "the first one serves on";

        // The register's ends of its lines are not offered to clients.
        EXPECT_FALSE(fs::exists(fs::symlink_status(root + "/dev/ttyGS0")));
        EXPECT_FALSE(fs::exists(fs::symlink_status(root + "/dev/ttyS0")));
        EXPECT_TRUE(fs::exists(root + "/host-line"));

        first.client().close();
        EXPECT_EQ(first.stop(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(root + "/host-line")))
            << "no dangling host-line";
    }
    e2e::SimProcess again({}, root);
    ASSERT_TRUE(again.waitReady()) << "the lock ended with the first simulator: " << again.output();
    EXPECT_EQ(request(again, kVersion).code, 0);
}

TEST(SimBoardE2E, AMissingEepromStaysMissing) {
    const std::string root = e2e::freshRoot();
    const std::string eeprom = root + "/sys/bus/i2c/devices/0-0050/eeprom";
    {
        e2e::SimProcess sim({}, root);
        ASSERT_TRUE(sim.waitReady()) << sim.output();
        EXPECT_EQ(request(sim, kDeviceKey).code, 0) << "a new board has its EEPROM";
    }
    ASSERT_TRUE(fs::remove(eeprom));
    {
        e2e::SimProcess sim({}, root);
        ASSERT_TRUE(sim.waitReady()) << sim.output();
        EXPECT_EQ(request(sim, kDeviceKey).code, 25) << "the EEPROM failure, as on the board";
    }
    EXPECT_FALSE(fs::exists(eeprom)) << "not made again behind the register's back";
}

TEST(SimBoardE2E, TheCommandLineIsCheckedBeforeTheBoardStarts) {
    std::string out;
    EXPECT_EQ(e2e::runSim({"--help"}, out), 0);
    for (const char* word : {"--root DIR", "  -c ", "  -d ", "  -s "})
        EXPECT_NE(out.find(word), std::string::npos) << word;

    const std::string root = e2e::freshRoot();
    EXPECT_EQ(e2e::runSimWithErrors({"--root", root, "--verbose"}, out), 2);
    EXPECT_NE(out.find("unknown option --verbose"), std::string::npos) << out;
    EXPECT_NE(out.find("usage: okta80f-sim"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(root)) << "nothing is made for a refused command line";

    fs::create_directories(root);
    std::ofstream(root + "/clock-offset") << "9223372036854775807\n";
    EXPECT_EQ(e2e::runSimWithErrors({"--root", root}, out), 1);
    EXPECT_NE(out.find(root + "/clock-offset 9223372036854775807 puts the clock outside"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("READY"), std::string::npos);
}

// Whether the terminal at `path` is in exclusive mode (a program that may
// not open it counts as finding it so).
bool exclusiveMode(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == EBUSY;
    int exclusive = 0;
    ::ioctl(fd, TIOCGEXCL, &exclusive);
    ::close(fd);
    return exclusive != 0;
}

TEST(SimBoardE2E, AHostKilledOutrightLeavesTheLineToTheNext) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    const pid_t host = ::fork();
    if (host == 0) {
        hostkit::Client client;
        std::string error;
        if (!client.open(sim.hostLine(), error)) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!exclusiveMode(sim.hostLine()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(exclusiveMode(sim.hostLine())) << "the host holds the line";
    ::kill(host, SIGKILL);
    ::waitpid(host, nullptr, 0);

    while (exclusiveMode(sim.hostLine()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(exclusiveMode(sim.hostLine())) << "the simulator released what the host left";
    std::string out;
    EXPECT_EQ(sim.runHost({"version"}, out), 0) << out;
}

}  // namespace
