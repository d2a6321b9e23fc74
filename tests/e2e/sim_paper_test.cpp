// The virtual printer's paper end to end: the roll follows the register's
// paper-width setting, and what does not fit on a line wraps at the roll's
// width in both tape files.

#include <gtest/gtest.h>

#include <sstream>

#include "common/cp866.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/tape_checks.h"
#include "tests/support/file_text.h"

namespace {

using namespace std::string_literals;
using testing_support::readFile;

constexpr std::uint8_t kSetPrinterSetting = 194, kFormattedPrint = 195, kFeedAndCut = 197;
constexpr std::uint8_t kServiceCashier = 20;
constexpr std::uint32_t kServicePassword = 271828;

std::size_t characters(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

class SimPaperE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    int request(std::uint8_t command, const Bytes& data) {
        hostkit::Response r;
        std::string error;
        auto& c = sim.client();
        c.drain();
        EXPECT_TRUE(c.request(command, data, r, error, 0, 30000)) << error;
        return r.code;
    }

    // Command 195 with alignment and font bytes, no style, no cut.
    int print(std::uint8_t align, std::uint8_t font, const std::string& utf8) {
        Bytes data{0, align, font, 0};
        le::putText(data, cp866::fromUtf8(utf8));
        return request(kFormattedPrint, data);
    }

    e2e::SimProcess sim;
};

TEST_F(SimPaperE2E, EightyColumnsOnEightyMillimetrePaperWrapAtTheRoll) {
    Bytes width{kServiceCashier};
    le::put32(width, kServicePassword);
    width.push_back(1);   // parameter 1, the paper width
    width.push_back(80);  // millimetres
    ASSERT_EQ(request(kSetPrinterSetting, width), 0);

    std::string eighty;
    for (int i = 0; i < 80; ++i) eighty += static_cast<char>('0' + i % 10);
    ASSERT_EQ(print(0, 3, eighty), 0);      // left, large font
    ASSERT_EQ(print(1, 1, "ИТОГО"), 0);     // centred, small font
    ASSERT_EQ(print(2, 3, "1 234.50"), 0);  // right, large font
    ASSERT_EQ(request(kFeedAndCut, {}), 0);

    const std::string path = sim.root() + "/printer/tape.txt";
    const std::string tape = e2e::waitForFile(path, [](const std::string& t) {
        return t.find("✂") != std::string::npos && t.find("ИТОГО") != std::string::npos;
    });
    // The greeting comes first; the lines of this test follow the 80 digits.
    const std::size_t at = tape.find(eighty.substr(0, 48) + "\n");
    ASSERT_NE(at, std::string::npos) << "the first 48 digits fill a line:\n" << tape;
    std::istringstream lines(tape.substr(at));
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line)) got.push_back(line);
    ASSERT_GE(got.size(), 5u) << tape;
    EXPECT_EQ(got[1], eighty.substr(48) + std::string(16, ' ')) << "the rest wraps to the next";
    EXPECT_EQ(got[2], std::string(29, ' ') + "ИТОГО" + std::string(30, ' ')) << "64 small";
    EXPECT_EQ(got[3], std::string(40, ' ') + "1 234.50") << "48 large, right-aligned";
    EXPECT_EQ(got.back(), "✂" + std::string(47, '-'));
    for (const std::string& l : got)
        EXPECT_TRUE(characters(l) == 48 || characters(l) == 64) << "[" << l << "]";

    // tape.html: the same lines on paper as wide as the roll.
    const std::string html = readFile(sim.root() + "/printer/tape.html");
    EXPECT_EQ(e2e::htmlProblem(html), "");
    EXPECT_NE(html.find("<div class=\"line wide\">" + eighty.substr(0, 48) + "</div>"),
              std::string::npos);
    EXPECT_NE(html.find("<div class=\"line wide\">" + eighty.substr(48) + "</div>"),
              std::string::npos);
    EXPECT_NE(html.find("<div class=\"line wide right\">1 234.50</div>"), std::string::npos);
    EXPECT_NE(html.find(".wide { width: 48ch; }"), std::string::npos);
}

}  // namespace
