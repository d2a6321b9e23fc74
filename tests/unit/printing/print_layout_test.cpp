// Print layout: attribute words, style commands, padding and wrapping.

#include "printing/print_layout.h"

#include <gtest/gtest.h>

#include "common/cp866.h"
#include "config/paper_width.h"
#include "printing/notices.h"
#include "printing/printable_text.h"

namespace {

using printing::PrintAttributes;

// Sets the process-wide paper width for one test and restores the default.
class PaperWidth {
  public:
    explicit PaperWidth(std::uint8_t mm) { settings::setCurrentPaperWidth(mm); }
    ~PaperWidth() { settings::setCurrentPaperWidth(settings::kDefaultPaperWidth); }
};

PrintAttributes attributes(unsigned font, std::uint32_t alignment, bool doubleSize = false) {
    PrintAttributes a;
    a.setFont(font);
    a.setAlignment(static_cast<PrintAttributes::Alignment>(alignment));
    a.setDoubleSize(doubleSize);
    return a;
}

const PrintAttributes kSmallLeft = attributes(1, PrintAttributes::alignLeft);

TEST(PrintAttributes, WordFieldsAndOperations) {
    PaperWidth width(58);
    PrintAttributes a;
    EXPECT_EQ(a.word(), 58u) << "a new word holds only the default paper width";

    a.setWord(0xFFFFFFFF);
    EXPECT_EQ(a.word(), 0xFFFFE000u | 58u) << "the caller's width bits are replaced";
    EXPECT_EQ(a.font(), 3u);
    EXPECT_EQ(a.lineSpacing(), 31u);
    EXPECT_EQ(a.alignment(), PrintAttributes::alignRight) << "right is read before centre";

    a.setStyle(0x0C);
    EXPECT_EQ(a.word() >> 24, 0x0Cu) << "the style byte is replaced whole";
    EXPECT_EQ(a.alignment(), PrintAttributes::alignCentre);
    EXPECT_TRUE(a.bold());
    EXPECT_FALSE(a.doubleSize());
    EXPECT_EQ(a.font(), 3u) << "the style byte leaves the font alone";

    a.setFont(1);
    EXPECT_FALSE(a.largeFont()) << "font 1 is the small font; bit 13 has no effect";
    a.setFont(2);
    EXPECT_TRUE(a.largeFont());
    a.setLineSpacing(5);
    EXPECT_EQ((a.word() >> 15) & 0x1F, 5u);
    EXPECT_EQ(a.font(), 2u);

    a.setStyle(0);
    EXPECT_EQ(a.alignment(), PrintAttributes::alignLeft) << "no alignment bit reads as left";
    a.setAlignment(PrintAttributes::alignRight);
    EXPECT_EQ(a.word() & 0xFF000000u, 0x03000000u);
    a.setAlignment(PrintAttributes::alignCentre);
    EXPECT_EQ(a.word() & 0xFF000000u, 0x05000000u);
    EXPECT_EQ(PrintAttributes::of(3, 0x4C).word(), 0x4C006000u | 58u);
}

TEST(PrintAttributes, FormattedPrintBytes) {
    PaperWidth width(60);
    const std::uint8_t everything[4] = {9, 1, 7, 0x1F};
    printing::FormattedPrint f = printing::formattedPrintAttributes(everything);
    EXPECT_EQ(f.attributes.lineSpacing(), 3u) << "9 modulo 6";
    EXPECT_EQ(f.attributes.alignment(), PrintAttributes::alignCentre);
    EXPECT_EQ(f.attributes.font(), 3u) << "7 AND 3";
    EXPECT_TRUE(f.attributes.bold());
    EXPECT_TRUE(f.attributes.carriedFlag());
    EXPECT_TRUE(f.attributes.inverse());
    EXPECT_TRUE(f.attributes.doubleSize());
    EXPECT_TRUE(f.cut);
    EXPECT_EQ(f.attributes.paperWidth(), 60u);

    const std::uint8_t right[4] = {6, 2, 0, 0};
    f = printing::formattedPrintAttributes(right);
    EXPECT_EQ(f.attributes.word(), 0x03000000u | 60u);
    EXPECT_FALSE(f.cut);

    const std::uint8_t other[4] = {0, 5, 1, 0x20};
    f = printing::formattedPrintAttributes(other);
    EXPECT_EQ(f.attributes.alignment(), PrintAttributes::alignLeft);
    EXPECT_EQ(f.attributes.word() >> 24, 0x01u) << "byte 3 bits above 4 carry nothing";
}

TEST(PrintLayout, CharactersPerLine) {
    {
        PaperWidth width(60);
        EXPECT_EQ(printing::charsPerLine(attributes(0, PrintAttributes::alignLeft)), 44);
        EXPECT_EQ(printing::charsPerLine(attributes(1, PrintAttributes::alignLeft)), 44);
        EXPECT_EQ(printing::charsPerLine(attributes(2, PrintAttributes::alignLeft)), 34);
        EXPECT_EQ(printing::charsPerLine(attributes(3, PrintAttributes::alignLeft, true)), 17);
        EXPECT_EQ(printing::charsPerLine(attributes(1, PrintAttributes::alignLeft, true)), 22);
    }
    {
        PaperWidth width(61);
        EXPECT_EQ(printing::charsPerLine(attributes(1, PrintAttributes::alignLeft)), 64);
        EXPECT_EQ(printing::charsPerLine(attributes(3, PrintAttributes::alignLeft)), 48);
        EXPECT_EQ(printing::charsPerLine(attributes(1, PrintAttributes::alignLeft, true)), 32);
        EXPECT_EQ(printing::charsPerLine(attributes(3, PrintAttributes::alignLeft, true)), 24);
    }
}

TEST(PrintLayout, StyleCommandBytes) {
    PaperWidth narrow(60);
    // Line spacing: the selector's lowest bit does not count.
    const std::pair<unsigned, unsigned char> spacings[] = {
        {0, 1}, {1, 1}, {2, 71}, {3, 71}, {4, 141}, {5, 141}, {6, 255}, {7, 255}, {31, 255}};
    for (auto [selector, dots] : spacings) {
        PrintAttributes a = kSmallLeft;
        a.setLineSpacing(selector);
        EXPECT_EQ(printing::styleCommands(a).substr(0, 3), std::string("\x1B\x33") + char(dots))
            << "selector " << selector;
    }

    // Narrow paper: always ESC a 0; large, bold, double size, inverse.
    PrintAttributes a = PrintAttributes::of(3, 0x4C);
    a.setInverse(true);
    EXPECT_EQ(printing::styleCommands(a),
              std::string("\x1B\x33\x01\x1B\x61\x00\x1B\x21\x38\x1D\x42\x01", 12));
    EXPECT_EQ(printing::styleCommands(kSmallLeft),
              std::string("\x1B\x33\x01\x1B\x61\x00\x1B\x21\x01\x1D\x42\x00", 12));

    PaperWidth wide(80);
    EXPECT_EQ(printing::styleCommands(attributes(1, PrintAttributes::alignRight)).substr(3, 3),
              "\x1B\x61\x02");
    EXPECT_EQ(printing::styleCommands(attributes(1, PrintAttributes::alignCentre)).substr(3, 3),
              "\x1B\x61\x01");
    EXPECT_EQ(printing::styleCommands(attributes(1, PrintAttributes::alignLeft)).substr(3, 3),
              std::string("\x1B\x61\x00", 3));
}

TEST(PrintLayout, TabPushesTheValueToTheRightMargin) {
    PaperWidth width(60);
    // A five-letter Cyrillic label (five CP866 bytes), a tab, a six-byte amount.
    const std::string line = cp866::fromUtf8("ИТОГО\t123.45");
    ASSERT_EQ(line.size(), 12u);
    EXPECT_EQ(printing::layoutLine(line, kSmallLeft),
              cp866::fromUtf8("ИТОГО") + std::string(33, ' ') + "123.45");
    EXPECT_EQ(printing::layoutLine(line, attributes(1, PrintAttributes::alignLeft, true)),
              cp866::fromUtf8("ИТОГО") + std::string(11, ' ') + "123.45");
    // Alignment does not move a label-and-value line.
    EXPECT_EQ(printing::layoutLine(line, attributes(1, PrintAttributes::alignCentre)).size(), 44u);

    // Further tabs become single spaces.
    EXPECT_EQ(printing::layoutLine("a\tb\tc", kSmallLeft), "a" + std::string(40, ' ') + "b c");

    // A line of exactly W bytes is sent as it is, its tab included.
    const std::string full = std::string(20, 'x') + "\t" + std::string(23, 'y');
    ASSERT_EQ(full.size(), 44u);
    EXPECT_EQ(printing::layoutLine(full, kSmallLeft), full);
    EXPECT_EQ(printing::wrapLine(full, kSmallLeft), full);

    PaperWidth wide(80);
    EXPECT_EQ(printing::layoutLine("ab\tcd", attributes(1, PrintAttributes::alignLeft)),
              "ab" + std::string(60, ' ') + "cd");
}

TEST(PrintLayout, AlignmentPaddingOnNarrowPaperOnly) {
    const std::string ten = "0123456789";
    {
        PaperWidth width(60);
        EXPECT_EQ(printing::layoutLine(ten, attributes(1, PrintAttributes::alignCentre)),
                  std::string(17, ' ') + ten);
        EXPECT_EQ(printing::layoutLine("012345678", attributes(1, PrintAttributes::alignCentre)),
                  std::string(17, ' ') + "012345678")
            << "(44 - 9) / 2 rounds down";
        EXPECT_EQ(printing::layoutLine(ten, attributes(3, PrintAttributes::alignRight)),
                  std::string(24, ' ') + ten);
        EXPECT_EQ(printing::layoutLine(ten, kSmallLeft), ten);
    }
    {
        PaperWidth width(80);
        const PrintAttributes centred = attributes(1, PrintAttributes::alignCentre);
        printing::PrintBlock block = printing::makeBlock(ten, centred);
        EXPECT_EQ(printing::renderBlock(block, false),
                  std::string("\x1B\x33\x01\x1B\x61\x01\x1B\x21\x01\x1D\x42\x00", 12) + ten + "\n")
            << "the printer centres the line itself";
        const std::string longLine(100, 'z');
        EXPECT_EQ(printing::wrapLine(longLine, centred), longLine)
            << "long lines are the printer's";
    }
}

TEST(PrintLayout, WrappingOnNarrowPaper) {
    PaperWidth width(60);
    const std::string fifty = std::string(44, 'a') + std::string(6, 'b');
    EXPECT_EQ(printing::wrapLine(fifty, kSmallLeft), std::string(44, 'a') + "\n" + "bbbbbb");

    // A tab that does not fit: label and value on lines of their own, each
    // laid out by itself.
    const std::string label(30, 'L');
    const std::string value(19, 'V');
    EXPECT_EQ(printing::wrapLine(label + "\t" + value, kSmallLeft), label + "\n" + value);
    EXPECT_EQ(printing::wrapLine(label + "\t" + value, attributes(1, PrintAttributes::alignRight)),
              std::string(14, ' ') + label + "\n" + std::string(25, ' ') + value);

    // Breaks at the last space before the margin; the space is dropped and
    // each piece is aligned.
    const std::string words =
        std::string(20, 'w') + " " + std::string(20, 'x') + " " + std::string(20, 'y');
    EXPECT_EQ(printing::wrapLine(words, kSmallLeft),
              std::string(20, 'w') + " " + std::string(20, 'x') + "\n" + std::string(20, 'y'));
    EXPECT_EQ(printing::wrapLine(words, attributes(1, PrintAttributes::alignCentre)),
              std::string(1, ' ') + std::string(20, 'w') + " " + std::string(20, 'x') + "\n" +
                  std::string(12, ' ') + std::string(20, 'y'));

    // A space only at the margin or later does not count: hard break.
    const std::string late = std::string(44, 'q') + " rest";
    EXPECT_EQ(printing::wrapLine(late, kSmallLeft), std::string(44, 'q') + "\n rest");

    // Long text over several lines, double size (W = 17) in the large font.
    const std::string cyr = cp866::fromUtf8("ИДЕТ ФОРМИРОВАНИЕ ВНУТРЕННЕГО");
    EXPECT_EQ(printing::wrapLine(cyr, PrintAttributes::of(3, 0x44)),
              std::string(6, ' ') + cp866::fromUtf8("ИДЕТ") + "\n" + std::string(2, ' ') +
                  cp866::fromUtf8("ФОРМИРОВАНИЕ") + "\n" + std::string(3, ' ') +
                  cp866::fromUtf8("ВНУТРЕННЕГО"));
}

TEST(PrintLayout, BlocksAndText) {
    PaperWidth width(60);
    printing::PrintBlock block = printing::makeBlock("one\ntwo", kSmallLeft);
    EXPECT_EQ(block.lines, std::vector<std::string>{"one\ntwo"}) << "makeBlock keeps one line";

    printing::PrintBlock added;
    printing::addText(added, "first\nsecond");
    EXPECT_EQ(added.lines, (std::vector<std::string>{"first", "second"}));
    printing::addText(added, "word\n");
    EXPECT_EQ(added.lines, (std::vector<std::string>{"first", "second", "word", ""}));

    printing::PrintBlock picture;
    picture.kind = 1;
    printing::addText(picture, "ignored");
    EXPECT_TRUE(picture.lines.empty());
    EXPECT_EQ(printing::renderBlock(picture, true), "");

    printing::setAttributes(added, attributes(1, PrintAttributes::alignRight));
    const std::string style = printing::styleCommands(added.attributes);
    EXPECT_EQ(printing::renderBlock(added, true),
              style + std::string(39, ' ') + "first\n" + std::string(38, ' ') + "second\n" +
                  std::string(40, ' ') + "word\n" + std::string(44, ' ') + "\n" +
                  "\x1B\x33\xFF\x0A\x1B\x69");

    const std::vector<printing::PrintBlock> both{printing::copyMarkerBlock(), added};
    const std::string rendered = printing::renderBlocks(both, true);
    EXPECT_EQ(rendered, printing::renderBlock(both[0], false) + printing::renderBlock(added, true));
}

TEST(PrintLayout, TextsCannotCommandThePrinter) {
    PaperWidth width(80);
    EXPECT_EQ(printing::printableText("AB\x1D" "8L\xFF\xFF\xFF\x7F\t\n\x1B"),
              "AB\xFE" "8L\xFF\xFF\xFF\xFE\xFE\xFE\xFE");
    EXPECT_EQ(printing::printableText("a\tb\x10", true), "a\tb\xFE") << "the layout's tab stays";
    EXPECT_EQ(printing::printableText(cp866::fromUtf8("Чай ёж")), cp866::fromUtf8("Чай ёж"));

    // Whatever a line holds, only the style commands, the line feeds and the
    // cut are commands in a rendered block.
    printing::PrintBlock block = printing::makeBlock("AB\x1D\x38\x4C\xFF\xFF\xFF\x7F", kSmallLeft);
    printing::addText(block, "\x1B*\x21\xFF\xFF\tGS v 0\x1Dv0\x00\xFF\xFF\xFF\xFF");
    const std::string style = printing::styleCommands(block.attributes);
    const std::string rendered = printing::renderBlock(block, true);
    ASSERT_TRUE(rendered.starts_with(style));
    const std::string body = rendered.substr(style.size(), rendered.size() - style.size() - 6);
    EXPECT_EQ(body.find_first_of(std::string("\x00\x1B\x1D\x10\x7F", 5)), std::string::npos)
        << body;
    EXPECT_TRUE(rendered.ends_with("\x1B\x33\xFF\x0A\x1B\x69"));
}

TEST(PrintLayout, FixedNotices) {
    PaperWidth width(60);
    const printing::PrintBlock copy = printing::copyMarkerBlock();
    EXPECT_EQ(copy.attributes.word(), 0x0D002000u | 60u)
        << "small font 1, centre written as 0x05000000, bold";
    EXPECT_EQ(copy.lines, std::vector<std::string>{cp866::fromUtf8("(КОПИЯ)")});

    const printing::PrintBlock warning = printing::storageWarningBlock();
    EXPECT_EQ(warning.attributes.word(), 0x4D006000u | 60u)
        << "large font 3, centred, bold, double size";
    std::vector<std::string> utf8;
    for (const std::string& line : warning.lines) utf8.push_back(cp866::toUtf8(line));
    EXPECT_EQ(utf8, (std::vector<std::string>{"ВНИМАНИЕ!", "ИДЕТ ФОРМИРОВАНИЕ ВНУТРЕННЕГО",
                                              "ИДЕТ ФОРМИРОВАНИЕ", "ХРАНИЛИЩА!",
                                              "НЕ ВЫКЛЮЧАЙТЕ АППАРАТ", "ДО ПЕЧАТИ ПРИВЕТСТВИЯ!"}));
}

}  // namespace
