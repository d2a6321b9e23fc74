// The virtual printer: ESC/POS interpretation, the tape files and the
// status answers.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/cp866.h"
#include "sim/line_relay.h"
#include "sim/printer_line.h"
#include "sim/pty.h"
#include "sim/tape_files.h"
#include "sim/tape_renderer.h"
#include "sim/tape_text.h"
#include "sim/virtual_printer.h"
#include "tests/support/deadline_io.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

using namespace std::string_literals;
using sim::TapeItem;
using testing_support::countOf;
using testing_support::readFile;

std::vector<TapeItem> feed(sim::TapeRenderer& r, const std::string& bytes) {
    return r.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// One byte at a time: every command is split across reads.
std::vector<TapeItem> feedBytewise(sim::TapeRenderer& r, const std::string& bytes) {
    std::vector<TapeItem> all;
    for (char c : bytes) {
        auto items = feed(r, std::string(1, c));
        all.insert(all.end(), items.begin(), items.end());
    }
    return all;
}

// A job as the register sends it: prefix, a large centred bold double-size
// block, a small inverse line, the status request, feed and cut.
const std::string kJob =
    "\x1D\x64\x00\x1D\x50\x00\x00\x1B\x74\x07"s
    "\x1B\x33\x01\x1B\x61\x01\x1B\x21\x38\x1D\x42\x00"s +
    cp866::fromUtf8("ПРИВЕТ") + "\n"s + "\x1B\x33\x01\x1B\x61\x00\x1B\x21\x01\x1D\x42\x01"s +
    "a\tb\n"s + "\x1D\x72\x01"s + "\x1B\x33\xFF\x0A\x1B\x69"s;

TEST(TapeRenderer, InterpretsAJobWhateverTheReadBoundaries) {
    for (bool bytewise : {false, true}) {
        sim::TapeRenderer r;
        const auto items = bytewise ? feedBytewise(r, kJob) : feed(r, kJob);
        ASSERT_EQ(items.size(), 5u) << "bytewise " << bytewise;

        ASSERT_EQ(items[0].kind, TapeItem::line);
        const sim::TapeLine& first = items[0].printed;
        EXPECT_EQ(first.text(), "ПРИВЕТ");
        EXPECT_EQ(first.align, sim::TapeAlign::centre);
        ASSERT_EQ(first.runs.size(), 1u);
        EXPECT_TRUE(first.runs[0].style.bold);
        EXPECT_EQ(first.runs[0].style.height, 2);
        EXPECT_EQ(first.runs[0].style.width, 2);
        EXPECT_FALSE(first.runs[0].style.fontB);
        EXPECT_FALSE(first.runs[0].style.inverse);

        const sim::TapeLine& second = items[1].printed;
        EXPECT_EQ(second.text(), "a       b") << "a tab moves to the next stop of 8";
        EXPECT_EQ(second.align, sim::TapeAlign::left);
        EXPECT_TRUE(second.runs[0].style.fontB);
        EXPECT_TRUE(second.runs[0].style.inverse);
        EXPECT_FALSE(second.runs[0].style.bold);

        EXPECT_EQ(items[2].kind, TapeItem::statusRequest);
        EXPECT_EQ(items[2].statusKind, 1);
        EXPECT_EQ(items[3].kind, TapeItem::line);
        EXPECT_EQ(items[3].printed.text(), "");
        EXPECT_EQ(items[3].printed.feedDots, 255) << "the feed before the cut";
        EXPECT_EQ(items[4].kind, TapeItem::cut);
    }
}

TEST(TapeRenderer, ShowsWhatItDoesNotUnderstand) {
    sim::TapeRenderer r;
    r.setRoll({80});  // room for the marks on one line
    // Before ESC t 7 the Cyrillic page is not selected.
    auto items = feed(r, "\x8E\x1Bz\x07\x1D\x99\x10\x14\x09ok\x10\x7F\x7F\n"s);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].printed.text(), "⟨8E⟩⟨1B 7A⟩⟨07⟩⟨1D 99⟩⟨10 14 09⟩ok⟨10 7F⟩⟨7F⟩");
    ASSERT_EQ(items[0].printed.runs.size(), 3u);
    EXPECT_TRUE(items[0].printed.runs[0].style.unknown);
    EXPECT_FALSE(items[0].printed.runs[1].style.unknown);

    // ESC @ resets the style and the code page; clearing the buffers loses
    // the text not yet printed; a cut ends a pending line.
    items =
        feed(r, "\x1B\x74\x07\x1B\x21\x08\x1B\x61\x02"s + cp866::fromUtf8("Ж") + "\x1B\x40\x8E\n"s +
                    "lost\x10\x14\x08\x01\x03\x14\x01\x06\x02\x08"s + "kept\x1B\x69"s);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].printed.text(), "⟨8E⟩") << "initialise drops the pending line too";
    EXPECT_EQ(items[0].printed.align, sim::TapeAlign::left);
    EXPECT_EQ(items[1].printed.text(), "kept");
    EXPECT_FALSE(items[1].printed.runs[0].style.bold);
    EXPECT_EQ(items[2].kind, TapeItem::cut);

    // A mark reads the same in any print mode.
    items = feed(r, "\x1B!\x30\x1Bz\n"s);
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0].printed.runs.size(), 1u);
    EXPECT_TRUE(items[0].printed.runs[0].style.unknown);
    EXPECT_EQ(items[0].printed.runs[0].style.width, 1);
    EXPECT_EQ(items[0].printed.runs[0].style.height, 1);
    feed(r, "\x1B@"s);

    // An incomplete command waits for its last byte.
    EXPECT_TRUE(feed(r, "\x10\x14\x08\x01\x03"s).empty());
    items = feed(r, "\x14\x01\x06\x02\x08X\n"s);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].printed.text(), "X");
}

