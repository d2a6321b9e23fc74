#include "storage/records.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/crc.h"

namespace {

DocDescriptor sampleHeader() {
    DocDescriptor d;
    d.type = 2;
    d.number = 0x11223344;
    d.dateTime = 0x55667788;
    d.shiftNumber = 0x99AA;
    d.fiscalSign = 0xBBCCDDEE;
    d.cashierNumber = 0x14;
    d.dataLength = 0x0102;
    d.dataOffset = 0x0A0B0C0D0E0F1011ull;
    d.dataCrc = 0x2122;
    d.registrationNumber = 0x31323334;
    d.headerCrc = 0x4142;
    return d;
}

// Every field distinct, so a field at a wrong offset shows.
CounterSet sampleCounters() {
    CounterSet c;
    c.shiftField = 7;
    c.cashInCount = 2;
    c.cashOutCount = 3;
    c.cashInAmount = 10'000;
    c.cashOutAmount = 2'500;
    c.receiptCount = 40;
    c.cashInDrawer = 0x0102030405060708ull;
    for (std::size_t k = 0; k < kOperationKinds; ++k) {
        OperationTotals& o = c.operations[k];
        o.kind = static_cast<std::uint8_t>(k);
        o.count = static_cast<std::uint32_t>(10 + k);
        o.total = 1000 * (k + 1);
        for (std::size_t i = 0; i < 5; ++i) {
            o.byPayment[i] = 100 * (k + 1) + i;
            o.byTax[i] = 10 * (k + 1) + i;
        }
    }
    return c;
}

TEST(Records, DocDescriptorLayout) {
    DocDescriptor d = sampleHeader();
    Bytes b = d.encode();
    ASSERT_EQ(b.size(), 64u);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(le::u32(&b[1]), 0x11223344u);
    EXPECT_EQ(le::u32(&b[5]), 0x55667788u);
    EXPECT_EQ(le::u16(&b[9]), 0x99AA);
    EXPECT_EQ(le::u32(&b[11]), 0xBBCCDDEEu);
    EXPECT_EQ(b[15], 0x14);
    EXPECT_EQ(le::u16(&b[16]), 0x0102);
    EXPECT_EQ(le::u64(&b[18]), 0x0A0B0C0D0E0F1011ull);
    EXPECT_EQ(le::u16(&b[26]), 0x2122);
    EXPECT_EQ(le::u32(&b[28]), 0x31323334u);
    EXPECT_EQ(le::u16(&b[38]), 0x4142);
    for (std::size_t i = 32; i < 38; ++i) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 40; i < 64; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(DocDescriptor::decode(b.data()), d);
}

TEST(Records, HeaderCrcLeavesOutTheRegistrationNumber) {
    DocDescriptor d = sampleHeader();
    Bytes b = d.encode();
    for (std::size_t i = 28; i < 32; ++i) b[i] = 0;
    EXPECT_EQ(d.computeHeaderCrc(), crc::crc16(b.data(), 38));

    DocDescriptor renumbered = d;
    renumbered.registrationNumber = 1;
    EXPECT_EQ(renumbered.computeHeaderCrc(), d.computeHeaderCrc());
    DocDescriptor other = d;
    other.number += 1;
    EXPECT_NE(other.computeHeaderCrc(), d.computeHeaderCrc());
    // The stored check sum itself is not covered.
    other = d;
    other.headerCrc = 0;
    EXPECT_EQ(other.computeHeaderCrc(), d.computeHeaderCrc());
}

TEST(Records, CounterSetLayout) {
    CounterSet c = sampleCounters();
    Bytes b = c.encode();
    ASSERT_EQ(b.size(), 406u);
    EXPECT_EQ(le::u16(&b[0]), 7);
    EXPECT_EQ(le::u16(&b[2]), 2);
    EXPECT_EQ(le::u16(&b[4]), 3);
    EXPECT_EQ(le::u64(&b[6]), 10'000u);
    EXPECT_EQ(le::u64(&b[14]), 2'500u);
    EXPECT_EQ(le::u32(&b[22]), 40u);
    EXPECT_EQ(le::u64(&b[26]), 0x0102030405060708ull);
    const std::size_t purchase = 34 + 93;
    EXPECT_EQ(b[purchase], 1);
    EXPECT_EQ(le::u32(&b[purchase + 1]), 11u);
    EXPECT_EQ(le::u64(&b[purchase + 5]), 2000u);
    EXPECT_EQ(le::u64(&b[purchase + 13 + 8]), 201u);  // non-cash
    const std::size_t lastTax = 34 + 3 * 93 + 53 + 4 * 8;
    EXPECT_EQ(le::u64(&b[lastTax]), 44u);
    EXPECT_EQ(lastTax + 8, 406u);
    EXPECT_EQ(CounterSet::decode(b.data()), c);
}

TEST(Records, GrossCounterSetLayout) {
    GrossCounterSet g;
    g.shiftField = 9;
    g.receiptCount = 0xA1B2C3D4;
    g.operations[3].kind = 3;
    g.operations[3].count = 77;
    g.operations[3].byPayment[4] = 0x1122334455667788ull;
    Bytes b = g.encode();
    ASSERT_EQ(b.size(), 238u);
    EXPECT_EQ(le::u16(&b[0]), 9);
    EXPECT_EQ(le::u32(&b[22]), 0xA1B2C3D4u);
    const std::size_t returnOfPurchase = 26 + 3 * 53;
    EXPECT_EQ(b[returnOfPurchase], 3);
    EXPECT_EQ(le::u32(&b[returnOfPurchase + 1]), 77u);
    EXPECT_EQ(le::u64(&b[returnOfPurchase + 13 + 32]), 0x1122334455667788ull);
    EXPECT_EQ(GrossCounterSet::decode(b.data()), g);
}

TEST(Records, DepartmentTotalsLayout) {
    DepartmentTotals t;
    t.amounts[0] = 5;
    t.amounts[19] = 0xFFEEDDCCBBAA9988ull;
    Bytes b = t.encode();
    ASSERT_EQ(b.size(), 160u);
    EXPECT_EQ(le::u64(&b[0]), 5u);
    EXPECT_EQ(le::u64(&b[152]), 0xFFEEDDCCBBAA9988ull);
    EXPECT_EQ(DepartmentTotals::decode(b.data()), t);
}

TEST(Records, SummingCountsRecordsAndKeepsTheDrawer) {
    CounterSet record = sampleCounters();
    CounterSet acc;
    acc.cashInDrawer = 123;
    sumInto(acc, record);
    sumInto(acc, record);
    EXPECT_EQ(acc.shiftField, 2);  // records summed, not the records' own fields
    EXPECT_EQ(acc.cashInCount, 4);
    EXPECT_EQ(acc.cashOutAmount, 5'000u);
    EXPECT_EQ(acc.receiptCount, 80u);
    EXPECT_EQ(acc.cashInDrawer, 123u);
    for (std::size_t k = 0; k < kOperationKinds; ++k) {
        EXPECT_EQ(acc.operations[k].kind, k);
        EXPECT_EQ(acc.operations[k].count, 2 * (10 + k));
        EXPECT_EQ(acc.operations[k].byPayment[1], 2 * (100 * (k + 1) + 1));
        EXPECT_EQ(acc.operations[k].byTax[4], 2 * (10 * (k + 1) + 4));
    }

    GrossCounterSet gross;
    record.operations[2].kind = 9;  // a stray kind byte is put right
    sumInto(gross, record);
    EXPECT_EQ(gross.shiftField, 1);
    EXPECT_EQ(gross.cashInAmount, 10'000u);
    EXPECT_EQ(gross.operations[2].kind, 2);
    EXPECT_EQ(gross.operations[2].total, 3000u);
    EXPECT_EQ(gross.operations[2].byPayment[0], 300u);
}

TEST(Records, SumsWrapAtTheFieldWidth) {
    // Like the stored counters, a sum keeps the low bits of each field: a
    // 16-bit count of 40 000 + 40 000 reads 14 464, not the largest value.
    CounterSet record;
    record.cashInCount = 40'000;
    record.receiptCount = 3'000'000'000u;
    record.operations[0].total = std::numeric_limits<std::uint64_t>::max() - 1;
    record.operations[1].byTax[2] = 1ull << 63;
    CounterSet acc;
    acc.shiftField = 0xFFFF;
    sumInto(acc, record);
    sumInto(acc, record);
    EXPECT_EQ(acc.shiftField, 1);
    EXPECT_EQ(acc.cashInCount, 14'464);
    EXPECT_EQ(acc.receiptCount, 1'705'032'704u);
    EXPECT_EQ(acc.operations[0].total, std::numeric_limits<std::uint64_t>::max() - 3);
    EXPECT_EQ(acc.operations[1].byTax[2], 0u);

    GrossCounterSet gross;
    gross.cashOutCount = 0xFFFF;
    record.cashOutCount = 2;
    sumInto(gross, record);
    EXPECT_EQ(gross.cashOutCount, 1);
}

}  // namespace
