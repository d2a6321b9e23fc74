// The control tape (58): which documents it prints, fresh or continued, and
// the number that tells the host where an interrupted tape continues.

#include <gtest/gtest.h>

#include "common/cp866.h"
#include "reports/reports_worker.h"
#include "tests/unit/reports/fake_printer.h"
#include "tests/unit/reports/paper.h"
#include "tests/unit/reports/sample_register.h"

namespace {

using paper::centred;
using paper::row;

class ControlTapeTest : public ::testing::Test {
  protected:
    // Shift 1 with one receipt, closed; shift 2 with a receipt of two
    // positions, a receipt of one and a cash in, still open.
    void SetUp() override {
        reg.registerDevice();
        reg.openShift();
        reg.receipt(ReceiptDoc::sale, {sample::position("Спички", 300)});
        reg.closeShift();
        opening = reg.openShift();
        first = reg.receipt(ReceiptDoc::sale,
                            {sample::position("Хлеб", 10'000), sample::position("Молоко", 5'000)});
        second = reg.receipt(ReceiptDoc::sale, {sample::position("Чай", 3'000)});
        cashIn = reg.cashIn(50'000);
    }

    // Asks for the tape, continued from `from` when given.
    CoreApiResult tape(std::optional<std::uint32_t> from = std::nullopt) {
        Bytes data{3};
        le::put32(data, 1234);
        if (from) le::put32(data, *from);
        printer.jobs.clear();
        ReportsWorker worker(reg.archive.get(), printer);
        return worker.printControlTape(CoreTransaction{58, 1, data});
    }

    // The document numbers the tape's short forms name, in order.
    std::vector<std::uint32_t> documentsOnTape() const {
        std::vector<std::uint32_t> numbers;
        for (const std::string& job : printer.jobs)
            for (const std::string& line : paper::lines(job))
                if (const auto at = line.rfind("ФД "); at != std::string::npos)
                    numbers.push_back(static_cast<std::uint32_t>(std::stoul(line.substr(at + 5))));
        return numbers;
    }

    static Bytes number(std::uint32_t n) {
        Bytes b;
        le::put32(b, n);
        return b;
    }

    sample::Register reg;
    paper::FakePrinter printer;
    sample::Register::Made opening, first, second, cashIn;
};

TEST_F(ControlTapeTest, AnInterruptedTapeTellsWhereToContinueAndContinuingCompletesIt) {
    // The paper runs out in the middle of the first receipt: nothing was
    // printed in full.
    printer.runOutAt("Молоко");
    CoreApiResult r = tape();
    EXPECT_EQ(r.code, code(ResultCode::PaperOut));
    EXPECT_EQ(r.data, number(0));
    EXPECT_NE(printer.jobs.back().find(cp866::fromUtf8("Молоко")), std::string::npos)
        << "nothing is sent after the failed job";

    // It runs out in the second receipt: the first was printed in full.
    printer.refill();
    printer.runOutAt("Чай");
    r = tape();
    EXPECT_EQ(r.code, code(ResultCode::PaperOut));
    ASSERT_EQ(r.data, number(first.number()));

    // The host continues from the next number.
    printer.refill();
    r = tape(le::u32(r.data.data()) + 1);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, number(cashIn.number()));
    EXPECT_EQ(printer.jobsWith("(ПРОДОЛЖЕНИЕ)"), 1u);
    EXPECT_EQ(documentsOnTape(), (std::vector<std::uint32_t>{second.number(), cashIn.number()}));

    // A number not above the shift's opening asks for a fresh tape.
    printer.refill();
    for (std::uint32_t from : {0u, opening.number()}) {
        ASSERT_EQ(tape(from).code, 0) << from;
        EXPECT_EQ(printer.jobsWith("ИТОГИ СМЕНЫ"), 1u) << from;
        EXPECT_EQ(documentsOnTape(),
                  (std::vector<std::uint32_t>{first.number(), second.number(), cashIn.number()}));
    }

    // A failed closing line still tells that everything was printed.
    printer.runOutAt("ОКТА-80-Ф");
    r = tape();
    EXPECT_EQ(r.code, code(ResultCode::PaperOut));
    EXPECT_EQ(r.data, number(cashIn.number()));
}

TEST_F(ControlTapeTest, FailuresBeforeTheDocumentsCarryNoNumber) {
    for (const char* failing : {"Ромашка", "ИТОГИ СМЕНЫ"}) {
        printer.refill();
        printer.runOutAt(failing, ResultCode::PrinterOffline);
        const CoreApiResult r = tape();
        EXPECT_EQ(r.code, code(ResultCode::PrinterOffline)) << failing;
        EXPECT_TRUE(r.data.empty()) << failing;
    }
    // The title and the first separator are not looked at.
    for (const char* failing : {"КОНТРОЛЬНАЯ ЛЕНТА", "-----"}) {
        printer.refill();
        printer.failOnceAt(failing);
        const CoreApiResult r = tape();
        EXPECT_EQ(r.code, 0) << failing;
        EXPECT_EQ(r.data, number(cashIn.number())) << failing;
    }
}

}  // namespace