TEST(TapeRenderer, ClearBuffersEndsADataBlockThatWouldSwallowEverything) {
    // GS 8 L announcing 0x7FFFFFFF bytes: what follows is image data, status
    // requests included, until the printer's buffers are cleared.
    const std::string wedge = "AB\x1D\x38\x4C\xFF\xFF\xFF\x7F"s + "lost\n\x1D\x72\x01"s;
    const std::string clear = "\x10\x14\x08\x01\x03\x14\x01\x06\x02\x08"s;
    for (bool bytewise : {false, true}) {
        sim::TapeRenderer r;
        auto items = bytewise ? feedBytewise(r, wedge) : feed(r, wedge);
        EXPECT_TRUE(items.empty()) << "bytewise " << bytewise;
        EXPECT_TRUE(feed(r, "\x1D\x72\x01more data"s).empty()) << "still data";
        items = bytewise ? feedBytewise(r, "xx" + clear + "\x1B@back\n\x1D\x72\x01"s)
                         : feed(r, "xx" + clear + "\x1B@back\n\x1D\x72\x01"s);
        ASSERT_EQ(items.size(), 2u) << "bytewise " << bytewise;
        EXPECT_EQ(items[0].printed.text(), "back");
        EXPECT_EQ(items[1].kind, TapeItem::statusRequest);
    }
}

TEST(TapeFiles, TextAndHtmlSurviveRestartsAndTornWrites) {
    const std::string dir = testing_support::makeTempDir("okta-tape-");
    sim::TapeRenderer r;
    const auto job = feed(r, kJob + "<&>\n"s);
    {
        sim::TapeFiles tape(dir);
        EXPECT_EQ(readFile(tape.htmlPath()).find("ПРИВЕТ"), std::string::npos);
        tape.append(job);
    }
    sim::TapeFiles restarted(dir);
    restarted.append(job);

    // On the default 60 mm roll: 34 columns in font A, 44 in font B (the
    // job's last style); the double-width greeting takes 12, centred.
    const std::string cut = "✂" + std::string(33, '-');
    ASSERT_EQ(sim::cutMarkText(sim::PaperRoll{}), cut);
    const std::string once = std::string(11, ' ') + "П Р И В Е Т " + std::string(11, ' ') + "\n" +
                             "a       b" + std::string(35, ' ') + "\n" + std::string(34, ' ') +
                             "\n" + cut + "\n" + "<&>" + std::string(41, ' ') + "\n";
    EXPECT_EQ(readFile(dir + "/tape.txt"), once + once);

    std::string html = readFile(dir + "/tape.html");
    EXPECT_EQ(countOf(html, "</html>"), 1u);
    EXPECT_EQ(countOf(html, "<div"), countOf(html, "</div>"));
    EXPECT_EQ(countOf(html, "ПРИВЕТ"), 2u);
    EXPECT_NE(html.find("&lt;&amp;&gt;"), std::string::npos);
    EXPECT_NE(html.find("<div class=\"line narrow centre\"><span class=\"bold\" "
                        "style=\"font-size:2em;\">ПРИВЕТ</span></div>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("class=\"inverse\" style=\"font-size:0.7727em;\">a       b"),
              std::string::npos)
        << "font B is 34/44 of font A";
    EXPECT_EQ(countOf(html, "<div class=\"cut narrow\">"), 2u);

    // A write cut short (no tail): the next one appends and closes again.
    std::filesystem::resize_file(dir + "/tape.html", html.size() - 5);
    restarted.append(feed(r, "after\n"));
    html = readFile(dir + "/tape.html");
    EXPECT_EQ(countOf(html, "</html>"), 1u);
    EXPECT_NE(html.find("after"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 8), "</html>\n");
    std::filesystem::remove_all(dir);
}

