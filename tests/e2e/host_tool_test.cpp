// okta-host as scripts use it, end to end through the simulator: help that
// never touches the line, text that begins with a dash, one JSON object for
// every outcome, one exit status per kind of failure, a line held by one
// program at a time, and a time-out that does not leave the next command
// with the wrong answer.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/tool/cli.h"
#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

using testing_support::readFile;

// The words of a command's name, as a script types them.
std::vector<std::string> wordsOf(const std::string& name) {
    std::vector<std::string> words;
    std::istringstream in(name);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// True when `json` is exactly one JSON document, as python3 -m json.tool
// reads it.
bool parsesAsOneJsonObject(const std::string& json) {
    const std::string path = testing_support::makeTempDir("okta-json-") + "/out.json";
    std::ofstream(path) << json;
    const std::string command = "python3 -m json.tool '" + path + "' >/dev/null 2>&1";
    return json.rfind("{", 0) == 0 && std::system(command.c_str()) == 0;
}

std::string waitForText(const std::string& path, const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string content = readFile(path);
    while (content.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        content = readFile(path);
    }
    return content;
}

class OktaHostE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    std::string printerFile(const std::string& name) { return sim.root() + "/printer/" + name; }
    void setPrinter(const std::string& word) {
        std::ofstream(printerFile("state")) << word << "\n";
    }

    e2e::SimProcess sim;
};

TEST_F(OktaHostE2E, HelpOfEverySubcommandNeverTouchesTheLine) {
    const std::string rawBefore = readFile(printerFile("raw.bin"));
    const std::string logBefore = sim.output();
    std::string out, err;
    for (const hosttool::Command& c : hosttool::allCommands()) {
        const auto words = wordsOf(c.name);
        EXPECT_EQ(sim.runHost(concat(words, {"--help"}), out), 0) << c.name;
        EXPECT_EQ(out.rfind("usage: okta-host ", 0), 0u) << c.name << ": " << out;
        std::string viaHelp;
        EXPECT_EQ(sim.runHost(concat({"help"}, words), viaHelp), 0) << c.name;
        EXPECT_EQ(viaHelp, out) << c.name;
        EXPECT_EQ(sim.runHost(concat({"--json"}, concat(words, {"-h"})), out), 0) << c.name;
        EXPECT_TRUE(parsesAsOneJsonObject(out)) << c.name << ": " << out;
    }
    // No port at all: help still answers.
    EXPECT_EQ(e2e::runHost({"set-serial", "--help"}, out, &err), 0) << err;

    EXPECT_EQ(readFile(printerFile("raw.bin")), rawBefore) << "nothing was printed";
    EXPECT_EQ(sim.output(), logBefore) << "the register read nothing";
    // set-serial --help did not make "--help" the factory number.
    EXPECT_EQ(sim.runHost({"model"}, out), 1);
    EXPECT_EQ(sim.runHost({"set-serial", "0123456789"}, out), 0) << out;
}

TEST_F(OktaHostE2E, TextThatBeginsWithADashPrintsAfterTheEndOfOptions) {
    std::string out, err;
    EXPECT_EQ(sim.runHost({"print", "-----"}, out, &err), 2);
    EXPECT_NE(err.find("unknown option -----"), std::string::npos) << err;
    EXPECT_EQ(sim.runHost({"print", "--bold", "--", "-----", "--cut"}, out, &err), 0) << err;
    const std::string tape = waitForText(printerFile("tape.txt"), "----- --cut");
    // Both words printed as text on one line of the tape, "--cut" no option.
    const std::size_t at = tape.find("----- --cut");
    ASSERT_NE(at, std::string::npos) << tape;
    const std::string rest = tape.substr(at + 11, tape.find('\n', at) - at - 11);
    EXPECT_EQ(rest.find_first_not_of(' '), std::string::npos) << "nothing else on the line";
    EXPECT_EQ(sim.runHost({"feed-cut", "now"}, out, &err), 2);
    EXPECT_NE(err.find("extra argument \"now\""), std::string::npos) << err;
}

