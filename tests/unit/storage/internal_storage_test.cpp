#include "storage/internal_storage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

namespace is = internal_storage;

constexpr std::uint8_t kRegistration = 1;
constexpr std::uint8_t kShiftClose = 2;
constexpr std::uint8_t kArchiveClose = 4;

DocDescriptor header(std::uint8_t type, std::uint32_t number, std::uint16_t shift) {
    DocDescriptor d;
    d.type = type;
    d.number = number;
    d.shiftNumber = shift;
    d.dateTime = 1'700'000'000u + 1000u * number;
    return d;
}

// The counters of shift `s`, scaled by it so that a sum shows which shifts
// went into it.
CounterSet shiftCounters(std::uint16_t s) {
    CounterSet c;
    c.shiftField = s;
    c.cashInCount = s;
    c.receiptCount = 10u * s;
    c.cashInDrawer = 1000u * s;
    c.operations[0].count = s;
    c.operations[0].byTax[0] = 100u * s;
    c.operations[3].byPayment[1] = 7u * s;
    return c;
}

class InternalStorage : public ::testing::Test {
  protected:
    void append(const DocDescriptor& h, const CounterSet& c) {
        ASSERT_TRUE(is::appendRecord(h, &c));
    }
    void appendShift(std::uint32_t number, std::uint16_t shift) {
        append(header(kShiftClose, number, shift), shiftCounters(shift));
    }
    std::uintmax_t fileSize() const { return std::filesystem::file_size(storageFile()); }
    std::string storageFile() const { return temp.file(is::kStoragePath); }
    Bytes fileBytes() const { return testing_support::fileBytes(storageFile()); }

    testing_support::ScopedTempBoard temp;
};

TEST_F(InternalStorage, MissingFile) {
    CounterSet totals = shiftCounters(5);
    EXPECT_FALSE(is::sumSinceRegistration(totals));
    EXPECT_EQ(totals, CounterSet{});
    GrossCounterSet gross;
    gross.receiptCount = 5;
    EXPECT_FALSE(is::sumGross(gross));
    EXPECT_EQ(gross, GrossCounterSet{});
    DocDescriptor h = header(kShiftClose, 9, 9);
    EXPECT_FALSE(is::lastShiftCloseHeader(h));
    EXPECT_EQ(h, DocDescriptor{});
    EXPECT_EQ(is::lastRecordNumber(), 0u);
    DocDescriptor first, last;
    EXPECT_FALSE(is::sumShiftRange(0, 0xFFFF, first, last, gross));
    EXPECT_FALSE(is::storageExists());
}

TEST_F(InternalStorage, EmptyFile) {
    std::ofstream(storageFile()).close();
    ASSERT_TRUE(is::storageExists());
    CounterSet totals = shiftCounters(5);
    EXPECT_TRUE(is::sumSinceRegistration(totals));
    EXPECT_EQ(totals, CounterSet{});
    GrossCounterSet gross;
    EXPECT_TRUE(is::sumGross(gross));
    EXPECT_EQ(gross, GrossCounterSet{});
    DocDescriptor h;
    EXPECT_TRUE(is::lastShiftCloseHeader(h));
    EXPECT_EQ(h, DocDescriptor{});
    EXPECT_EQ(is::lastRecordNumber(), 0u);
    DocDescriptor first, last;
    EXPECT_FALSE(is::sumShiftRange(0, 0xFFFF, first, last, gross));
    EXPECT_FALSE(is::sumPeriod(0, 0xFFFFFFFF, first, last, gross));
}

TEST_F(InternalStorage, AppendWritesWholeRecords) {
    // A registration may come without counters: 406 zero bytes stand in.
    DocDescriptor reg = header(kRegistration, 1, 0);
    ASSERT_TRUE(is::appendRecord(reg, nullptr));
    Bytes bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 470u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 64), reg.encode());
    EXPECT_EQ(Bytes(bytes.begin() + 64, bytes.end()), Bytes(406, 0));

    // Any other type must carry its counters.
    EXPECT_FALSE(is::appendRecord(header(kShiftClose, 2, 1), nullptr));
    EXPECT_FALSE(is::appendRecord(header(kArchiveClose, 2, 1), nullptr));
    EXPECT_EQ(fileSize(), 470u);

    appendShift(2, 1);
    bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 940u);
    EXPECT_EQ(Bytes(bytes.begin() + 470, bytes.begin() + 534), header(kShiftClose, 2, 1).encode());
    EXPECT_EQ(Bytes(bytes.begin() + 534, bytes.end()), shiftCounters(1).encode());
    EXPECT_EQ(is::lastRecordNumber(), 2u);
}

