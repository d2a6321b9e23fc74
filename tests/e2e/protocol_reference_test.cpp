// docs/protocol.md checked against the register: every example exchange is
// replayed, in the document's order, on a new simulated board and answered
// byte for byte as written (?? where a byte varies); every command the
// register serves has its section, and every section names an okta-host line
// that okta-host takes, whose help names the section's command code.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "common/crc.h"
#include "host/line.h"
#include "host/tool/cli.h"
#include "tests/e2e/reference_doc.h"
#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"

namespace {

// The examples run on a board whose card has 1 GiB free, so the free
// document places in the status are the same on every machine.
std::string boardWithOneGibibyteCard() {
    const std::string root = e2e::freshRoot();
    std::filesystem::create_directories(root);
    testing_support::writeFileBytes(root + "/sd-free-bytes", toBytes("1073741824\n"));
    return root;
}

// One whole answer frame, or what came before the deadline.
Bytes readFrame(hostkit::Line& line, long long deadlineMs) {
    Bytes got;
    std::uint8_t buffer[4096];
    while (hostkit::steadyMs() < deadlineMs) {
        const long n = line.read(buffer, sizeof buffer, deadlineMs);
        if (n < 0) break;
        got.insert(got.end(), buffer, buffer + n);
        const auto start = std::find(got.begin(), got.end(), 0x04);
        got.erase(got.begin(), start);  // nothing comes unasked; a stray byte would be a fault
        if (got.size() >= 3 && got.size() >= 5u + (got[1] | got[2] << 8)) break;
    }
    return got;
}

bool checkSumHolds(const Bytes& frame) {
    if (frame.size() < 5) return false;
    const std::uint16_t sum = crc::crc16(frame.data() + 1, frame.size() - 3);
    return (frame[frame.size() - 2] | frame[frame.size() - 1] << 8) == sum;
}

// Sends each code with no data; the codes that do not answer `absent`.
std::set<int> codesAnsweredOtherThan(int absent, const std::vector<std::string>& mode) {
    e2e::SimProcess sim(mode);
    EXPECT_TRUE(sim.waitReady()) << sim.output();
    std::set<int> served;
    for (int code = 0; code < 256; ++code) {
        auto r = sim.client().exchange(static_cast<std::uint8_t>(code), {}, 0, 30000);
        EXPECT_TRUE(r.ok()) << "command " << code << ": " << r.describe();
        if (r.ok() && static_cast<int>(r.value().code) != absent) served.insert(code);
    }
    return served;
}

TEST(ProtocolReference, EveryExampleExchangeIsAnsweredAsWritten) {
    std::vector<std::string> errors;
    const auto examples = reference::exchanges(reference::documentText(), errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    ASSERT_GT(examples.size(), 60u);

    e2e::SimProcess sim({}, boardWithOneGibibyteCard());
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    hostkit::Line line;
    std::string error;
    ASSERT_TRUE(line.open(sim.hostLine(), error)) << error;
    for (const auto& e : examples) {
        // A report or a close may print for a while; a silent line fails the
        // comparison below.
        ASSERT_TRUE(line.write(e.request, hostkit::steadyMs() + 5000)) << "line " << e.line;
        const Bytes answer = readFrame(line, hostkit::steadyMs() + 120000);
        EXPECT_TRUE(reference::matches(e.answer, answer))
            << "docs/protocol.md line " << e.line << "\n  written:  "
            << reference::patternText(e.answer) << "\n  answered: "
            << reference::patternText(std::vector<int>(answer.begin(), answer.end()));
        EXPECT_TRUE(checkSumHolds(answer)) << "line " << e.line;
    }
}

TEST(ProtocolReference, EveryCommandTheRegisterServesHasItsSection) {
    const std::string text = reference::documentText();
    std::set<int> sections;
    for (const auto& s : reference::commandSections(text)) {
        EXPECT_TRUE(sections.insert(s.code).second) << "a second section for " << s.code;
    }
    std::vector<int> linkRows;
    const auto rows = reference::tableCodes(text, linkRows);
    EXPECT_EQ(std::set<int>(rows.begin(), rows.end()), sections) << "the command table";

    // The register itself tells which codes it serves: the rest answer 10.
    EXPECT_EQ(codesAnsweredOtherThan(10, {}), sections);
    // Without its core (-s) the board answers 8 to everything but what the
    // link serves itself.
    EXPECT_EQ(codesAnsweredOtherThan(8, {"-s"}), std::set<int>(linkRows.begin(), linkRows.end()));
}

TEST(ProtocolReference, EverySectionNamesAnOktaHostLineWhoseHelpNamesTheCode) {
    const auto table = hosttool::allCommands();
    const auto sections = reference::commandSections(reference::documentText());
    ASSERT_FALSE(sections.empty());
    for (const auto& s : sections) {
        SCOPED_TRACE("command " + std::to_string(s.code));
        ASSERT_FALSE(s.sentBy.empty()) << "no \"Sent by:\" line";
        std::vector<std::string> words;
        std::istringstream in(s.sentBy);
        for (std::string w; in >> w;) words.push_back(w);
        std::size_t used = 0;
        const hosttool::Command* command = hosttool::findCommand(table, words, used);
        ASSERT_NE(command, nullptr) << s.sentBy;
        hosttool::Args args;
        bool helpAsked = false;
        std::string error;
        EXPECT_TRUE(hosttool::parseArgs(*command,
                                        std::vector<std::string>(words.begin() + used, words.end()),
                                        args, helpAsked, error))
            << s.sentBy << ": " << error;
        const std::regex code("\\b" + std::to_string(s.code) + "\\b");
        EXPECT_TRUE(std::regex_search(hosttool::commandHelp(*command), code))
            << "okta-host help " << command->name << " does not name " << s.code;
    }
}

}  // namespace
