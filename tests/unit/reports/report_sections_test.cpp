// What the counter, gross and department sections put on paper, and the
// pieces around them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/archive_close_doc.h"
#include "documents/close_cycle_doc.h"
#include "documents/fiscalization_document.h"
#include "reports/counter_sections.h"
#include "reports/department_section.h"
#include "reports/document_body.h"
#include "reports/report_pieces.h"
#include "state/status.h"
#include "tests/unit/documents/sample_device.h"
#include "tests/unit/reports/paper.h"

namespace {

using sample::cp;

using paper::centred;
using paper::row;

CounterSet shiftCounters() {
    CounterSet c;
    c.shiftField = 5;
    c.cashInCount = 1;
    c.cashInAmount = 10'000;
    c.receiptCount = 3;
    c.cashInDrawer = 25'000;
    OperationTotals& sale = c.operations[0];
    sale.count = 3;
    sale.total = 30'000;
    sale.byPayment = {20'000, 10'000, 0, 0, 0};
    sale.byTax = {5'000, 700, 0, static_cast<std::uint64_t>(-300), 0};
    // Counts nothing: only its name line, whatever its sums say.
    c.operations[1].total = 0;
    c.operations[1].byPayment[0] = 123;
    return c;
}

TEST(CounterSection, AShiftsCountersOnPaper) {
    const sample::Device d = sample::device();
    const CounterSet counters = shiftCounters();
    EXPECT_EQ(paper::lines(
                  report::counterSection(&counters, report::CounterPeriod::shift, d.registration)),
              (std::vector<std::string>{
                  centred("ИТОГИ СМЕНЫ"),
                  row("ВНЕСЕНИЙ 1", "НА 100.00"),
                  row("ВЫПЛАТ 0", "НА 0.00"),
                  row("ВСЕГО ЧЕКОВ", "3"),
                  row("НАЛ. В КАССЕ", "250.00"),
                  row("ПРОДАЖ 3", "НА 300.00"),
                  row("НАЛИЧНЫМИ", "200.00"),
                  row("БЕЗНАЛИЧНЫМИ", "100.00"),
                  row("НДС 20%", "50.00"),  // tax 1 as the registration names it
                  row("НАЛОГ 2", "7.00"),   // tax 2 is not set there
                  row("ПОКУПОК 0", "НА 0.00"),
                  row("ВОЗВРАТОВ ПРОДАЖ 0", "НА 0.00"),
                  row("ВОЗВРАТОВ ПОКУПОК 0", "НА 0.00"),
              }));
}

TEST(CounterSection, TheTotalsSinceRegistrationCountTheirShifts) {
    const sample::Device d = sample::device();
    const CounterSet counters = shiftCounters();
    const std::vector<std::string> lines = paper::lines(report::counterSection(
        &counters, report::CounterPeriod::sinceRegistration, d.registration));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], centred("ИТОГО С ПОСЛЕДНЕЙ РЕГИСТРАЦИИ"));
    EXPECT_EQ(lines[1], row("СМЕН", "5"));
    EXPECT_EQ(lines[2], row("ВНЕСЕНИЙ 1", "НА 100.00"));
    EXPECT_EQ(report::counterSection(nullptr, report::CounterPeriod::shift, d.registration), "");
}

TEST(GrossSection, LifetimeTotalsHaveNeitherDrawerNorTaxes) {
    GrossCounterSet gross;
    gross.shiftField = 40;
    gross.cashOutCount = 2;
    gross.cashOutAmount = 150;
    gross.receiptCount = 9;
    gross.operations[3].count = 9;
    gross.operations[3].total = 99'900;
    gross.operations[3].byPayment[1] = 99'900;
    EXPECT_EQ(paper::lines(report::grossSection(&gross)),
              (std::vector<std::string>{
                  centred("ГРОСС ИТОГИ"),
                  row("СМЕН", "40"),
                  row("ВНЕСЕНИЙ 0", "НА 0.00"),
                  row("ВЫПЛАТ 2", "НА 1.50"),
                  row("ВСЕГО ЧЕКОВ", "9"),
                  row("ПРОДАЖ 0", "НА 0.00"),
                  row("ПОКУПОК 0", "НА 0.00"),
                  row("ВОЗВРАТОВ ПРОДАЖ 0", "НА 0.00"),
                  row("ВОЗВРАТОВ ПОКУПОК 9", "НА 999.00"),
                  row("НАЛИЧНЫМИ", "0.00"),
                  row("БЕЗНАЛИЧНЫМИ", "999.00"),
              }));
    EXPECT_EQ(report::grossSection(nullptr), "");
}

