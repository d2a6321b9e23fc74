// Starting a simulated board: its command line, its clock, its directory
// and the lock that keeps one simulator per directory.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "sim/board_dir.h"
#include "sim/board_lock.h"
#include "sim/clock_offset.h"
#include "sim/sim_board.h"
#include "sim/sim_options.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

namespace fs = std::filesystem;

bool parse(std::vector<const char*> args, sim::SimOptions& out, std::string& error) {
    args.insert(args.begin(), "okta80f-sim");
    return sim::parseSimOptions(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(SimOptions, AcceptsTheRootAndOneModeAndRefusesTheRest) {
    sim::SimOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--root", "b"}, o, error)) << error;
    EXPECT_EQ(o.root, "b");
    EXPECT_TRUE(o.mode.empty());
    ASSERT_TRUE(parse({"-s", "--root=b2"}, o, error)) << error;
    EXPECT_EQ(o.root, "b2");
    EXPECT_EQ(o.mode, std::vector<std::string>{"-s"});
    ASSERT_TRUE(parse({"--root", "b", "run"}, o, error)) << "any other word is the normal run";
    EXPECT_EQ(o.mode, std::vector<std::string>{"run"});
    ASSERT_TRUE(parse({"--help"}, o, error));
    EXPECT_TRUE(o.help);

    const std::vector<std::vector<const char*>> refused = {
        {"--root", "b", "--verbose"},
        {"--root", "b", "-x"},
        {"--root"},
        {"--root", "b", "-c", "-d"},
        {"-s"},
        {"--root", "a", "--root", "b"},
        {"--root="},
    };
    for (const auto& args : refused) {
        error.clear();
        EXPECT_FALSE(parse(args, o, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
    parse({"--root", "b", "--verbose"}, o, error);
    EXPECT_EQ(error, "unknown option --verbose");

    const std::string usage = sim::simUsage();
    for (const char* word : {"--root DIR", "-c ", "-d ", "-s ", "--help", "READY"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

TEST(BoardClock, StaysInTheRegistersTimeOrSaysWhy) {
    EXPECT_EQ(sim::parseClockOffset(" 42\n"), 42);
    EXPECT_EQ(sim::parseClockOffset("-3600"), -3600);
    EXPECT_EQ(sim::parseClockOffset("+7"), 7);
    EXPECT_EQ(sim::parseClockOffset("+-7"), std::nullopt);
    EXPECT_EQ(sim::parseClockOffset("12 hours"), std::nullopt);
    EXPECT_EQ(sim::parseClockOffset("99999999999999999999"), std::nullopt);

    const std::int64_t now = 1700000000;
    EXPECT_EQ(sim::boardClock(std::nullopt, now).time, now);
    EXPECT_EQ(sim::boardClock(" \n", now).time, now) << "an empty file is no offset";
    EXPECT_EQ(sim::boardClock("-100", now).time, now - 100);
    EXPECT_EQ(sim::boardClock(std::to_string(0xFFFFFFFFLL - now), now).time, 0xFFFFFFFFLL);

    for (const std::string& offset :
         {std::to_string(std::numeric_limits<std::int64_t>::max()),
          std::to_string(std::numeric_limits<std::int64_t>::min()),
          std::to_string(0x100000000LL - now), std::to_string(-now - 1)}) {
        const sim::BoardClock clock = sim::boardClock(offset, now);
        EXPECT_FALSE(clock.time) << offset;
        EXPECT_NE(clock.problem.find("32-bit"), std::string::npos) << clock.problem;
    }
    EXPECT_NE(sim::boardClock("soon", now).problem.find("whole number"), std::string::npos);

    // The board itself never overflows: a bad offset leaves it on this
    // machine's clock, and the set-clock command refuses what the register
    // cannot hold.
    const std::string root = testing_support::makeTempDir("okta-clock-");
    sim::SimBoard board(root);
    std::ofstream(root + "/clock-offset") << std::numeric_limits<std::int64_t>::max();
    const std::int64_t before = std::time(nullptr);
    EXPECT_GE(board.now(), before);
    EXPECT_LE(board.now(), before + 5);
    EXPECT_FALSE(board.setClock(0x100000000LL));
    EXPECT_TRUE(board.setClock(before + 86400));
    EXPECT_NEAR(static_cast<double>(board.now()), static_cast<double>(before + 86400), 5);
    fs::remove_all(root);
}

TEST(BoardDir, FactoryPartsAreMadeOnlyForANewBoard) {
    const std::string root = testing_support::makeTempDir("okta-dir-") + "/board";
    fs::create_directories(root + "/printer");
    std::ofstream(root + "/printer/paper") << "80\n";
    ASSERT_TRUE(sim::isNewBoardDir(root)) << "settings for the printer do not make a board";
    sim::prepareBoardDir(root, true);
    const std::string eeprom = root + sim::kEepromPath;
    EXPECT_EQ(testing_support::readFile(eeprom), std::string(sim::kEepromSize, '\xFF'));
    EXPECT_TRUE(fs::exists(root + "/dev/mmcblk0p1"));
    EXPECT_TRUE(fs::is_directory(root + "/mnt/sd"));
    EXPECT_FALSE(sim::isNewBoardDir(root));

    // A board that lost its EEPROM or its card does not get new ones.
    fs::remove(eeprom);
    fs::remove(root + "/dev/mmcblk0p1");
    sim::prepareBoardDir(root, sim::isNewBoardDir(root));
    EXPECT_FALSE(fs::exists(eeprom));
    EXPECT_FALSE(fs::exists(root + "/dev/mmcblk0p1"));
    EXPECT_EQ(testing_support::readFile(root + "/printer/paper"), "80\n");
    fs::remove_all(fs::path(root).parent_path());
}

TEST(BoardLock, ASecondSimulatorOnOneDirectoryIsToldWhoHoldsIt) {
    const std::string root = testing_support::makeTempDir("okta-lock-");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        sim::BoardLock lock;
        std::string error;
        const char ok = lock.acquire(root, error) ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');

    sim::BoardLock second;
    std::string error;
    EXPECT_FALSE(second.acquire(root, error));
    EXPECT_NE(error.find("(pid " + std::to_string(holder) + ")"), std::string::npos) << error;

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(second.acquire(root, error)) << "the lock ends with its holder: " << error;
    EXPECT_EQ(testing_support::readFile(root + "/sim.lock"), std::to_string(::getpid()) + "\n");
    ::close(ready[0]);
    ::close(ready[1]);
    fs::remove_all(root);
}

}  // namespace
