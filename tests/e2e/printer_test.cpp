// The printer end to end: the register's printer commands against the
// simulator's virtual printer, its state file, its tape and raw files.

#include <gtest/gtest.h>

#include <fstream>

#include "common/cp866.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/tape_checks.h"
#include "tests/support/file_text.h"

namespace {

using namespace std::string_literals;
using e2e::htmlProblem;
using e2e::waitForFile;
using hostkit::Response;
using testing_support::countOf;
using testing_support::readFile;

constexpr std::uint16_t kPrinterOffline = 0x1000;
constexpr std::uint16_t kPaperNearEnd = 0x2000;
constexpr std::uint16_t kPaperOut = 0x4000;
constexpr std::size_t kStatusSize = 21;

class PrinterE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    Response request(std::uint8_t command, const Bytes& data = {}) {
        Response r;
        std::string error;
        auto& c = sim.client();
        c.drain();
        EXPECT_TRUE(c.request(command, data, r, error, 0, 30000)) << error;
        return r;
    }

    void setPaper(const std::string& word) {
        std::ofstream(sim.root() + "/printer/state") << word << "\n";
    }

    // The device flags by command 48 (it needs valid factory data): the
    // status record ends its answer. Fails the test when they cannot be read.
    void readDeviceFlags(std::uint16_t& flags) {
        Response r = request(48);
        ASSERT_EQ(r.code, 0) << "command 48 must answer once the factory number is set";
        ASSERT_GE(r.data.size(), kStatusSize);
        flags = le::u16(r.data.data() + r.data.size() - kStatusSize);
    }

    std::string printerFile(const std::string& name) { return sim.root() + "/printer/" + name; }

    e2e::SimProcess sim;
};

TEST_F(PrinterE2E, StatusQueryFollowsThePaperState) {
    // Factory data makes command 48 answer with the flags.
    Bytes serial{20};
    le::put32(serial, 271828);
    le::putText(serial, "0000000042");
    ASSERT_EQ(request(63, serial).code, 0);

    EXPECT_EQ(request(192).code, 0) << "no state file: paper in";

    std::uint16_t flags = 0;
    setPaper("out");
    Response r = request(192);
    EXPECT_EQ(r.code, 54);
    EXPECT_TRUE(r.data.empty());
    ASSERT_NO_FATAL_FAILURE(readDeviceFlags(flags));
    EXPECT_TRUE(flags & kPaperOut);
    EXPECT_FALSE(flags & kPrinterOffline);

    setPaper("near-end");
    EXPECT_EQ(request(192).code, 0);
    ASSERT_NO_FATAL_FAILURE(readDeviceFlags(flags));
    EXPECT_TRUE(flags & kPaperNearEnd);
    EXPECT_FALSE(flags & kPaperOut);

    setPaper("offline");
    const std::string statusRequest = "\x1D\x72\x01";
    const std::size_t sent = countOf(readFile(printerFile("raw.bin")), statusRequest);
    EXPECT_EQ(request(192).code, 53);
    const std::string raw = waitForFile(printerFile("raw.bin"), [&](const std::string& bytes) {
        return countOf(bytes, statusRequest) >= sent + 5;
    });
    EXPECT_EQ(countOf(raw, statusRequest), sent + 5) << "five silent attempts";
    ASSERT_NO_FATAL_FAILURE(readDeviceFlags(flags));
    EXPECT_TRUE(flags & kPrinterOffline);

    setPaper("ok");
    EXPECT_EQ(request(192).code, 0);
    ASSERT_NO_FATAL_FAILURE(readDeviceFlags(flags));
    EXPECT_FALSE(flags & (kPrinterOffline | kPaperOut | kPaperNearEnd));

    std::string out;
    setPaper("out");
    EXPECT_EQ(sim.runHost({"printer", "status"}, out), 1);
    setPaper("ok");
    EXPECT_EQ(sim.runHost({"--json", "printer", "status"}, out), 0);
    EXPECT_EQ(out, "{\"ok\":true,\"printer\":\"ok\"}\n");
}

