// The virtual printer's paper: how much a line of the roll holds, how long
// lines wrap, which commands it consumes without printing their
// parameters, and how tape.txt and tape.html keep the roll's width.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "sim/paper_roll.h"
#include "sim/tape_html.h"
#include "sim/tape_renderer.h"
#include "sim/tape_text.h"
#include "sim/utf8_text.h"
#include "sim/virtual_printer.h"
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

std::vector<TapeItem> linesOf(const std::vector<TapeItem>& items) {
    std::vector<TapeItem> lines;
    for (const TapeItem& item : items)
        if (item.kind == TapeItem::line) lines.push_back(item);
    return lines;
}

TEST(PaperRoll, ALineHoldsWhatThePrintLayoutCountsOn) {
    struct Case {
        int rollMm;
        std::uint8_t printMode;  // ESC ! n
        std::size_t perLine;
    };
    const Case cases[] = {
        {80, 0x00, 48}, {80, 0x01, 64}, {80, 0x30, 24}, {80, 0x21, 32}, {61, 0x00, 48},
        {60, 0x00, 34}, {60, 0x01, 44}, {58, 0x30, 17}, {58, 0x31, 22}, {60, 0x10, 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("roll " + std::to_string(c.rollMm) + " mode " + std::to_string(c.printMode));
        sim::TapeRenderer r;
        r.setRoll({c.rollMm});
        const std::string text(100, 'x');
        const auto lines = linesOf(feed(r, "\x1B!"s + char(c.printMode) + text + "\n"));
        ASSERT_EQ(lines.size(), (100 + c.perLine - 1) / c.perLine);
        std::size_t printed = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::size_t n = sim::codePoints(lines[i].printed.text());
            if (i + 1 < lines.size()) {
                EXPECT_EQ(n, c.perLine) << "line " << i;
            }
            printed += n;
        }
        EXPECT_EQ(printed, 100u) << "wrapping loses no character";
        EXPECT_EQ(lines.front().roll.widthMm, c.rollMm);

        // A line the register filled to the last column, then its line
        // feed: one line, not a full line and an empty one.
        const auto full = linesOf(feed(r, std::string(c.perLine, 'y') + "\n"));
        ASSERT_EQ(full.size(), 1u);
        EXPECT_EQ(full[0].printed.text(), std::string(c.perLine, 'y'));
    }
}

TEST(TapeRenderer, WrappingKeepsAlignmentAndFillsLinesAsTheRollAllows) {
    sim::TapeRenderer r;
    r.setRoll({80});
    // Centred, a large word then small text: 10 font A characters take the
    // room of 13 1/3 font B ones, so 50 more font B characters fill the line.
    auto lines = linesOf(feed(
        r, "\x1B\x61\x01" + std::string(10, 'A') + "\x1B!\x01"s + std::string(60, 'b') + "\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].printed.text(), std::string(10, 'A') + std::string(50, 'b'));
    EXPECT_EQ(lines[1].printed.text(), std::string(10, 'b'));
    EXPECT_EQ(lines[1].printed.align, sim::TapeAlign::centre) << "a wrapped line stays centred";

    // The alignment of a line is the one at its first character.
    lines = linesOf(feed(r, "\x1B\x61\x02R\x1B\x61\x00\n"s));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].printed.align, sim::TapeAlign::right);

    // A tab past the last stop that fits fills the line; the next
    // character starts a new one.
    lines = linesOf(feed(r, "\x1B!\x00"s + std::string(45, 'c') + "\tZ\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].printed.text(), std::string(45, 'c') + "   ");
    EXPECT_EQ(lines[1].printed.text(), "Z");
}

TEST(TapeRenderer, ConsumesTheParametersOfCommandsThePaperDoesNotShow) {
    // Parameters chosen printable, so that any one printed as text shows.
    const std::string barcode39 = "\x1Dk\x04"s + "12345" + "\x00"s;
    const std::string barcode128 = "\x1Dk\x49\x05"s + "ABCDE";
    const std::string raster = "\x1Dv0\x00\x02\x00\x03\x00"s + "ZZZZZZ";
    const std::string bitImage = "\x1B*\x00\x03\x00"s + "QQQ";
    const std::string qr = "\x1D(k\x03\x00"s + "qrs";
    const std::string tabs =
        "\x1B"
        "DHP\x00"s;
    const std::string ignored =
        "\x1DL\x41\x00\x1DWBC\x1DH2\x1D"
        "f1\x1Dh"
        "P\x1Dw3\x1BRA\x1B S"s +
        "\x1B$ab\x1Bp0\x32\x32\x1B\x74\x11\x1B\x74\x07\x10\x04\x31"s + barcode39 + barcode128 +
        raster + bitImage + qr + tabs;
    sim::TapeRenderer r;
    auto items = feed(r, ignored + "\x1B\x45\x01\x1B-1\x1BM1v\risible\x00\n"s);
    auto lines = linesOf(items);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].printed.text(), "visible") << "CR and NUL print nothing";
    ASSERT_EQ(lines[0].printed.runs.size(), 1u);
    const sim::TapeStyle& style = lines[0].printed.runs[0].style;
    EXPECT_TRUE(style.bold) << "ESC E 1";
    EXPECT_TRUE(style.underline) << "ESC - '1'";
    EXPECT_TRUE(style.fontB) << "ESC M '1'";
    EXPECT_FALSE(style.unknown);

    // The big bulk of a raster image is passed over as it comes, however
    // the line splits it.
    const std::string image = "\x1Dv0\x00\x64\x00\x64\x00"s + std::string(10000, 'Z') + "after\n";
    std::vector<TapeItem> all;
    for (std::size_t at = 0; at < image.size(); at += 777) {
        auto part = feed(r, image.substr(at, 777));
        all.insert(all.end(), part.begin(), part.end());
    }
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].printed.text(), "after");

    // The simple ones are applied: bold off, size, feed, cuts.
    items = feed(r,
                 "\x1B\x45\x00\x1B!\x00\x1D!\x10W\x1B"
                 "d\x02"s +
                     "\x1D!\x11"
                     "D\x1BJ<"s +
                     "\x1DVB\x05\x1D\x56\x00\x1Bm"s);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].printed.text(), "W");
    EXPECT_FALSE(items[0].printed.runs[0].style.bold);
    EXPECT_EQ(items[0].printed.runs[0].style.width, 2);
    EXPECT_EQ(items[0].printed.runs[0].style.height, 1);
    EXPECT_EQ(items[1].printed.text(), "") << "ESC d 2 feeds two lines";
    EXPECT_EQ(items[2].printed.text(), "D");
    EXPECT_EQ(items[2].printed.runs[0].style.height, 2);
    EXPECT_EQ(items[2].printed.feedDots, '<') << "ESC J n feeds n dots";
    EXPECT_EQ(items[3].kind, TapeItem::cut) << "GS V 66 n";
    EXPECT_EQ(items[4].kind, TapeItem::cut) << "GS V 0";
    EXPECT_EQ(items[5].kind, TapeItem::cut) << "ESC m";
}

