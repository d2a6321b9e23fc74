// Counter records inside stored documents: what is written, and what a
// reader of the archive gets back.

#include "documents/counter_tlv.h"

#include <gtest/gtest.h>

#include <vector>

#include "encoding/tags.h"

namespace {

// Every field distinct, so a value read into the wrong field shows.
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
        o.kind = static_cast<std::uint8_t>(9 - k);  // not yet its index
        o.count = static_cast<std::uint32_t>(10 + k);
        o.total = 1000 * (k + 1);
        for (std::size_t i = 0; i < 5; ++i) {
            o.byPayment[i] = 100 * (k + 1) + i;
            o.byTax[i] = 10 * (k + 1) + i + 1;
        }
    }
    return c;
}

GrossCounterSet sampleGross() {
    GrossCounterSet g;
    g.shiftField = 31;
    g.cashInCount = 4;
    g.cashOutCount = 5;
    g.cashInAmount = 123'456;
    g.cashOutAmount = 0xFFFFFFFFFFFFFFFFull;  // keeps all 8 bytes
    g.receiptCount = 0x01020304;
    for (std::size_t k = 0; k < kOperationKinds; ++k) {
        GrossOperationTotals& o = g.operations[k];
        o.count = static_cast<std::uint32_t>(k * 3);  // kind 0 counts nothing
        o.total = 5000 * (k + 1);
        o.byPayment = {300 * k, 200 * k, 7, 8, 9};
    }
    return g;
}

std::vector<std::uint16_t> tagsOf(const std::vector<Tlv>& values) {
    std::vector<std::uint16_t> result;
    for (const Tlv& v : values) result.push_back(v.tag);
    return result;
}

TEST(CounterTlv, AShiftsCountersComeBackFromItsClosingDocument) {
    CounterSet counters = sampleCounters();
    const Tlv container = countersToTlv(tags::kShiftCounters, counters);
    EXPECT_EQ(container.tag, tags::kShiftCounters);
    for (std::size_t k = 0; k < kOperationKinds; ++k) EXPECT_EQ(counters.operations[k].kind, k);

    CounterSet read;
    tlvToCounters(container, read);
    CounterSet expected = counters;
    for (OperationTotals& o : expected.operations)
        o.byPayment[2] = o.byPayment[3] = o.byPayment[4] = 0;
    EXPECT_EQ(read, expected);

    EXPECT_EQ(
        tagsOf(decodeList(container)),
        (std::vector<std::uint16_t>{tags::kShiftNumber, tags::kCashInCount, tags::kCashOutCount,
                                    tags::kCashInAmount, tags::kCashOutAmount, tags::kCount,
                                    tags::kCashAmount, tags::kSaleCounters, tags::kPurchaseCounters,
                                    tags::kReturnOfSaleCounters, tags::kReturnOfPurchaseCounters}));
    const Tlv purchase = decodeList(container)[8];
    EXPECT_EQ(
        tagsOf(decodeList(purchase)),
        (std::vector<std::uint16_t>{tags::kCount, tags::kCountersTotal, tags::kCashAmount,
                                    tags::kNonCashAmount, 13110, 13111, 13112, 13113, 13114}));
}

TEST(CounterTlv, AKindWithoutReceiptsHoldsOnlyItsCount) {
    CounterSet counters;
    counters.operations[1].total = 500;  // not written while the count is 0
    counters.operations[2].count = 1;
    counters.operations[2].total = 700;
    counters.operations[2].byPayment[1] = 700;
    counters.operations[2].byTax[3] = 50;
    const std::vector<Tlv> children = decodeList(countersToTlv(tags::kShiftCounters, counters));
    ASSERT_EQ(children.size(), 11u);

    // Everything at the top is written, zeros included.
    for (std::size_t i = 0; i < 7; ++i) EXPECT_FALSE(children[i].data.empty()) << i;
    const std::vector<Tlv> purchase = decodeList(children[8]);
    ASSERT_EQ(purchase.size(), 1u);
    EXPECT_EQ(purchase[0].tag, tags::kCount);
    EXPECT_EQ(purchase[0].data, (Bytes{0, 0, 0, 0}));

    // Zero cash and zero tax sums are left out of a kind that counts.
    EXPECT_EQ(tagsOf(decodeList(children[9])),
              (std::vector<std::uint16_t>{tags::kCount, tags::kCountersTotal, tags::kNonCashAmount,
                                          13113}));

    CounterSet read;
    tlvToCounters(countersToTlv(tags::kShiftCounters, counters), read);
    EXPECT_EQ(read.operations[1].total, 0u);
    EXPECT_EQ(read.operations[2], counters.operations[2]);
}