TEST_F(PrinterE2E, FormattedPrintLandsOnTheTape) {
    const std::string text = "Касса ОКТА-80-Ф: чек №1";
    const std::string cp866Text = cp866::fromUtf8(text);
    // Line spacing 0, centred, large font, bold and cut.
    Bytes data{0, 1, 3, 0x11};
    le::putText(data, cp866Text);
    EXPECT_EQ(request(195, data).code, 0);

    std::string tape = waitForFile(printerFile("tape.txt"), [&](const std::string& t) {
        return t.find("✂") != std::string::npos;
    });
    const std::size_t at = tape.find(text);
    ASSERT_NE(at, std::string::npos) << tape;
    EXPECT_NE(tape.find("✂", at), std::string::npos) << "the cut follows the text";

    const std::string raw = readFile(printerFile("raw.bin"));
    EXPECT_NE(raw.find(cp866Text), std::string::npos) << "CP866 on the wire";
    EXPECT_EQ(raw.find(text), std::string::npos) << "not UTF-8";
    // The whole job: prefix, the style the four bytes ask for (narrow paper,
    // so ESC a 0 and the register centres the 23 bytes in 34 itself; large
    // bold font), the line, feed and cut, then the status check.
    ASSERT_EQ(cp866Text.size(), 23u);
    const std::string job = "\x1D\x64\x00\x1D\x50\x00\x00\x1B\x74\x07"s +
                            "\x1B\x33\x01\x1B\x61\x00\x1B\x21\x08\x1D\x42\x00"s + "     " +
                            cp866Text + "\n\x1B\x33\xFF\x0A\x1B\x69\x1D\x72\x01"s;
    EXPECT_NE(raw.find(job), std::string::npos);

    // Malformed requests.
    EXPECT_EQ(request(195, {0, 1, 3}).code, 22);
    EXPECT_EQ(request(196).code, 22);

    // Raw bytes and feed-and-cut reach the paper too.
    EXPECT_EQ(request(196, toBytes("RAW LINE\n")).code, 0);
    EXPECT_EQ(request(197).code, 0);
    tape = waitForFile(printerFile("tape.txt"), [](const std::string& t) {
        return t.find("RAW LINE") != std::string::npos && countOf(t, "✂") >= 2;
    });
    EXPECT_NE(tape.find("RAW LINE"), std::string::npos) << tape;
    EXPECT_GE(countOf(tape, "✂"), 2u) << tape;

    // The styled tape is a whole document that holds the printed lines.
    const std::string html = readFile(printerFile("tape.html"));
    EXPECT_EQ(htmlProblem(html), "");
    EXPECT_NE(html.find(text), std::string::npos);
    EXPECT_NE(html.find("RAW LINE"), std::string::npos);
    EXPECT_NE(html.find("class=\"cut "), std::string::npos);
}

TEST_F(PrinterE2E, HostToolPrintsStyledText) {
    std::string out;
    EXPECT_EQ(e2e::runHost(
                  {"--port", sim.hostLine(), "print", "Итого", "к", "оплате", "--bold", "--double",
                   "--inverse", "--carried-flag", "--font", "3", "--align", "centre", "--cut"},
                  out),
              0)
        << out;
    const std::string html = waitForFile(printerFile("tape.html"), [](const std::string& h) {
        return h.find("Итого к оплате") != std::string::npos;
    });
    EXPECT_NE(html.find("class=\"bold inverse\" style=\"font-size:2em;\">"), std::string::npos)
        << html;
    EXPECT_EQ(htmlProblem(html), "");

    EXPECT_EQ(sim.runHost({"print-raw", "1B7A0A"}, out), 0) << out;
    const std::string tape = waitForFile(printerFile("tape.txt"), [](const std::string& t) {
        return t.find("⟨1B 7A⟩") != std::string::npos;
    });
    EXPECT_NE(tape.find("⟨1B 7A⟩"), std::string::npos) << "unknown bytes are shown";
    EXPECT_EQ(sim.runHost({"feed-cut"}, out), 0) << out;
}

}  // namespace