TEST_F(InternalStorage, ShiftCloseRefusedWithoutCountersCreatesNoFile) {
    EXPECT_FALSE(is::appendRecord(header(kShiftClose, 2, 1), nullptr));
    EXPECT_FALSE(is::storageExists());
}

TEST_F(InternalStorage, LastRecordIsARegistration) {
    appendShift(2, 1);
    CounterSet regCounters;
    regCounters.cashInDrawer = 4'200;
    regCounters.receiptCount = 99;
    append(header(kRegistration, 3, 1), regCounters);

    CounterSet totals;
    ASSERT_TRUE(is::sumSinceRegistration(totals));
    CounterSet expected;
    expected.cashInDrawer = 4'200;
    EXPECT_EQ(totals, expected);

    // Gross totals run across registrations.
    GrossCounterSet gross;
    ASSERT_TRUE(is::sumGross(gross));
    EXPECT_EQ(gross.shiftField, 1);
    EXPECT_EQ(gross.receiptCount, 10u);
}

TEST_F(InternalStorage, SumsSinceRegistrationAndGross) {
    // Registration, two shifts, archive close, registration, one shift.
    append(header(kRegistration, 1, 0), CounterSet{});
    appendShift(5, 1);
    appendShift(9, 2);
    append(header(kArchiveClose, 10, 2), shiftCounters(40));
    append(header(kRegistration, 11, 2), shiftCounters(50));
    appendShift(15, 3);

    CounterSet totals;
    ASSERT_TRUE(is::sumSinceRegistration(totals));
    EXPECT_EQ(totals.shiftField, 1);
    EXPECT_EQ(totals.cashInCount, 3);
    EXPECT_EQ(totals.receiptCount, 30u);
    EXPECT_EQ(totals.cashInDrawer, 3000u);
    EXPECT_EQ(totals.operations[0].byTax[0], 300u);

    GrossCounterSet gross;
    ASSERT_TRUE(is::sumGross(gross));
    EXPECT_EQ(gross.shiftField, 1);
    EXPECT_EQ(gross.receiptCount, 30u);
    EXPECT_EQ(gross.operations[3].byPayment[1], 21u);
    EXPECT_EQ(gross.operations[3].kind, 3);

    DocDescriptor h;
    ASSERT_TRUE(is::lastShiftCloseHeader(h));
    EXPECT_EQ(h, header(kShiftClose, 15, 3));
    EXPECT_EQ(is::lastRecordNumber(), 15u);

    // A range covering every shift sums all three shift-close records.
    DocDescriptor first, last;
    ASSERT_TRUE(is::sumShiftRange(0, 100, first, last, gross));
    EXPECT_EQ(first, header(kShiftClose, 5, 1));
    EXPECT_EQ(last, header(kShiftClose, 15, 3));
    EXPECT_EQ(gross.shiftField, 3);
    EXPECT_EQ(gross.cashInCount, 6);
    EXPECT_EQ(gross.operations[0].count, 6u);
}

TEST_F(InternalStorage, WithoutAShiftCloseTheFirstRecordIsTheLastShiftCloseHeader) {
    // Callers tell the two apart by the type of what they get.
    append(header(kRegistration, 1, 0), CounterSet{});
    append(header(kArchiveClose, 2, 0), CounterSet{});
    append(header(kRegistration, 3, 0), CounterSet{});
    DocDescriptor h = header(kShiftClose, 9, 9);
    ASSERT_TRUE(is::lastShiftCloseHeader(h));
    EXPECT_EQ(h, header(kRegistration, 1, 0));

    appendShift(4, 1);
    append(header(kArchiveClose, 5, 1), shiftCounters(1));
    ASSERT_TRUE(is::lastShiftCloseHeader(h));
    EXPECT_EQ(h, header(kShiftClose, 4, 1));
}

