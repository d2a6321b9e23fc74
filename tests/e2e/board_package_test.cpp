// The board package, as `cmake --install --component board` lays it out (the
// same rules make the ARM package of `make board-package`): the register
// program, a systemd unit that systemd-analyze accepts, an init script that
// starts the program and starts it again when it ends, and the service
// engineer's page.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace fs = std::filesystem;

namespace {

int shell(const std::string& command, std::string& out) {
    const std::string log = testing_support::makeTempDir("okta-shell-") + "/log";
    const int status = std::system((command + " >'" + log + "' 2>&1").c_str());
    out = testing_support::readFile(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string installBoardPackage() {
    const std::string root = testing_support::makeTempDir("okta-board-") + "/root";
    std::string out;
    EXPECT_EQ(shell("cmake --install '" OKTA_BUILD_DIR "' --component board --prefix '" + root + "'",
                    out),
              0)
        << out;
    return root;
}

std::set<std::string> filesUnder(const std::string& root) {
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (!e.is_directory()) files.insert(fs::relative(e.path(), root).string());
    return files;
}

bool executable(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

TEST(BoardPackage, HoldsTheProgramItsStartFilesAndTheServicePage) {
    const std::string root = installBoardPackage();
    EXPECT_EQ(filesUnder(root),
              (std::set<std::string>{"usr/bin/okta80f", "lib/systemd/system/okta80f.service",
                                     "etc/init.d/okta80f", "usr/share/doc/okta80f/board.md"}));
    EXPECT_TRUE(executable(root + "/usr/bin/okta80f"));
    EXPECT_EQ(testing_support::readFile(root + "/usr/bin/okta80f"),
              testing_support::readFile(OKTA_BOARD_PROGRAM))
        << "the package carries the board program of this build";
    EXPECT_TRUE(executable(root + "/etc/init.d/okta80f"));
    EXPECT_EQ(testing_support::readFile(root + "/usr/share/doc/okta80f/board.md"),
              testing_support::readFile(OKTA_SOURCE_DIR "/docs/board.md"));

    const std::string unit = testing_support::readFile(root + "/lib/systemd/system/okta80f.service");
    EXPECT_NE(unit.find("\nExecStart=/usr/bin/okta80f\n"), std::string::npos) << unit;
    EXPECT_NE(unit.find("\nRestart=always\n"), std::string::npos) << unit;
    EXPECT_NE(unit.find("\nWantedBy=multi-user.target\n"), std::string::npos) << unit;
}

TEST(BoardPackage, SystemdAcceptsTheUnit) {
    std::string out;
    if (shell("command -v systemd-analyze", out) != 0)
        GTEST_SKIP() << "no systemd-analyze on this machine";
    const std::string root = installBoardPackage();
    // The board's root has systemd's own targets, which the unit's
    // dependencies lead to.
    ASSERT_EQ(shell("cp /lib/systemd/system/*.target '" + root + "/lib/systemd/system/'", out), 0)
        << out;
    EXPECT_EQ(shell("systemd-analyze verify --root='" + root + "' '" + root +
                        "/lib/systemd/system/okta80f.service'",
                    out),
              0)
        << out;
    EXPECT_EQ(out, "");
}

// The init script, with its program, pid file and log moved into a
// temporary directory: the program here only counts its starts and ends.
TEST(BoardPackage, TheInitScriptKeepsTheProgramRunningUntilStopped) {
    const std::string root = installBoardPackage();
    const std::string dir = testing_support::makeTempDir("okta-init-");
    const std::string program = dir + "/okta80f";
    testing_support::writeFileBytes(program,
                                    toBytes("#!/bin/sh\necho start >>'" + dir + "/starts'\n"));
    ::chmod(program.c_str(), 0755);
    std::string out;
    ASSERT_EQ(shell("sed -e 's|/usr/bin/okta80f|" + program + "|' -e 's|/var/run/|" + dir +
                        "/|' -e 's|/var/log/|" + dir + "/|' '" + root + "/etc/init.d/okta80f' >'" +
                        dir + "/init' && chmod +x '" + dir + "/init'",
                    out),
              0)
        << out;
    const std::string init = dir + "/init";

    EXPECT_EQ(shell(init + " status", out), 3) << out;
    ASSERT_EQ(shell(init + " start", out), 0) << out;
    EXPECT_EQ(shell(init + " status", out), 0) << out;
    // The program ends at once; the script starts it again, about once a second.
    std::size_t starts = 0;
    for (int i = 0; i < 100 && starts < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        starts = testing_support::countOf(testing_support::readFile(dir + "/starts"), "start");
    }
    EXPECT_GE(starts, 3u);
    EXPECT_EQ(shell(init + " start", out), 0) << out;
    EXPECT_EQ(out, "okta80f is running\n");

    ASSERT_EQ(shell(init + " stop", out), 0) << out;
    EXPECT_EQ(shell(init + " status", out), 3) << out;
    const std::string after = testing_support::readFile(dir + "/starts");
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(testing_support::readFile(dir + "/starts"), after) << "started again after stop";
}

}  // namespace
