// The simulated board at the board's speed: the printer line carries ten
// bits a byte at its baud rate, so a print takes at least its bytes' time;
// and every write on the card takes its milliseconds, so a store takes at
// least its writes' time. Only lower bounds are asserted: a shared machine
// may always be slower.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "tests/e2e/fiscal_requests.h"
#include "tests/e2e/sim_process.h"
#include "tests/support/temp_board.h"

namespace {

using Clock = std::chrono::steady_clock;

// A board directory holding the timing files before its first start.
std::string boardWith(const std::string& baud, const std::string& writeMs) {
    const std::string root = testing_support::makeTempDir("okta-timing-") + "/board";
    std::filesystem::create_directories(root);
    if (!baud.empty()) std::ofstream(root + "/printer-baud") << baud << "\n";
    if (!writeMs.empty()) std::ofstream(root + "/sd-write-ms") << writeMs << "\n";
    return root;
}

double timed(e2e::SimProcess& sim, std::uint8_t command, const Bytes& data, int& code) {
    hostkit::Response r;
    std::string error;
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(sim.client().request(command, data, r, error, 0x71, 60000)) << error;
    code = r.code;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(BoardTimingsE2E, APrintTakesAtLeastItsBytesTimeOnTheLine) {
    e2e::SimProcess sim({"--board-timings"}, boardWith("", "0"));
    ASSERT_TRUE(sim.waitReady(60000)) << sim.output();
    const std::string raw = sim.root() + "/printer/raw.bin";
    const auto before = std::filesystem::file_size(raw);
    Bytes data{0, 1, 1, 0};
    for (int i = 0; i < 24; ++i)
        le::putText(data, std::string(40, static_cast<char>('A' + i)) + "\n");
    int code = -1;
    const double seconds = timed(sim, 195, data, code);
    ASSERT_EQ(code, 0);
    const auto sent = std::filesystem::file_size(raw) - before;
    ASSERT_GT(sent, 900u);
    EXPECT_GE(seconds, static_cast<double>(sent) * 10 / 57'600)
        << sent << " bytes at 57 600 baud in " << seconds << " s";
}

TEST(BoardTimingsE2E, AStoreTakesAtLeastItsWritesTimeOnTheCard) {
    constexpr int kWriteMs = 60;
    // A shift open writes its journal, its data, its slot, the copies and
    // counters in one piece, and clears the journal: five writes at least.
    constexpr int kShiftOpenWrites = 5;
    e2e::SimProcess sim({}, boardWith("", std::to_string(kWriteMs)));
    ASSERT_TRUE(sim.waitReady(60000)) << sim.output();
    int code = -1;
    for (const fiscal::Request& r : fiscal::fiscalizationRequests()) {
        timed(sim, r.command, r.data, code);
        ASSERT_EQ(code, 0) << int(r.command);
    }
    timed(sim, fiscal::kOpenShift, fiscal::asService(), code);
    ASSERT_EQ(code, 0);
    const double seconds = timed(sim, fiscal::kCloseShiftOpen, {}, code);
    ASSERT_EQ(code, 0);
    EXPECT_GE(seconds, kShiftOpenWrites * kWriteMs / 1000.0) << seconds << " s";
}

TEST(BoardTimingsE2E, ATimingFileWithoutANumberStopsTheSimulator) {
    std::string out;
    const std::string root = boardWith("fast", "");
    EXPECT_EQ(e2e::runSimWithErrors({"--root", root}, out), 1);
    EXPECT_NE(out.find("printer-baud holds no number from 300 to 4000000"), std::string::npos)
        << out;
}

}  // namespace