TEST_F(InternalStorage, ShiftRangeAndPeriodBounds) {
    append(header(kRegistration, 1, 0), CounterSet{});
    for (std::uint16_t s = 1; s <= 4; ++s) appendShift(10u * s, s);

    DocDescriptor first, last;
    GrossCounterSet sum;
    ASSERT_TRUE(is::sumShiftRange(2, 3, first, last, sum));
    EXPECT_EQ(first.number, 20u);
    EXPECT_EQ(last.number, 30u);
    EXPECT_EQ(sum.shiftField, 2);
    EXPECT_EQ(sum.receiptCount, 50u);

    ASSERT_TRUE(is::sumShiftRange(4, 4, first, last, sum));
    EXPECT_EQ(first, last);
    EXPECT_EQ(sum.receiptCount, 40u);

    // Bounds on dates, inclusive on both sides.
    ASSERT_TRUE(is::sumPeriod(header(kShiftClose, 10, 1).dateTime,
                              header(kShiftClose, 30, 3).dateTime, first, last, sum));
    EXPECT_EQ(first.number, 10u);
    EXPECT_EQ(last.number, 30u);
    EXPECT_EQ(sum.receiptCount, 60u);

    // Nothing at or above the lower bound: false, sum zero, headers untouched.
    const DocDescriptor marker = header(7, 77, 77);
    first = last = marker;
    sum.receiptCount = 1;
    EXPECT_FALSE(is::sumShiftRange(5, 9, first, last, sum));
    EXPECT_EQ(sum, GrossCounterSet{});
    EXPECT_EQ(first, marker);
    EXPECT_EQ(last, marker);
}

TEST_F(InternalStorage, TornTailIsIgnoredAndReplaced) {
    append(header(kRegistration, 1, 0), CounterSet{});
    appendShift(5, 1);
    appendShift(9, 2);
    {
        // A power cut in the middle of the next append.
        std::ofstream out(storageFile(), std::ios::binary | std::ios::app);
        Bytes torn = header(kShiftClose, 13, 3).encode();
        torn.resize(100, 0xAB);
        out.write(reinterpret_cast<const char*>(torn.data()),
                  static_cast<std::streamsize>(torn.size()));
    }
    ASSERT_EQ(fileSize(), 3 * 470u + 100u);

    EXPECT_EQ(is::lastRecordNumber(), 9u);
    CounterSet totals;
    ASSERT_TRUE(is::sumSinceRegistration(totals));
    EXPECT_EQ(totals.shiftField, 2);
    EXPECT_EQ(totals.receiptCount, 30u);
    // The drawer as it stood at the last record, not a sum of balances.
    EXPECT_EQ(totals.cashInDrawer, 2000u);
    GrossCounterSet gross;
    ASSERT_TRUE(is::sumGross(gross));
    EXPECT_EQ(gross.receiptCount, 30u);
    DocDescriptor h;
    ASSERT_TRUE(is::lastShiftCloseHeader(h));
    EXPECT_EQ(h.number, 9u);
    DocDescriptor first, last;
    ASSERT_TRUE(is::sumShiftRange(0, 0xFFFF, first, last, gross));
    EXPECT_EQ(last.number, 9u);

    // The next append overwrites the torn bytes.
    appendShift(13, 3);
    EXPECT_EQ(fileSize(), 4 * 470u);
    EXPECT_EQ(is::lastRecordNumber(), 13u);
    ASSERT_TRUE(is::sumShiftRange(3, 3, first, last, gross));
    EXPECT_EQ(first, header(kShiftClose, 13, 3));
    EXPECT_EQ(gross.receiptCount, 30u);
    EXPECT_EQ(gross.operations[3].byPayment[1], 21u);
}

TEST_F(InternalStorage, LockAndRemoval) {
    EXPECT_FALSE(is::lockExists());
    EXPECT_TRUE(is::removeLock());  // nothing to remove is no failure
    ASSERT_TRUE(is::createLock());
    EXPECT_TRUE(is::lockExists());
    EXPECT_EQ(std::filesystem::file_size(temp.file(is::kLockPath)), 0u);
    EXPECT_TRUE(is::createLock());
    EXPECT_TRUE(is::removeLock());
    EXPECT_FALSE(is::lockExists());

    appendShift(5, 1);
    ASSERT_TRUE(is::storageExists());
    EXPECT_TRUE(is::removeStorage());
    EXPECT_FALSE(is::storageExists());
    EXPECT_EQ(is::lastRecordNumber(), 0u);

    // Whatever stands at the path goes, as with rm -rf.
    std::filesystem::create_directories(storageFile() + "/inner");
    EXPECT_TRUE(is::storageExists());
    EXPECT_FALSE(is::appendRecord(header(kRegistration, 1, 0), nullptr));
    EXPECT_TRUE(is::removeStorage());
    EXPECT_FALSE(is::storageExists());
}

}  // namespace