TEST(TapeText, PadsEveryLineToTheRollAndKeepsAlignment) {
    sim::TapeRenderer r;
    r.setRoll({80});
    const std::string text = tapeText(feed(r,
                                           "\x1B\x61\x01"
                                           "0123456789\n\x1B\x61\x02\x1B!\x01"
                                           "right\n\x1B\x61\x00\x1B!\x20"
                                           "AB\n\x1Bi"s));
    const std::string cut = "✂" + std::string(47, '-');
    EXPECT_EQ(text, std::string(19, ' ') + "0123456789" + std::string(19, ' ') + "\n" +
                        std::string(59, ' ') + "right\n" + "A B " + std::string(44, ' ') + "\n" +
                        cut + "\n");
}

TEST(TapeHtml, ThePaperIsAsWideAsTheRoll) {
    const std::string head = sim::tapeHtmlHead();
    EXPECT_NE(head.find(".wide { width: 48ch; }"), std::string::npos);
    EXPECT_NE(head.find(".narrow { width: 34ch; }"), std::string::npos);
    EXPECT_EQ(head.find("max-content"), std::string::npos);

    sim::TapeRenderer r;
    r.setRoll({80});
    const std::string html = sim::tapeHtml(feed(
        r, std::string(80, '8') + "\n\x1B!\x01small\n\x1B!\x20wide\n\x1B\x61\x01\x1B!\x10tall\n"s));
    EXPECT_EQ(countOf(html, "<div class=\"line wide\">"), 4u) << html;
    EXPECT_NE(html.find(">" + std::string(48, '8') + "</div>"), std::string::npos);
    EXPECT_NE(html.find(">" + std::string(32, '8') + "</div>"), std::string::npos);
    EXPECT_NE(html.find("<span style=\"font-size:0.75em;\">small</span>"), std::string::npos)
        << "64 font B characters take the room of 48 font A ones";
    EXPECT_NE(html.find("<span style=\"display:inline-block;transform:scaleX(2);"
                        "transform-origin:left;margin-right:4ch;\">wide</span>"),
              std::string::npos)
        << "double width alone: stretched, and the room of 8 characters";
    EXPECT_NE(html.find("<div class=\"line wide centre\"><span style=\"font-size:2em;display:"
                        "inline-block;transform:scaleX(0.5);transform-origin:left;margin-right:"
                        "-2ch;\">tall</span>"),
              std::string::npos)
        << html;
}

TEST(VirtualPrinter, TheRollFollowsTheRegistersSettingUnlessThePaperFileNamesOne) {
    EXPECT_EQ(sim::parseRollWidth(" 80\n"), 80);
    EXPECT_EQ(sim::parseRollWidth("58mm"), 58);
    EXPECT_EQ(sim::parseRollWidth("0"), 0);
    EXPECT_EQ(sim::parseRollWidth("256"), 0);
    EXPECT_EQ(sim::parseRollWidth("wide"), 0);

    const std::string root = testing_support::makeTempDir("okta-roll-");
    std::filesystem::create_directories(root + "/printer");
    std::filesystem::create_directories(root + "/nv");
    int line[2];
    ASSERT_EQ(::pipe(line), 0);
    const std::string longLine = std::string(60, '#') + "\n";
    auto firstLineLength = [&] {
        const std::string before = readFile(root + "/printer/tape.txt");
        {
            sim::VirtualPrinter printer(root, line[1]);
            printer.receive(reinterpret_cast<const unsigned char*>(longLine.data()),
                            longLine.size());
        }
        const std::string added = readFile(root + "/printer/tape.txt").substr(before.size());
        return added.find_first_not_of('#');
    };
    EXPECT_EQ(firstLineLength(), 34u) << "no settings file: the default 60 mm";
    std::ofstream(root + "/nv/PRINTER_SETTINGS", std::ios::binary) << "P\x01\x00\x00\x00"s;
    EXPECT_EQ(firstLineLength(), 48u) << "the register's paper width 80 ('P')";
    std::ofstream(root + "/printer/paper") << "58\n";
    EXPECT_EQ(firstLineLength(), 34u) << "the paper file names the roll";
    std::ofstream(root + "/printer/paper") << "wide\n";
    EXPECT_EQ(firstLineLength(), 48u) << "a paper file that names no width is passed over";
    ::close(line[0]);
    ::close(line[1]);
    std::filesystem::remove_all(root);
}

}  // namespace