TEST(DepartmentSection, OnlyDepartmentsWithAmountsArePrinted) {
    std::array<DepartmentTotals, kOperationKinds> byKind{};
    byKind[0].amounts[2] = 10'000;  // department 3: sold and taken back
    byKind[2].amounts[2] = 10'000;
    byKind[1].amounts[19] = 1;  // department 20: one kopeck of purchases
    EXPECT_EQ(paper::lines(report::departmentSection(byKind)),
              (std::vector<std::string>{
                  centred("ИТОГИ ПО ОТДЕЛАМ"),
                  "ОТДЕЛ 3",
                  row("ПРОДАЖ НА", "100.00"),
                  row("ПОКУПОК НА", "0.00"),
                  row("ВОЗВРАТОВ ПРОДАЖ НА", "100.00"),
                  row("ВОЗВРАТОВ ПОКУПОК НА", "0.00"),
                  "ОТДЕЛ 20",
                  row("ПРОДАЖ НА", "0.00"),
                  row("ПОКУПОК НА", "0.01"),
                  row("ВОЗВРАТОВ ПРОДАЖ НА", "0.00"),
                  row("ВОЗВРАТОВ ПОКУПОК НА", "0.00"),
              }));
    EXPECT_EQ(paper::lines(report::departmentSection({})),
              (std::vector<std::string>{centred("ИТОГИ ПО ОТДЕЛАМ")}));
}

TEST(ReportPieces, AReportIsFramedByTheRegistrationAndClosedWithTheCut) {
    const sample::Device d = sample::device();
    EXPECT_EQ(
        paper::lines(report::registrationHeaderBlock(d.registration)),
        (std::vector<std::string>{centred("ООО \"Ромашка\""), centred("г. Москва, ул. Тверская, 1"),
                                  centred("Касса 1")}));
    EXPECT_EQ(paper::lines(report::registrationFooterBlock(d.registration)),
              (std::vector<std::string>{row("ИНН", "7701234567"), row("ФН", "9999078900001234")}));
    EXPECT_EQ(report::registrationHeaderBlock(RegData()), "");
    EXPECT_EQ(report::registrationFooterBlock(RegData()), "");

    const std::string closing = report::closingLine(d.model);
    EXPECT_EQ(paper::lines(closing)[0], row("ОКТА-80-Ф", "0123456789"));
    EXPECT_EQ(closing.substr(closing.size() - 6), "\x1b\x33\xff\x0a\x1b\x69");
    EXPECT_EQ(paper::lines(report::separator()), (std::vector<std::string>{std::string(44, '-')}));

    const std::string title = report::title(cp("X-Отчет"));
    EXPECT_NE(title.find("\x1b\x21\x09"), std::string::npos);  // small font, bold
    EXPECT_EQ(paper::lines(title), (std::vector<std::string>{centred("X-Отчет")}));
    EXPECT_EQ(paper::lines(report::bodyLines({cp("СМЕНА\t7")})),
              (std::vector<std::string>{row("СМЕНА", "7")}));
}

TEST(DocumentBody, ClosingDocumentsPrintTheCountersTheyCarry) {
    const sample::Device d = sample::device();
    const CounterSet counters = shiftCounters();
    GrossCounterSet gross;
    gross.shiftField = 8;

    CloseCycleDoc z(&d.model, &d.registration, d.cashier);
    EXPECT_EQ(report::documentBody(z), "");
    z.attachShiftCounters(counters);
    EXPECT_EQ(report::documentBody(z),
              report::counterSection(&counters, report::CounterPeriod::shift, d.registration));

    // The first registration carries no totals.
    FiscalizationDocument registration(&d.model, d.cashier);
    EXPECT_EQ(report::documentBody(registration), "");
    registration.attachRegistrationTotals(counters);
    EXPECT_EQ(paper::lines(report::documentBody(registration))[0],
              centred("ИТОГО С ПОСЛЕДНЕЙ РЕГИСТРАЦИИ"));

    ArchiveCloseDoc last(&d.model, &d.registration, d.cashier);
    last.attachRegistrationTotals(counters);
    last.attachGrossTotals(gross);
    EXPECT_EQ(report::documentBody(last),
              report::counterSection(&counters, report::CounterPeriod::sinceRegistration,
                                     d.registration) +
                  report::grossSection(&gross));

    EXPECT_EQ(report::documentBody(
                  *makeDocument(FrStatus::cashInDoc, &d.model, &d.registration, d.cashier)),
              "");
}

}  // namespace
