// The printed receipt position, in both layouts, on 60 mm paper (44 small
// characters a line).

#include "printing/receipt_operation_print.h"

#include <gtest/gtest.h>

#include "common/cp866.h"
#include "config/printer_settings.h"
#include "tests/support/temp_board.h"

namespace {

// Style commands of a small-font, left-aligned block on narrow paper.
const std::string kSmallLeft("\x1B\x33\x01\x1B\x61\x00\x1B\x21\x01\x1D\x42\x00", 12);

std::string cp(std::string_view utf8) { return cp866::fromUtf8(utf8); }

// The printed lines after the block's style commands, back in UTF-8.
std::vector<std::string> printedLines(const std::string& printed) {
    EXPECT_EQ(printed.substr(0, kSmallLeft.size()), kSmallLeft);
    std::vector<std::string> lines;
    std::size_t start = kSmallLeft.size();
    for (std::size_t end; (end = printed.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(cp866::toUtf8(printed.substr(start, end - start)));
    EXPECT_EQ(start, printed.size()) << "every line ends with a line feed";
    return lines;
}

std::string spaces(std::size_t n) { return std::string(n, ' '); }

class ReceiptOperationPrint : public ::testing::Test {
  protected:
    void SetUp() override {
        position.name = cp("Хлеб");
        position.price = Decimal(100, 1000);
        position.quantity = Decimal(1, 3);
        position.taxNumber = 1;
        position.section = &section;
    }

    void useSectionFirstLayout() {
        settings::PrinterSettings record;
        record.printerFlags = settings::kPositionLayoutFlag;
        ASSERT_TRUE(settings::savePrinterSettings(record));
    }

    testing_support::ScopedTempBoard board;
    Section section{3, ""};
    ReceiptOperation position;
};

TEST_F(ReceiptOperationPrint, NameThenPriceLineWithTheCostAtTheRightMargin) {
    // "<tab> 10.00 x 3 = 30.00": the right text's tab became a space.
    EXPECT_EQ(printedLines(printing::printLines(position)),
              (std::vector<std::string>{"Хлеб", spaces(26) + " 10.00 x 3 = 30.00"}));

    position.code = "4601";
    position.quantity = Decimal(1000, 1500);
    position.unit = cp("кг");
    position.extraLine = cp("свежий");
    EXPECT_EQ(printedLines(printing::printLines(position)),
              (std::vector<std::string>{"Хлеб", "КОД 4601" + spaces(13) + " 10.00 x 1.5 кг = 15.00",
                                        "свежий"}));

    // A code too long to share the line: the code line and the price line
    // each on their own, each split by its tab.
    position.quantity = Decimal(1, 3);
    position.unit.clear();
    position.extraLine.reset();
    position.code = std::string(21, '7');  // 26 + 18 bytes: one short of the width
    EXPECT_EQ(printedLines(printing::printLines(position)).size(), 2u);
    position.code += '7';
    EXPECT_EQ(printedLines(printing::printLines(position)).size(), 3u)
        << "texts that together fill the width go on lines of their own";

    position.quantity = Decimal(1000, 1500);
    position.unit = cp("кг");
    position.code = std::string(30, '7');
    EXPECT_EQ(printedLines(printing::printLines(position))[1], "КОД" + spaces(11) + position.code);
    EXPECT_EQ(printedLines(printing::printLines(position))[2],
              spaces(22) + "10.00 x 1.5 кг = 15.00");
}

TEST_F(ReceiptOperationPrint, DiscountAndTaxLines) {
    Discount tenPercent;
    tenPercent.number = 1;
    tenPercent.kind = Discount::kPercentage;
    tenPercent.value = 1000;
    Tax vat;
    vat.kind = Tax::kOnTop;
    vat.rate = 1000;
    vat.name = cp("НДС 10%");
    position.discount = &tenPercent;
    position.tax = &vat;
    const std::string printed = printing::printLines(position);
    EXPECT_EQ(printedLines(printed),
              (std::vector<std::string>{"Хлеб", spaces(26) + " 10.00 x 3 = 30.00",
                                        "СКИДКА 10.00% 3.00" + spaces(5) + "C УЧЕТОМ СКИДКИ 27.00",
                                        "НДС 10%" + spaces(33) + "2.70"}));
    EXPECT_NE(printed.find("\x43 " + cp("УЧЕТОМ")), std::string::npos)
        << "the first letter of the total after discount is the Latin C";

    // A discount given as a sum; a tax that charges nothing prints its name only.
    position.discount = nullptr;
    position.discountSum = Decimal(100, 150);
    vat.kind = Tax::kNoTax;
    vat.name = cp("БЕЗ НДС");
    EXPECT_EQ(printedLines(printing::printLines(position)),
              (std::vector<std::string>{"Хлеб", spaces(26) + " 10.00 x 3 = 30.00",
                                        "СКИДКА 1.50" + spaces(12) + "C УЧЕТОМ СКИДКИ 28.50",
                                        "БЕЗ НДС"}));
}

TEST_F(ReceiptOperationPrint, SectionFirstLayoutWhenThePrinterFlagIsSet) {
    useSectionFirstLayout();
    position.code = "4601";
    EXPECT_EQ(printedLines(printing::printLines(position)),
              (std::vector<std::string>{"ОТДЕЛ 3" + spaces(29) + "КОД 4601",
                                        "Хлеб" + spaces(22) + " 10.00 x 3 = 30.00"}));

    // A named section stands for itself; a name too long for the price line
    // leaves the price line on its own.
    section.name = cp("Хлебный отдел");
    position.code.clear();
    position.name = std::string(30, 'N');
    EXPECT_EQ(printedLines(printing::printLines(position)),
              (std::vector<std::string>{"Хлебный отдел" + spaces(31), std::string(30, 'N'),
                                        spaces(27) + "10.00 x 3 = 30.00"}));
}

}  // namespace