TEST(VirtualPrinter, AnswersFromTheStateFileAndKeepsEveryByte) {
    EXPECT_EQ(sim::parsePaperState(" near-end\n"), sim::PaperState::nearEnd);
    EXPECT_EQ(sim::parsePaperState("out"), sim::PaperState::out);
    EXPECT_EQ(sim::parsePaperState("offline\n"), sim::PaperState::offline);
    EXPECT_EQ(sim::parsePaperState(""), sim::PaperState::ok);
    EXPECT_EQ(sim::parsePaperState("jammed"), sim::PaperState::ok);
    EXPECT_EQ(sim::statusAnswer(sim::PaperState::nearEnd, 1), 0x03);
    EXPECT_EQ(sim::statusAnswer(sim::PaperState::out, '1'), 0x0C);
    EXPECT_EQ(sim::statusAnswer(sim::PaperState::out, 2), 0x00) << "not the paper sensor";
    EXPECT_EQ(sim::statusAnswer(sim::PaperState::offline, 1), std::nullopt);

    const std::string root = testing_support::makeTempDir("okta-printer-");
    const std::string dir = root + "/printer";
    std::filesystem::create_directories(dir);
    int line[2];
    ASSERT_EQ(::pipe(line), 0);
    ::fcntl(line[0], F_SETFL, O_NONBLOCK);
    auto answers = [&] {
        std::string got(16, '\0');
        ssize_t n = ::read(line[0], got.data(), got.size());
        return n > 0 ? got.substr(0, static_cast<std::size_t>(n)) : std::string();
    };
    auto send = [](sim::VirtualPrinter& p, const std::string& bytes) {
        p.receive(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    };
    {
        sim::VirtualPrinter printer(root, line[1]);
        send(printer, "one\n\x1D\x72"s);
        send(printer, "\x01"s);
        EXPECT_EQ(answers(), "\x00"s) << "no state file: ok";

        std::ofstream(dir + "/state") << "out\n";
        send(printer, "two\n\x1D\x72\x01"s);
        EXPECT_EQ(answers(), "\x0C"s);

        std::ofstream(dir + "/state") << "offline";
        send(printer, "\x1D\x72\x01"s);
        EXPECT_EQ(answers(), "") << "offline: no answer at all";

        std::ofstream(dir + "/state") << "near-end";
        send(printer, "three\n\x1D\x72\x01"s);
        EXPECT_EQ(answers(), "\x03"s);
    }
    EXPECT_EQ(readFile(dir + "/raw.bin"),
              "one\n\x1D\x72\x01two\n\x1D\x72\x01\x1D\x72\x01three\n\x1D\x72\x01"s);
    EXPECT_EQ(readFile(dir + "/tape.txt"),
              "one" + std::string(31, ' ') + "\nthree" + std::string(29, ' ') + "\n")
        << "nothing reaches missing paper";
    ::close(line[0]);
    ::close(line[1]);
    std::filesystem::remove_all(root);
}

// The printer answers before it writes its files. A host that hears of an
// answer (through the host line's relay) must still find on the tape what
// was printed before it, at once, every time.
TEST(VirtualPrinter, AHostThatHearsOfAnAnswerFindsThePaperOnTheTape) {
    const std::string root = testing_support::makeTempDir("okta-printer-");
    std::filesystem::create_directories(root + "/printer");
    sim::Pty printerEnd, registerEnd, hostEnd;
    sim::TapeGate gate;
    sim::VirtualPrinter printer(root, printerEnd.master(), &gate);
    sim::PrinterLine line(printerEnd.master(), [&printer](const unsigned char* p, std::size_t n) {
        printer.receive(p, n);
    });
    sim::LineRelay relay(registerEnd.master(), hostEnd.master(), {}, [&gate] { gate.waitOpen(); });
    const int printerPort = ::open(printerEnd.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const int registerPort =
        ::open(registerEnd.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const int host = ::open(hostEnd.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(printerPort, 0);
    ASSERT_GE(registerPort, 0);
    ASSERT_GE(host, 0);
    const auto deadline = testing_support::secondsFromNow(30);
    for (int job = 1; job <= 200; ++job) {
        const std::string printed = "job " + std::to_string(job);
        // As the register does: the job and its status request in one write,
        // the answer read, then its own answer to the host.
        ASSERT_TRUE(
            testing_support::writeAllBy(printerPort, printed + "\n\x1D\x72\x01"s, deadline));
        ASSERT_EQ(testing_support::readBy(printerPort, 1, deadline), "\x00"s);
        ASSERT_TRUE(testing_support::writeAllBy(registerPort, "done", deadline));
        ASSERT_EQ(testing_support::readBy(host, 4, deadline), "done");
        EXPECT_EQ(countOf(readFile(root + "/printer/tape.txt"), printed + " "), 1u) << printed;
        EXPECT_NE(readFile(root + "/printer/tape.html").find(printed), std::string::npos)
            << printed;
    }
    ::close(printerPort);
    ::close(registerPort);
    ::close(host);
    std::filesystem::remove_all(root);
}

}  // namespace
