// The report commands end to end: a POS host runs shifts with receipts and
// cash through the simulator and asks for reports, control tapes and
// copies; the paper tape is read back from the virtual printer. Counts and
// amounts are worked out here from the documents the test made.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/e2e/fiscal_requests.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/tape_checks.h"
#include "tests/support/file_text.h"

namespace {

using hostkit::Response;
using namespace fiscal;

constexpr std::uint8_t kReport = 177;
constexpr std::uint8_t kControlTape = 58;
constexpr std::uint8_t kCopy = 178;

// "150.00" for 15000 kopecks.
std::string amount(std::int64_t kopecks) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(kopecks / 100),
                  static_cast<long long>(kopecks % 100));
    return text;
}

// A date-time as the register prints it, in the simulator's local time
// (the test runs in the same zone).
std::string dateTime(std::uint32_t seconds) {
    const std::time_t t = seconds;
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return text;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Whether a printed line begins with `label` and ends with `value`, with
// only blanks between: a label-and-value line.
bool isRow(std::string line, const std::string& label, const std::string& value) {
    // The tape pads every line to the roll's width.
    line.erase(line.find_last_not_of(' ') + 1);
    if (line.size() < label.size() + value.size() || !line.starts_with(label) ||
        !line.ends_with(value))
        return false;
    const std::string between =
        line.substr(label.size(), line.size() - label.size() - value.size());
    return between.find_first_not_of(' ') == std::string::npos;
}

// The index of the first line at or after `from` that is the row, or -1.
long findRow(const std::vector<std::string>& lines, const std::string& label,
             const std::string& value, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (isRow(lines[i], label, value)) return static_cast<long>(i);
    return -1;
}

// The index of the first line at or after `from` holding `text`, or -1.
long findLine(const std::vector<std::string>& lines, const std::string& text,
              std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos) return static_cast<long>(i);
    return -1;
}

// What a close command answers: the document's number and date-time.
struct Stored {
    std::uint32_t number = 0;
    std::uint32_t dateTime = 0;
};

class ReportsE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    Response request(std::uint8_t command, const Bytes& data = {}) {
        Response r;
        std::string error;
        sim.client().drain();
        EXPECT_TRUE(sim.client().request(command, data, r, error, 0x7E9, 60000)) << error;
        return r;
    }

    void fiscalize() {
        for (const Request& r : fiscalizationRequests())
            ASSERT_EQ(request(r.command, r.data).code, 0) << int(r.command);
    }

    // A document opened by the service cashier, filled and closed.
    Stored document(std::uint8_t open, const Bytes& openData, const std::vector<Bytes>& items,
                    std::uint8_t close, const Bytes& closeData) {
        EXPECT_EQ(request(open, asService(openData)).code, 0) << int(open);
        for (const Bytes& item : items) EXPECT_EQ(request(kAdd, item).code, 0) << int(open);
        const Response r = request(close, closeData);
        EXPECT_EQ(r.code, 0) << int(close);
        if (r.data.size() < 12) return {};
        return {le::u32(r.data.data()), le::u32(r.data.data() + 8)};
    }
    Stored openShift() { return document(kOpenShift, {}, {}, kCloseShiftOpen, {}); }
    Stored closeShift() { return document(kOpenShiftClose, {}, {}, kCloseShiftClose, {}); }
    Stored sale(const std::vector<Bytes>& items, std::int64_t cash = 0) {
        return document(kOpenReceipt, receiptOpen(ReceiptKind::sale), items, kCloseReceipt,
                        receiptPayment(cash));
    }
    Stored cashIn(std::int64_t kopecks) {
        return document(kOpenCashIn, {}, {}, kCloseCashIn, cashAmount(kopecks));
    }

    // The tape printed while `print` ran.
    std::string printedBy(const std::function<void()>& print) {
        const std::size_t before = tape().size();
        print();
        return tape().substr(before);
    }
    std::string tape() const { return testing_support::readFile(sim.root() + "/printer/tape.txt"); }

    void setPaper(const char* state) {
        std::ofstream(sim.root() + "/printer/state") << state << "\n";
    }

    static Bytes report(std::uint8_t type, const Bytes& arguments = {}) {
        Bytes payload{type};
        le::putBytes(payload, arguments);
        return asService(payload);
    }
    static Bytes shiftRange(std::uint16_t a, std::uint16_t b) {
        Bytes arguments;
        le::put16(arguments, a);
        le::put16(arguments, b);
        return report(6, arguments);
    }
    static Bytes number(std::uint32_t n) {
        Bytes b;
        le::put32(b, n);
        return b;
    }

    e2e::SimProcess sim;
};

