// The report command (177): the checks of a request, the reports printed
// from the archive's counters and from the internal storage, and which
// print failures end a report.

#include "reports/reports_worker.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "documents/print_text.h"
#include "tests/unit/reports/fake_printer.h"
#include "tests/unit/reports/paper.h"
#include "tests/unit/reports/sample_register.h"

namespace {

using paper::centred;
using paper::row;
using print_text::dateTimeText;

constexpr std::uint8_t kReport = 177;
constexpr std::uint8_t kControlTape = 58;
constexpr std::uint8_t kCopy = 178;
constexpr std::uint32_t kPassword = 1234;

Bytes u16pair(std::uint8_t type, std::uint16_t a, std::uint16_t b) {
    Bytes p{type};
    le::put16(p, a);
    le::put16(p, b);
    return p;
}
Bytes u32pair(std::uint8_t type, std::uint32_t a, std::uint32_t b) {
    Bytes p{type};
    le::put32(p, a);
    le::put32(p, b);
    return p;
}

class ReportsWorkerTest : public ::testing::Test {
  protected:
    CoreApiResult send(std::uint8_t command, const Bytes& payload, std::uint8_t cashier = 3,
                       std::uint32_t password = kPassword) {
        Bytes data{cashier};
        le::put32(data, password);
        data.insert(data.end(), payload.begin(), payload.end());
        ReportsWorker worker(reg.archive.get(), printer);
        return dispatch(worker, command, data);
    }
    static CoreApiResult dispatch(ReportsWorker& worker, std::uint8_t command, const Bytes& data) {
        const CoreTransaction t{command, 1, data};
        if (command == kReport) return worker.printReport(t);
        if (command == kControlTape) return worker.printControlTape(t);
        return worker.printDocumentCopy(t);
    }
    // A cashier of number `n` with the password 1234 and `rights`.
    void addCashier(std::uint8_t n, std::uint16_t rights) {
        Cashier c = reg.device.cashier;
        c.number = n;
        c.rights = rights;
        ASSERT_TRUE(cashiers().writeCashier(c));
    }
    // A registered device in its first shift: a sale of 100.00 and 50.00,
    // a cash in of 500.00.
    void sellInFirstShift() {
        reg.registerDevice();
        opening = reg.openShift();
        reg.receipt(ReceiptDoc::sale,
                    {sample::position("Хлеб", 10'000), sample::position("Соль", 5'000)});
        reg.cashIn(50'000);
    }

    sample::Register reg;
    paper::FakePrinter printer;
    sample::Register::Made opening;
};

TEST_F(ReportsWorkerTest, ARequestIsCheckedBeforeAnythingIsPrinted) {
    sellInFirstShift();
    addCashier(4, kRightReports);
    addCashier(5, kRightSale | kRightReturn);

    EXPECT_EQ(send(kReport, {1}, 3, 999).code, code(ResultCode::WrongPassword));
    EXPECT_EQ(send(kReport, {1}, 21).code, code(ResultCode::BadCashierPrefix));
    EXPECT_EQ(send(kReport, {1}, 5).code, code(ResultCode::NoRight));
    EXPECT_EQ(send(kReport, {}).code, code(ResultCode::BadDataLength));
    // The paper is looked at before the report type.
    printer.status = ResultCode::PaperOut;
    EXPECT_EQ(send(kReport, {7}).code, code(ResultCode::PaperOut));
    printer.status = ResultCode::Success;
    EXPECT_EQ(send(kReport, {6, 1, 0, 2}).code, code(ResultCode::BadDataLength));
    EXPECT_EQ(send(kReport, {5, 1, 2, 3, 4, 5, 6, 7, 8, 9}).code, code(ResultCode::BadDataLength));
    EXPECT_EQ(send(kReport, {7}).code, code(ResultCode::TypeMismatch));
    EXPECT_EQ(send(kReport, {0}).code, code(ResultCode::TypeMismatch));

    // The control tape needs all three rights, the copy the report right.
    EXPECT_EQ(send(kControlTape, {}, 4).code, code(ResultCode::NoRight));
    EXPECT_EQ(send(kControlTape, {}, 5).code, code(ResultCode::NoRight));
    EXPECT_EQ(send(kCopy, {1, 0, 0, 0}, 5).code, code(ResultCode::NoRight));
    EXPECT_EQ(send(kCopy, {1, 0, 0}).code, code(ResultCode::BadDataLength));
    EXPECT_EQ(send(kCopy, {1, 0, 0, 0, 0}).code, code(ResultCode::BadDataLength));
    printer.status = ResultCode::PrinterOffline;
    const CoreApiResult tape = send(kControlTape, {});
    EXPECT_EQ(tape.code, code(ResultCode::PrinterOffline));
    EXPECT_TRUE(tape.data.empty()) << "an early failure says nothing about the documents";
    EXPECT_EQ(send(kCopy, {1, 0, 0, 0}).code, code(ResultCode::PrinterOffline));

    EXPECT_TRUE(printer.jobs.empty());

    // A device the checks refuse prints no report either.
    printer.status = ResultCode::Success;
    FrStatus::status().setFlag(FrStatus::archiveClosed, true);
    EXPECT_EQ(send(kReport, {1}).code, code(ResultCode::ArchiveClosed));
    EXPECT_EQ(send(kControlTape, {}).code, code(ResultCode::ArchiveClosed));
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(ReportsWorkerTest, AnXReportShowsTheShiftAndWhatItCounted) {
    sellInFirstShift();
    ASSERT_EQ(send(kReport, {1}).code, 0);
    ASSERT_EQ(printer.jobs.size(), 6u) << "header, title, shift lines, counters, footer, closing";
    EXPECT_EQ(
        paper::lines(printer.jobs[0]),
        (std::vector<std::string>{centred("ООО \"Ромашка\""), centred("г. Москва, ул. Тверская, 1"),
                                  centred("Касса 1")}));
    EXPECT_EQ(paper::lines(printer.jobs[1]), (std::vector<std::string>{centred("X-Отчет")}));
    EXPECT_EQ(paper::lines(printer.jobs[2]),
              (std::vector<std::string>{
                  row("СМЕНА", "1"), row("ОТКРЫТА", dateTimeText(opening.document->dateTime()))}));
    const std::vector<std::string> counters = paper::lines(printer.jobs[3]);
    EXPECT_EQ(counters.front(), centred("ИТОГИ СМЕНЫ"));
    for (const std::string& line :
         {row("ВНЕСЕНИЙ 1", "НА 500.00"), row("ВСЕГО ЧЕКОВ", "1"), row("НАЛ. В КАССЕ", "650.00"),
          row("ПРОДАЖ 1", "НА 150.00"), row("НАЛИЧНЫМИ", "150.00")})
        EXPECT_NE(std::find(counters.begin(), counters.end(), line), counters.end()) << line;
    EXPECT_EQ(paper::lines(printer.jobs[4]),
              (std::vector<std::string>{row("ИНН", "7701234567"), row("ФН", "9999078900001234")}));
    EXPECT_EQ(paper::lines(printer.jobs[5]).front(), row("ОКТА-80-Ф", "0123456789"));
    EXPECT_TRUE(printer.jobs[5].ends_with("\x1b\x33\xff\x0a\x1b\x69")) << "fed and cut";

    // With departments, the shift's sales by department follow the counters.
    printer.jobs.clear();
    ASSERT_EQ(send(kReport, {4}).code, 0);
    ASSERT_EQ(printer.jobs.size(), 7u);
    const std::vector<std::string> departments = paper::lines(printer.jobs[4]);
    EXPECT_EQ(departments.front(), centred("ИТОГИ ПО ОТДЕЛАМ"));
    EXPECT_EQ(departments.at(1), "ОТДЕЛ 1");
    EXPECT_EQ(departments.at(2), row("ПРОДАЖ НА", "150.00"));

    // Once the shift is closed the report says when.
    const sample::Register::Made closing = reg.closeShift();
    printer.jobs.clear();
    ASSERT_EQ(send(kReport, {1}).code, 0);
    EXPECT_EQ(paper::lines(printer.jobs.at(2)).back(),
              row("ЗАКРЫТА", dateTimeText(closing.document->dateTime())));
}

TEST_F(ReportsWorkerTest, TheTotalsSinceRegistrationAndTheGrossTotalsCountEveryShift) {
    sellInFirstShift();
    reg.closeShift();
    reg.openShift();
    reg.receipt(ReceiptDoc::sale, {sample::position("Чай", 7'000)});

    ASSERT_EQ(send(kReport, {2}).code, 0);
    ASSERT_EQ(printer.jobs.size(), 4u) << "header, totals, footer, closing";
    const std::vector<std::string> totals = paper::lines(printer.jobs[1]);
    EXPECT_EQ(totals.at(0), centred("ИТОГО С ПОСЛЕДНЕЙ РЕГИСТРАЦИИ"));
    EXPECT_EQ(totals.at(1), row("СМЕН", "2"));
    EXPECT_NE(std::find(totals.begin(), totals.end(), row("ПРОДАЖ 2", "НА 220.00")), totals.end());

    printer.jobs.clear();
    ASSERT_EQ(send(kReport, {3}).code, 0);
    ASSERT_EQ(printer.jobs.size(), 4u);
    const std::vector<std::string> gross = paper::lines(printer.jobs[1]);
    EXPECT_EQ(gross.at(0), centred("ГРОСС ИТОГИ"));
    EXPECT_NE(std::find(gross.begin(), gross.end(), row("ПРОДАЖ 2", "НА 220.00")), gross.end());
}

TEST_F(ReportsWorkerTest, APrintFailureEndsAReportOnlyWhereItMatters) {
    sellInFirstShift();
    struct Case {
        const char* failingJob;
        ResultCode result;
        std::size_t jobsSent;
    };
    const Case cases[] = {
        {"Ромашка", ResultCode::PaperOut, 1},           // the registration header
        {"X-Отчет", ResultCode::Success, 7},            // the title: not looked at
        {"ОТКРЫТА", ResultCode::Success, 7},            // the shift lines: not looked at
        {"ИТОГИ СМЕНЫ", ResultCode::PaperOut, 4},       // the counters
        {"ИТОГИ ПО ОТДЕЛАМ", ResultCode::PaperOut, 5},  // the departments
        {"ИНН", ResultCode::Success, 7},                // the registration footer: not looked at
        {"ОКТА-80-Ф", ResultCode::PaperOut, 7},         // the closing line is the result
    };
    for (const Case& c : cases) {
        paper::FakePrinter failing;
        failing.failOnceAt(c.failingJob);
        ReportsWorker worker(reg.archive.get(), failing);
        Bytes data{3};
        le::put32(data, kPassword);
        data.push_back(4);
        EXPECT_EQ(dispatch(worker, kReport, data).code, code(c.result)) << c.failingJob;
        EXPECT_EQ(failing.jobs.size(), c.jobsSent) << c.failingJob;
    }
}

class RangeReportTest : public ReportsWorkerTest {
  protected:
    // Shifts 1 to 5, shift s with one sale of s * 10.00; their closings.
    void SetUp() override {
        reg.registerDevice();
        for (int s = 1; s <= 5; ++s) {
            reg.openShift();
            reg.receipt(ReceiptDoc::sale, {sample::position("Товар", s * 1'000)});
            closings.push_back(reg.closeShift());
        }
    }
    std::uint32_t closedAt(int shift) const { return closings.at(shift - 1).document->dateTime(); }

    std::vector<sample::Register::Made> closings;
};

TEST_F(RangeReportTest, APeriodSumsTheShiftsClosedWithinIt) {
    const std::uint32_t from = closedAt(2);
    const std::uint32_t to = closedAt(5) - 1;  // shift 5 closed just after the period
    ASSERT_EQ(send(kReport, u32pair(5, to, from)).code, 0);
    ASSERT_EQ(printer.jobs.size(), 8u);
    EXPECT_EQ(paper::lines(printer.jobs[1]),
              (std::vector<std::string>{centred("ОТЧЕТ ЗА ПЕРИОД")}));
    // Too long for one narrow line: the bounds go on two.
    EXPECT_EQ(paper::lines(printer.jobs[2]),
              (std::vector<std::string>{"С  " + dateTimeText(from), "ПО " + dateTimeText(to)}));
    EXPECT_EQ(paper::lines(printer.jobs[3]),
              (std::vector<std::string>{row("СМЕНЫ С  2", dateTimeText(closedAt(2)))}));
    EXPECT_EQ(paper::lines(printer.jobs[4]),
              (std::vector<std::string>{row("ПО 4", dateTimeText(closedAt(4)))}));
    EXPECT_EQ(paper::lines(printer.jobs[5]).at(1), row("СМЕН", "3"));
}

TEST_F(RangeReportTest, OnlyTheSecondShiftLineAndTheSumsEndARangeReport) {
    for (const auto& [failing, result, jobs] :
         {std::tuple{"СМЕНЫ С", ResultCode::Success, 7u},
          std::tuple{"ПО 4", ResultCode::PaperOut, 4u},
          std::tuple{"ГРОСС ИТОГИ", ResultCode::PaperOut, 5u}}) {
        printer.jobs.clear();
        printer.refill();
        printer.failOnceAt(failing);
        EXPECT_EQ(send(kReport, u16pair(6, 2, 4)).code, code(result)) << failing;
        EXPECT_EQ(printer.jobs.size(), jobs) << failing;
    }
}

}  // namespace
