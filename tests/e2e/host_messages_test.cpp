// What okta-host says when it refuses or the register does, end to end
// through the simulator: each message names the rule that was broken or the
// usual cause of the refusal, and a group of subcommands lists itself.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "tests/e2e/sim_process.h"

namespace {

struct Case {
    std::vector<std::string> args;
    int status;
    std::string says;  // on standard error
};

class OktaHostMessagesE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            std::string out, err;
            const int status = sim.runHost(c.args, out, &err);
            std::string shown;
            for (const std::string& a : c.args) shown += " " + a;
            EXPECT_EQ(status, c.status) << shown << "\n" << err;
            EXPECT_NE(err.find(c.says), std::string::npos) << shown << "\n" << err;
        }
    }

    void run(const std::vector<std::string>& args) {
        std::string out, err;
        ASSERT_EQ(sim.runHost(args, out, &err), 0) << args[0] << "\n" << err;
    }

    e2e::SimProcess sim;
};

TEST_F(OktaHostMessagesE2E, ValuesThatBreakARuleSayWhichRule) {
    run({"set-serial", "0000000042"});
    const std::string item = "--item";
    check({
        {{"cash", "in", "-5"}, 2, "the amount -5 is negative"},
        {{"cash", "in", "1,50"}, 2, "the amount 1,50 has a decimal comma: write 1.50"},
        {{"cash", "in", "99999999999999999999"}, 2, "the amount 99999999999999999999 is too large"},
        {{"cash", "in", "1.505"}, 2, "the amount 1.505 has more than two decimals"},
        {{"receipt", "sale", item, "Хлеб:45.505"}, 2,
         "the price 45.505 has more than two decimals"},
        {{"receipt", "sale", item, "Хлеб:45.50x-2"}, 2, "the quantity -2 is negative"},
        {{"receipt", "sale", item, "Хлеб:45,50"}, 2,
         "the price 45,50 has a decimal comma: write 45.50"},
        {{"receipt", "sale", item, "Хлеб:45.50:discount=1:discount-sum=1"}, 2,
         "give discount= or discount-sum=, not both"},
        {{"receipt", "sale", item, "Хлеб:45.50", "--cash", "-1"}, 2, "--cash -1 is negative"},
        {{"receipt", "sale", item, "Хлеб"}, 2, "this one has no price"},
        {{"cashier", "set", "20", "--rights", "sale"}, 2,
         "the service cashier 20 always holds every right"},
        // No "--" for a command that takes no text.
        {{"cash", "in", "--all"}, 2, "unknown option --all for cash in\n"},
        {{"print", "-----"}, 2, "(text that begins with - goes after --)"},
    });
}

TEST_F(OktaHostMessagesE2E, RefusalsSayTheirUsualCause) {
    check({
        {{"status"}, 1, "answered 13: factory data not valid; a new register needs its factory "
                        "number first: okta-host set-serial"},
    });
    run({"set-serial", "0000000042"});
    check({
        {{"shift", "open"}, 1, "the register is not registered: okta-host register first"},
        // Only cashier 20 has a password a new register knows.
        {{"--cashier", "5", "shift", "open"}, 2, "cashier 5 needs --password"},
        {{"--cashier", "5", "--password", "77", "shift", "open"}, 1,
         "answered 18: wrong cashier password or cashier not usable (tried cashier 5"},
    });
    run({"cashier", "set", "5", "--name", "Иванова", "--new-password", "1234", "--rights",
         "sale,return"});
    run({"section", "set", "1", "--name", "Хлеб"});
    run({"register", "--inn", "7701234567", "--storage-number", "9999078900001234", "--text1",
         "ООО", "--text2", "Москва", "--text3", "Касса 1", "--tax", "1:НДС 20%:contained:20.00"});
    ::setenv("OKTA_CASHIER", "5", 1);
    ::setenv("OKTA_PASSWORD", "1234", 1);
    run({"shift", "open"});
    run({"cash", "in", "1246.82"});
    check({
        {{"cash", "out", "99999"}, 1, "answered 40: more cash than the drawer holds"},
        {{"receipt", "return-sale", "--item", "Хлеб:5000.00", "--cash", "5000.00"}, 1,
         "answered 40: more cash paid out than the drawer holds"},
        // The environment's cashier, named when refused.
        {{"--password", "99", "cash", "out", "1.00"}, 1, "(tried cashier 5"},
    });
    ::unsetenv("OKTA_CASHIER");
    ::unsetenv("OKTA_PASSWORD");
}