TEST_F(ReportsE2E, ReportsAreRefusedUntilThereIsAShiftToReportOn) {
    fiscalize();
    // A malformed request is refused before anything else is looked at.
    EXPECT_EQ(request(kReport, report(6, {1, 0, 9})).code, 22) << "shift range with 3 bytes";
    EXPECT_EQ(request(kReport, report(7)).code, 30);
    EXPECT_EQ(request(kReport, asService()).code, 22);

    const std::string printed = printedBy([&] {
        Bytes period;
        le::put32(period, 0);
        le::put32(period, 0xFFFFFFFF);
        for (const Bytes& r :
             {report(1), report(2), report(3), report(4), report(5, period), shiftRange(1, 100)})
            EXPECT_EQ(request(kReport, r).code, 17) << int(r[5]);
    });
    EXPECT_EQ(printed, "") << "nothing is printed before the first shift";
}

TEST_F(ReportsE2E, AShiftRangeGivenFromNineToThreeCoversShiftsThreeToNine) {
    fiscalize();
    // Ten shifts; sales in shifts 2, 3, 9 and 10 of 2.00, 3.00, 9.00, 10.00.
    std::vector<Stored> closings;
    for (int shift = 1; shift <= 10; ++shift) {
        openShift();
        if (shift == 2 || shift == 3 || shift == 9 || shift == 10)
            sale({position({.name = "Товар", .priceKopecks = shift * 100})});
        closings.push_back(closeShift());
    }
    const std::int64_t inRange = 300 + 900;

    const std::vector<std::string> lines =
        linesOf(printedBy([&] { EXPECT_EQ(request(kReport, shiftRange(9, 3)).code, 0); }));
    const long title = findLine(lines, "ОТЧЕТ ПО ДИАПАЗОНУ СМЕН");
    ASSERT_GE(title, 0) << testing::PrintToString(lines);
    EXPECT_GT(findRow(lines, "СМЕНЫ С  3", dateTime(closings[2].dateTime)), title);
    EXPECT_GT(findRow(lines, "ПО 9", dateTime(closings[8].dateTime)), title);
    const long gross = findLine(lines, "ГРОСС ИТОГИ");
    ASSERT_GT(gross, title);
    EXPECT_GT(findRow(lines, "СМЕН", "7", gross), gross) << "shifts 3 to 9";
    EXPECT_GT(findRow(lines, "ВСЕГО ЧЕКОВ", "2", gross), gross);
    EXPECT_GT(findRow(lines, "ПРОДАЖ 2", "НА " + amount(inRange), gross), gross);
    EXPECT_GT(findLine(lines, "ОКТА-80-Ф"), gross) << "the closing line ends it";

    // The same range in the usual order prints the same report.
    const std::string again = printedBy([&] { request(kReport, shiftRange(3, 9)); });
    EXPECT_EQ(linesOf(again), lines);
}

