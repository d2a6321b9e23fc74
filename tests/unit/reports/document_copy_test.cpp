// The copy of a stored document (178): the document as it was printed,
// marked "(КОПИЯ)", for every kind of document.

#include <gtest/gtest.h>

#include "printing/notices.h"
#include "reports/reports_worker.h"
#include "tests/unit/reports/fake_printer.h"
#include "tests/unit/reports/paper.h"
#include "tests/unit/reports/sample_register.h"

namespace {

using paper::centred;
using sample::position;
using sample::textLine;

class DocumentCopyTest : public ::testing::Test {
  protected:
    CoreApiResult copy(std::uint32_t number) {
        Bytes data{3};
        le::put32(data, 1234);
        le::put32(data, number);
        printer.jobs.clear();
        ReportsWorker worker(reg.archive.get(), printer);
        return worker.printDocumentCopy(CoreTransaction{178, 1, data});
    }

    sample::Register reg;
    paper::FakePrinter printer;
};

TEST_F(DocumentCopyTest, AReceiptIsReprintedWithItsTextLinesWhereTheyWereAdded) {
    reg.registerDevice();
    reg.openShift();
    const sample::Register::Made receipt =
        reg.receipt(ReceiptDoc::sale,
                    {textLine("Добро пожаловать"), textLine("Касса 1"), position("Хлеб", 4'500),
                     textLine("Акция: второй за полцены"), position("Молоко", 8'000),
                     textLine("Спасибо за покупку")},
                    20'000);

    ASSERT_EQ(copy(receipt.number()).code, 0);
    ASSERT_EQ(printer.jobs.size(), 4u) << "heading, marker, body, footer";
    EXPECT_EQ(printer.jobs[0], receipt.document->printHeader());
    EXPECT_EQ(paper::lines(printer.jobs[1]), (std::vector<std::string>{centred("(КОПИЯ)")}));
    // The body is what the receipt printed while it was filled, in order.
    EXPECT_EQ(printer.jobs[2], receipt.itemsPrinted);
    EXPECT_EQ(printer.jobs[3], receipt.document->printFooter(true)) << "change and sign included";
}

TEST_F(DocumentCopyTest, EveryKindOfDocumentHasItsHeadingAndBody) {
    const sample::Register::Made registration = reg.registerDevice();
    const sample::Register::Made opening = reg.openShift();
    reg.receipt(ReceiptDoc::sale, {position("Хлеб", 4'500)});
    const sample::Register::Made cashIn = reg.cashIn(10'000);
    const sample::Register::Made closing = reg.closeShift();

    // Nothing was printed when the registration was opened: its copy has
    // the heading and totals it printed when stored (the first has none).
    ASSERT_EQ(copy(registration.number()).code, 0);
    ASSERT_EQ(printer.jobs.size(), 3u);
    EXPECT_EQ(paper::lines(printer.jobs[0]).at(3), centred("Отчет о фискализации/перерегистрации"));

    ASSERT_EQ(copy(closing.number()).code, 0);
    ASSERT_EQ(printer.jobs.size(), 4u);
    EXPECT_EQ(printer.jobs[0], closing.document->printHeader());
    EXPECT_EQ(paper::lines(printer.jobs[2]).front(), centred("ИТОГИ СМЕНЫ"));
    EXPECT_EQ(printer.jobsWith(paper::row("ПРОДАЖ 1", "НА 45.00")), 1u);

    for (const sample::Register::Made& made : {opening, cashIn}) {
        ASSERT_EQ(copy(made.number()).code, 0);
        ASSERT_EQ(printer.jobs.size(), 3u) << "no body";
        EXPECT_EQ(printer.jobs[0], made.document->printHeader());
        EXPECT_EQ(printer.jobs[2], made.document->printFooter(true));
    }
    EXPECT_EQ(printer.jobsWith("НАЛ."), 1u) << "the cash in's amount";

    EXPECT_EQ(copy(closing.number() + 1).code, code(ResultCode::NotFound));
    EXPECT_EQ(copy(0).code, code(ResultCode::ArchiveNotReady));
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(DocumentCopyTest, OnlyTheFootersPrintDecidesTheResult) {
    reg.registerDevice();
    const sample::Register::Made opening = reg.openShift();
    printer.failOnceAt("Открытие смены");
    EXPECT_EQ(copy(opening.number()).code, 0);
    EXPECT_EQ(printer.jobs.size(), 3u) << "the failed heading does not end the copy";
    printer.runOutAt("ФП ", ResultCode::PrinterOffline);
    EXPECT_EQ(copy(opening.number()).code, code(ResultCode::PrinterOffline));
}

}  // namespace