TEST_F(OktaHostMessagesE2E, GroupsListTheirSubcommandsAndSlipsFindTheNearest) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"help", "receipt"}, {"receipt", "--help"}, {"shift", "-h"}, {"help", "cash"}}) {
        std::string out, err;
        EXPECT_EQ(sim.runHost(args, out, &err), 0) << args[0] << err;
        const std::string group = args[0] == "help" ? args[1] : args[0];
        EXPECT_NE(out.find("subcommands:"), std::string::npos) << out;
        EXPECT_NE(out.find("* " + group + " "), std::string::npos) << out;
    }
    std::string out, err;
    EXPECT_EQ(sim.runHost({"receipt"}, out, &err), 2);
    EXPECT_NE(err.find("receipt return-sale"), std::string::npos) << err;
    EXPECT_NE(err.find("okta-host: receipt needs a subcommand"), std::string::npos) << err;

    // One line, with the nearest name.
    EXPECT_EQ(sim.runHost({"shift", "opn"}, out, &err), 2);
    EXPECT_EQ(err, "okta-host: unknown command: shift opn; did you mean shift open?\n");
    EXPECT_EQ(sim.runHost({"verison"}, out, &err), 2);
    EXPECT_EQ(err, "okta-host: unknown command: verison; did you mean version?\n");
    EXPECT_EQ(sim.runHost({"help", "recept"}, out, &err), 2);
    EXPECT_EQ(err, "okta-host: unknown command: recept; did you mean receipt?\n");
}

// The bytes of a little-endian u32, as the trace shows them: "00 0E 0E 6B".
std::string traceBytes(std::uint32_t v) {
    Bytes b;
    le::put32(b, v);
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", b[0], b[1], b[2], b[3]);
    return text;
}

std::uint32_t localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900, tm.tm_mon = month - 1, tm.tm_mday = day;
    tm.tm_hour = hour, tm.tm_min = minute, tm.tm_sec = second, tm.tm_isdst = -1;
    return static_cast<std::uint32_t>(std::mktime(&tm));
}

TEST_F(OktaHostMessagesE2E, APeriodGivenBackwardsRunsFromTheFirstDayToTheEndOfTheLast) {
    std::string out, err;
    sim.runHost({"--trace", "report", "period", "2026-12-31", "2026-12-01"}, out, &err);
    const std::string bounds = traceBytes(localTime(2026, 12, 1, 0, 0, 0)) + " " +
                               traceBytes(localTime(2026, 12, 31, 23, 59, 59));
    EXPECT_NE(err.find(bounds), std::string::npos) << bounds << "\n" << err;
}

}  // namespace

namespace {

TEST(OktaHostWaitsE2E, ALongWaitIsToldOnStandardErrorButNotInJson) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    std::ofstream(sim.root() + "/printer/state") << "offline\n";
    std::string out, err;
    // The silent printer holds the register about 19 s; okta-host gives up
    // after 6, having said at 3 s what it waits for.
    EXPECT_EQ(sim.runHost({"--timeout", "6000", "print", "x"}, out, &err), 4) << err;
    EXPECT_NE(err.find("okta-host: waiting for the printer… (3 s)\n"), std::string::npos) << err;
    EXPECT_EQ(sim.runHost({"--json", "--timeout", "6000", "print", "x"}, out, &err), 4) << err;
    EXPECT_EQ(err.find("waiting"), std::string::npos) << err;
}

}  // namespace