TEST_F(OktaHostE2E, JsonOutputIsOneObjectForEveryOutcome) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"version"}, 0},
        {{"status"}, 1},  // no factory number yet: refused with 13
        {{"set-serial", "012345678"}, 2},
        {{"set-serial", "0123456789"}, 0},
        {{"status"}, 0},  // no shift yet: its times are null
        {{"raw", "23", "--id", "9"}, 1},
        {{"raw", "51"}, 0},
        {{"clock", "get"}, 0},
        {{"clock", "set", "2027-02-30T10:00:00"}, 2},
        {{"discount", "set", "2", "--percent", "150"}, 2},
        {{"section", "set", "3", "--name", "Кофе ☕"}, 2},
        {{"--cashier", "21", "cashier", "get", "1"}, 2},
        {{"printer-setting", "set", "width", "70"}, 2},
        {{"no-such-command"}, 2},
        {{"help"}, 0},
        {{"print", "--", "-----"}, 0},
    };
    for (const Case& c : cases) {
        std::string out, err;
        const int status = sim.runHost(concat({"--json"}, c.args), out, &err);
        const std::string what = c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : "");
        EXPECT_EQ(status, c.status) << what << ": " << out << err;
        EXPECT_TRUE(parsesAsOneJsonObject(out)) << what << ": " << out;
        EXPECT_EQ(out.rfind(status == 0 ? "{\"ok\":true" : "{\"ok\":false", 0), 0u)
            << what << ": " << out;
        if (status != 0) {
            EXPECT_NE(err.find("okta-host: "), std::string::npos) << what;
        }
    }
    std::string out;
    ASSERT_EQ(sim.runHost({"--json", "status"}, out), 0);
    EXPECT_NE(out.find("\"shiftOpenTime\":null"), std::string::npos) << out;
    EXPECT_NE(out.find("\"shiftCloseTime\":null"), std::string::npos) << out;

    // No line to open: the same object on standard output.
    EXPECT_EQ(e2e::runHost({"--json", "--port", sim.root() + "/no-line", "version"}, out), 3);
    EXPECT_TRUE(parsesAsOneJsonObject(out)) << out;
    EXPECT_NE(out.find("\"kind\":\"no-line\""), std::string::npos) << out;
}

TEST_F(OktaHostE2E, OneExitStatusPerKindOfFailure) {
    std::string out, err;
    // No port at all, or no line at the path: 3 for every command.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"version"}, {"cashier", "get", "1"}, {"raw", "51"}, {"clock", "set", "1800000000"}}) {
        EXPECT_EQ(e2e::runHost(args, out, &err), 3) << args[0] << err;
        EXPECT_NE(err.find("no line"), std::string::npos) << err;
        EXPECT_EQ(e2e::runHost(concat({"--port", sim.root() + "/nothing"}, args), out, &err), 3);
    }
    // The register refuses: 1, with the code in words.
    EXPECT_EQ(sim.runHost({"model"}, out, &err), 1);
    EXPECT_NE(err.find("answered 13: factory data not valid"), std::string::npos) << err;
    // A value the register would refuse or misread never leaves: 2.
    EXPECT_EQ(sim.runHost({"--trace", "set-serial", "12345"}, out, &err), 2);
    EXPECT_NE(err.find("exactly 10 digits"), std::string::npos) << err;
    EXPECT_EQ(err.find("request:"), std::string::npos) << "nothing sent: " << err;
    // No answer in time: 4 (the printer keeps the register busy).
    setPrinter("offline");
    EXPECT_EQ(sim.runHost({"--timeout", "500", "print", "x"}, out, &err), 4);
    EXPECT_NE(err.find("no answer to command 195"), std::string::npos) << err;
}

TEST_F(OktaHostE2E, ACommandAfterATimeOutGetsItsOwnAnswer) {
    setPrinter("offline");
    std::string out, err;
    // The print waits for the silent printer about 19 s; okta-host gives up
    // after one.
    EXPECT_EQ(sim.runHost({"--timeout", "1000", "print", "x"}, out, &err), 4) << err;
    // The next command waits long enough for the register to finish, drops
    // the late answer to the print (53) and prints its own.
    EXPECT_EQ(sim.runHost({"--trace", "--timeout", "60000", "version"}, out, &err), 0) << err;
    EXPECT_EQ(out, "0.1.0\n");
    EXPECT_NE(err.find("dropped, answers another request: code 53"), std::string::npos) << err;
    EXPECT_NE(err.find("-> 04 05 00 33"), std::string::npos) << "the request in the trace: " << err;
}

TEST_F(OktaHostE2E, TwoProgramsOnOneLineGetAnErrorNotEachOthersAnswers) {
    std::string out, err;
    ASSERT_EQ(sim.runHost({"set-serial", "0123456789"}, out), 0);
    setPrinter("offline");
    const std::size_t rawBefore = readFile(printerFile("raw.bin")).size();
    std::string firstOut, firstErr;
    int firstStatus = -1;
    std::thread first([&] {
        firstStatus = sim.runHost({"--json", "print", "first"}, firstOut, &firstErr);
    });
    // Once the register works on the first one's print (the printer line
    // stirs), a second program is refused at once.
    for (int i = 0; i < 100 && readFile(printerFile("raw.bin")).size() == rawBefore; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(e2e::runHost({"--port", sim.hostLine(), "status"}, out, &err), 3) << out << err;
    EXPECT_NE(err.find("held by another program"), std::string::npos) << err;
    first.join();
    // The first got its own answer: the silent printer.
    EXPECT_EQ(firstStatus, 1) << firstOut << firstErr;
    EXPECT_NE(firstOut.find("\"code\":53"), std::string::npos) << firstOut;
    // And the line is free again.
    EXPECT_EQ(sim.runHost({"version"}, out), 0);
    EXPECT_EQ(out, "0.1.0\n");
}

}  // namespace