TEST(CounterTlv, LifetimeTotalsHaveNoDrawerAndNoTaxes) {
    GrossCounterSet gross = sampleGross();
    const Tlv container = countersToTlv(gross);
    EXPECT_EQ(container.tag, tags::kGrossCounters);
    const std::vector<Tlv> children = decodeList(container);
    ASSERT_EQ(children.size(), 10u);
    EXPECT_EQ(children[6].tag, tags::kSaleCounters);

    GrossCounterSet read;
    tlvToCounters(container, read);
    GrossCounterSet expected = gross;
    for (GrossOperationTotals& o : expected.operations) {
        o.byPayment[2] = o.byPayment[3] = o.byPayment[4] = 0;
        if (o.count == 0) o.total = 0;
    }
    EXPECT_EQ(read, expected);
}

TEST(CounterTlv, ValuesARecordCannotHoldAreReportedAndSkipped) {
    // A lifetime container that carries a drawer and a tax sum.
    const Tlv sale = Tlv().setContainer(tags::kSaleCounters,
                                        {Tlv().setU32(tags::kCount, 2), Tlv().setVarInt(13110, 99),
                                         Tlv().setVarInt(tags::kCountersTotal, 400)});
    const Tlv container = Tlv().setContainer(
        tags::kGrossCounters,
        {Tlv().setU16(tags::kShiftNumber, 5), Tlv().setVarInt(tags::kCashAmount, 1500), sale});
    GrossCounterSet read;
    testing::internal::CaptureStdout();
    tlvToCounters(container, read);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "tlvToCounters UNKNOWN TAG 11136\ntlvToCounters UNKNOWN TAG 13110\n");
    GrossCounterSet expected;
    expected.shiftField = 5;
    expected.operations[0].count = 2;
    expected.operations[0].total = 400;
    EXPECT_EQ(read, expected);
}

TEST(CounterTlv, EachKindContainerFillsItsOwnEntry) {
    CounterSet read;
    read.operations[2].kind = 9;
    tlvToCounters(Tlv().setContainer(tags::kShiftCounters,
                                     {Tlv().setContainer(tags::kReturnOfSaleCounters,
                                                         {Tlv().setU32(tags::kCount, 3)})}),
                  read);
    EXPECT_EQ(read.operations[2].kind, 2);
    EXPECT_EQ(read.operations[2].count, 3u);
    EXPECT_EQ(read.operations[1].count, 0u);
    EXPECT_EQ(read.operations[3].count, 0u);

    tlvToCounters(Tlv().setContainer(
                      tags::kShiftCounters,
                      {Tlv().setContainer(tags::kSaleCounters, {Tlv().setU32(tags::kCount, 8)})}),
                  read);
    EXPECT_EQ(read.operations[0].kind, 0);
    EXPECT_EQ(read.operations[0].count, 8u);
}

TEST(CounterTlv, DamagedValuesReadAsZeroAndDamagedBytesEndTheReading) {
    // Counts of the wrong width read as 0; amounts longer than 8 bytes
    // keep their first 8.
    Tlv shift = Tlv().setU32(tags::kShiftNumber, 5);
    Tlv drawer;
    drawer.tag = tags::kCashAmount;
    drawer.data = {0x10, 0x27, 0, 0, 0, 0, 0, 0, 0xAA};
    Tlv container = Tlv().setContainer(
        tags::kRegistrationPeriodCounters,
        {shift, drawer, Tlv().setU16(tags::kCount, 4), Tlv().setU16(tags::kCashInCount, 6)});
    // Bytes at the end that are not a whole value.
    container.data.insert(container.data.end(), {0x01, 0x2F, 0x09});

    CounterSet read;
    read.shiftField = 77;
    tlvToCounters(container, read);
    EXPECT_EQ(read.shiftField, 0);
    EXPECT_EQ(read.cashInDrawer, 10'000u);
    EXPECT_EQ(read.receiptCount, 0u);
    EXPECT_EQ(read.cashInCount, 6);

    // A container whose bytes are no values at all leaves the record as it was.
    Tlv garbage;
    garbage.tag = tags::kShiftCounters;
    garbage.data = {0x01, 0x02};
    CounterSet untouched = sampleCounters();
    const CounterSet before = untouched;
    tlvToCounters(garbage, untouched);
    EXPECT_EQ(untouched, before);
}

}  // namespace