TEST_F(ReportsE2E, TheControlTapeListsTheShiftsDocumentsAndAnswersWithTheLastOne) {
    fiscalize();
    openShift();
    sale({position({.name = "Спички", .priceKopecks = 300})});
    closeShift();
    const Stored opening = openShift();
    const Stored first = sale({position({.name = "Хлеб", .priceKopecks = 4'500}),
                               position({.name = "Молоко", .priceKopecks = 8'900})});
    const Stored second = sale({position({.name = "Чай", .priceKopecks = 12'000})}, 15'000);
    const Stored cash = cashIn(50'000);

    Response r;
    std::vector<std::string> lines =
        linesOf(printedBy([&] { r = request(kControlTape, asService()); }));
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.data, number(cash.number)) << "the cash in was the last document";
    const long title = findLine(lines, "КОНТРОЛЬНАЯ ЛЕНТА");
    ASSERT_GE(title, 0) << testing::PrintToString(lines);
    EXPECT_EQ(findRow(lines, "СМЕНА", "2"), title + 1);
    EXPECT_EQ(findRow(lines, "ОТКРЫТА", dateTime(opening.dateTime)), title + 2);
    // The shift counters: two sales of 134.00 and 120.00, a cash in of 500.00.
    EXPECT_GT(findRow(lines, "ВНЕСЕНИЙ 1", "НА 500.00"), title);
    EXPECT_GT(findRow(lines, "ПРОДАЖ 2", "НА " + amount(4'500 + 8'900 + 12'000)), title);
    // Then the documents in their order, each with its number.
    const long firstAt = findRow(lines, "ПРОДАЖА ЧЕК 1", "ФД " + std::to_string(first.number));
    const long secondAt = findRow(lines, "ПРОДАЖА ЧЕК 2", "ФД " + std::to_string(second.number));
    const long cashAt = findRow(lines, "Внесение", "ФД " + std::to_string(cash.number));
    EXPECT_GT(firstAt, title);
    EXPECT_GT(secondAt, firstAt);
    EXPECT_GT(cashAt, secondAt);
    EXPECT_GT(findLine(lines, "Молоко"), findLine(lines, "Хлеб"));
    EXPECT_LT(findLine(lines, "Молоко"), secondAt);
    EXPECT_GT(findRow(lines, "НАЛИЧНЫМИ", "150.00", secondAt), secondAt) << "tendered cash";
    EXPECT_GT(findRow(lines, "НАЛ.", "500.00", cashAt), cashAt);
    EXPECT_EQ(findLine(lines, "Спички"), -1) << "the earlier shift is not on the tape";

    // A continuation from the second receipt says so and prints the rest.
    lines =
        linesOf(printedBy([&] { r = request(kControlTape, asService(number(second.number))); }));
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.data, number(cash.number));
    EXPECT_GE(findLine(lines, "(ПРОДОЛЖЕНИЕ)"), 0);
    EXPECT_EQ(findLine(lines, "ИТОГИ СМЕНЫ"), -1);
    EXPECT_EQ(findLine(lines, "Хлеб"), -1);
    EXPECT_GE(findLine(lines, "Чай"), 0);
    EXPECT_GE(findRow(lines, "Внесение", "ФД " + std::to_string(cash.number)), 0);

    // Nothing after the last document.
    const std::string printed =
        printedBy([&] { r = request(kControlTape, asService(number(cash.number + 1))); });
    EXPECT_EQ(r.code, 17);
    EXPECT_TRUE(r.data.empty());
    EXPECT_EQ(printed, "");
}

TEST_F(ReportsE2E, ACopyOfAReceiptPrintsItsTextLinesWhereTheyWereAdded) {
    fiscalize();
    openShift();
    const Stored receipt = sale({receiptTextLine("Добро пожаловать"),
                                 position({.name = "Хлеб", .priceKopecks = 4'500}),
                                 receiptTextLine("Акция: второй за полцены"),
                                 position({.name = "Молоко", .priceKopecks = 8'900}),
                                 receiptTextLine("Спасибо за покупку")});

    Response r;
    const std::vector<std::string> lines =
        linesOf(printedBy([&] { r = request(kCopy, asService(number(receipt.number))); }));
    ASSERT_EQ(r.code, 0);
    const long marker = findLine(lines, "(КОПИЯ)");
    ASSERT_GE(marker, 0) << testing::PrintToString(lines);
    EXPECT_LT(findLine(lines, "ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК"), marker) << "the heading comes first";
    const long welcome = findLine(lines, "Добро пожаловать");
    const long bread = findLine(lines, "Хлеб");
    const long offer = findLine(lines, "Акция: второй за полцены");
    const long milk = findLine(lines, "Молоко");
    const long thanks = findLine(lines, "Спасибо за покупку");
    EXPECT_GT(welcome, marker);
    EXPECT_GT(bread, welcome);
    EXPECT_GT(offer, bread);
    EXPECT_GT(milk, offer);
    EXPECT_GT(thanks, milk);
    // The total prints in double size.
    const long total =
        findRow(lines, e2e::doubleWidth("ИТОГО"), e2e::doubleWidth(amount(4'500 + 8'900)));
    EXPECT_GT(total, thanks);
    EXPECT_GT(findRow(lines, "ФД " + std::to_string(receipt.number), "ОКТА-80-Ф 0123456789"),
              total);
    EXPECT_EQ(lines.back().rfind("✂", 0), 0u) << "cut after: " << lines.back();

    EXPECT_EQ(request(kCopy, asService(number(receipt.number + 1))).code, 17);
    EXPECT_EQ(request(kCopy, asService({1, 0})).code, 22);
}

// The printer's paper sensor played by the test: DIR/printer/state becomes
// a pipe, and every time the printer reads it the test answers "out" once
// the tape shows `trigger`, else "ok". So the paper runs out exactly after
// the job that printed `trigger`, however fast the register prints. When
// stopped, the state file is a plain file holding "ok" again.
class PaperSensor {
  public:
    PaperSensor(const std::string& printerDir, std::string trigger)
        : state_(printerDir + "/state"),
          tapePath_(printerDir + "/tape.txt"),
          trigger_(std::move(trigger)) {
        // A read that ends before the answer is written must not end the test.
        previousPipeHandler_ = std::signal(SIGPIPE, SIG_IGN);
        std::remove(state_.c_str());
        EXPECT_EQ(::mkfifo(state_.c_str(), 0600), 0);
        from_ = testing_support::readFile(tapePath_).size();
        thread_ = std::thread([this] { run(); });
    }
    ~PaperSensor() {
        stop_ = true;
        thread_.join();
        const std::string plain = state_ + ".new";
        std::ofstream(plain) << "ok\n";
        std::rename(plain.c_str(), state_.c_str());
        std::signal(SIGPIPE, previousPipeHandler_);
    }

  private:
    void run() {
        while (!stop_) {
            // Opens only while the printer has the pipe open for reading.
            const int fd = ::open(state_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const bool out =
                testing_support::readFile(tapePath_).find(trigger_, from_) != std::string::npos;
            const std::string word = out ? "out\n" : "ok\n";
            (void)!::write(fd, word.data(), word.size());
            ::close(fd);
        }
    }

    std::string state_;
    std::string tapePath_;
    std::string trigger_;
    std::size_t from_ = 0;
    void (*previousPipeHandler_)(int) = SIG_DFL;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(ReportsE2E, APaperOutEndsTheControlTapeWhereTheHostCanContinueIt) {
    fiscalize();
    openShift();
    const Stored first = sale({position({.name = "Хлеб", .priceKopecks = 4'500}),
                               position({.name = "Молоко", .priceKopecks = 8'900})});
    const Stored second = sale({position({.name = "Чай", .priceKopecks = 12'000}),
                                position({.name = "Сахар", .priceKopecks = 9'000})});
    const Stored cash = cashIn(50'000);

    // The paper runs out while the second receipt is printed.
    Response r;
    std::vector<std::string> lines;
    {
        PaperSensor sensor(sim.root() + "/printer", "Чай");
        lines = linesOf(printedBy([&] { r = request(kControlTape, asService()); }));
    }
    EXPECT_EQ(r.code, 54);
    ASSERT_EQ(r.data, number(first.number)) << "the first receipt was printed in full";
    const long firstAt = findRow(lines, "ПРОДАЖА ЧЕК 1", "ФД " + std::to_string(first.number));
    ASSERT_GE(firstAt, 0) << testing::PrintToString(lines);
    EXPECT_GT(findLine(lines, "ДАТА", firstAt), firstAt);
    EXPECT_EQ(findLine(lines, "Сахар"), -1) << "nothing reaches the paper once it is out";
    EXPECT_EQ(findLine(lines, "ОКТА-80-Ф"), -1);

    // Out of paper before the continuation: refused before anything prints,
    // and without a number, since nothing was printed.
    const std::uint32_t next = le::u32(r.data.data()) + 1;
    setPaper("out");
    EXPECT_EQ(printedBy([&] { r = request(kControlTape, asService(number(next))); }), "");
    EXPECT_EQ(r.code, 54);
    EXPECT_TRUE(r.data.empty());

    // With paper again the host continues from the next number.
    setPaper("ok");
    lines = linesOf(printedBy([&] { r = request(kControlTape, asService(number(next))); }));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, number(cash.number));
    EXPECT_GE(findLine(lines, "(ПРОДОЛЖЕНИЕ)"), 0);
    EXPECT_EQ(findLine(lines, "Хлеб"), -1);
    const long secondAt = findRow(lines, "ПРОДАЖА ЧЕК 2", "ФД " + std::to_string(second.number));
    EXPECT_GE(secondAt, 0) << testing::PrintToString(lines);
    EXPECT_GT(findLine(lines, "Сахар"), findLine(lines, "Чай"));
    EXPECT_GT(findRow(lines, "Внесение", "ФД " + std::to_string(cash.number)), secondAt);
    EXPECT_GE(findLine(lines, "ОКТА-80-Ф"), 0);
}

}  // namespace
