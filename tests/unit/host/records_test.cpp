// The records the register sends and takes, read and written by the host
// kit byte by byte: reference records, state and identity, counters.

#include "host/records.h"

#include <gtest/gtest.h>

#include "host/counters.h"
#include "host/identity.h"

namespace {

using namespace hostkit;

TEST(HostRecords, TheServiceCashierAsTheRegisterStoresIt) {
    // Number 20, every right, password 271828, name ЦТО, zero padding.
    const Bytes record = encodeCashier({20, kAllRights, 271828, "ЦТО"});
    ASSERT_EQ(record.size(), 263u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 10),
              (Bytes{0x14, 0xFF, 0x03, 0xD4, 0x25, 0x04, 0x00, 0x96, 0x92, 0x8E}));
    EXPECT_EQ(record[10], 0);
    EXPECT_EQ(record[262], 0);
    auto back = decodeCashier(record);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->name, "ЦТО");
    EXPECT_EQ(back->password, 271828u);
    EXPECT_FALSE(decodeCashier(Bytes(262, 0)).has_value());
}

TEST(HostRecords, SectionsAndDiscountsKeepTheirFields) {
    const Bytes section = encodeSection({3, "Бакалея"});
    ASSERT_EQ(section.size(), 128u);
    EXPECT_EQ(section[0], 3);
    EXPECT_EQ(section[1], 0x81) << "Б in CP866";
    EXPECT_EQ(decodeSection(section)->name, "Бакалея");

    // 10.00 % named Клуб: kind 1, value 1000 at byte 2, name at byte 10.
    const Bytes discount = encodeDiscount({2, DiscountKind::Percent, 1000, "Клуб"});
    ASSERT_EQ(discount.size(), 138u);
    EXPECT_EQ(discount[1], 1);
    EXPECT_EQ(le::u64(&discount[2]), 1000u);
    EXPECT_EQ(discount[10], 0x8A) << "К in CP866";
    EXPECT_EQ(discount[137], 0);
    auto back = decodeDiscount(discount);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->kind, DiscountKind::Percent);
    EXPECT_EQ(back->value, 1000);
    EXPECT_EQ(back->name, "Клуб");
}

TEST(HostRecords, DeviceStatusAndShiftState) {
    // Command 48: the factory number, then flags 0x1019 (printer offline,
    // shift open, archive mounted and ready), format 50, shift 4, document
    // 17 at 1700000000, 2 receipts, a receipt open, 249000 places.
    Bytes data = toBytes("0123456789");
    le::put16(data, 0x1019);
    data.push_back(1);
    data.push_back(50);
    le::put16(data, 4);
    le::put32(data, 17);
    le::put32(data, 1700000000);
    le::put16(data, 2);
    data.push_back(3);
    le::put32(data, 249000);
    auto s = decodeDeviceStatus(data);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->factoryNumber, "0123456789");
    EXPECT_EQ(s->statusFormat, 50);
    EXPECT_EQ(s->shiftNumber, 4);
    EXPECT_EQ(s->lastDocumentTime, 1700000000u);
    EXPECT_EQ(s->openDocumentType, 3);
    EXPECT_EQ(s->freeDocumentPlaces, 249000u);
    EXPECT_EQ(deviceFlagNames(s->flags),
              (std::vector<std::string>{"archiveMounted", "shiftOpen", "archiveReady",
                                        "printerOffline"}));
    EXPECT_FALSE(decodeDeviceStatus(Bytes(20, 0)).has_value());

    // Command 16: 29 bytes, the cash in the drawer last.
    Bytes shift{1};
    le::put16(shift, 4);
    le::put16(shift, 2);
    le::put32(shift, 15);
    le::put32(shift, 1699990000);
    le::put32(shift, 17);
    le::put32(shift, 0);
    le::put64(shift, 150000);
    auto st = decodeShiftState(shift);
    ASSERT_TRUE(st.has_value());
    EXPECT_TRUE(st->open);
    EXPECT_EQ(st->openDocumentNumber, 15u);
    EXPECT_EQ(st->closeDocumentNumber, 17u);
    EXPECT_EQ(st->cashInDrawer, 150000);

    auto model = decodeModel(Bytes{0x13, 0x82, '0',  '1',  '2',  '3', '4', '5', '6', '7', '8',
                                   '9',  0x8E, 0x8A, 0x92, 0x80, 0,   0,   0,   0,   0,   0,
                                   0,    0,    0,    0,    0,    0,   0,   0,   0,   0,   0,
                                   0,    0,    0,    0,    0,    0,   0,   0,   0,   0,   0});
    ASSERT_TRUE(model.has_value());
    EXPECT_EQ(model->modelCode, 0x8213);
    EXPECT_EQ(model->factoryNumber, "0123456789");
    EXPECT_EQ(model->modelName, "ОКТА");
}

TEST(HostRecords, CounterSetsAtTheirOffsets) {
    // Shift counters: the head, then four 93-byte entries from byte 34.
    Bytes set(kCounterSetSize, 0);
    le::store16(&set[0], 4);
    le::store16(&set[2], 1);
    le::store64(&set[6], 50000);
    le::store32(&set[22], 9);
    le::store64(&set[26], 123456);
    const std::size_t returnOfSale = 34 + 2 * 93;
    set[returnOfSale] = 2;
    le::store32(&set[returnOfSale + 1], 1);
    le::store64(&set[returnOfSale + 5], 4550);
    le::store64(&set[returnOfSale + 13 + 8], 4550);     // non-cash
    le::store64(&set[returnOfSale + 53 + 4 * 8], 758);  // tax number 5
    auto c = decodeCounterSet(set);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->shiftField, 4);
    EXPECT_EQ(c->cashInCount, 1);
    EXPECT_EQ(c->cashInAmount, 50000);
    EXPECT_EQ(c->receiptCount, 9u);
    EXPECT_EQ(c->cashInDrawer, 123456);
    const OperationTotals& op = c->operations[2];
    EXPECT_EQ(op.kind, 2);
    EXPECT_EQ(op.count, 1u);
    EXPECT_EQ(op.total, 4550);
    EXPECT_EQ(op.byPayment[1], 4550);
    EXPECT_EQ(op.byTax[4], 758);
    EXPECT_FALSE(decodeCounterSet(Bytes(kGrossCounterSetSize, 0)).has_value());

    // Gross totals: no drawer, 53-byte entries from byte 26, no taxes.
    Bytes gross(kGrossCounterSetSize, 0);
    le::store16(&gross[0], 12);
    const std::size_t purchase = 26 + 53;
    gross[purchase] = 1;
    le::store32(&gross[purchase + 1], 3);
    le::store64(&gross[purchase + 13], 9900);
    le::store64(&gross[26 + 3 * 53 + 45], 77);  // last entry, last payment form
    auto g = decodeGrossCounterSet(gross);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->shiftField, 12);
    EXPECT_EQ(g->cashInDrawer, 0);
    EXPECT_EQ(g->operations[1].count, 3u);
    EXPECT_EQ(g->operations[1].byPayment[0], 9900);
    EXPECT_EQ(g->operations[3].byPayment[4], 77);

    // Department totals: block per kind, 20 amounts each.
    Bytes departments(kDepartmentTotalsSize, 0);
    le::store64(&departments[160 + 4 * 8], 2500);  // purchase, department 5
    le::store64(&departments[639 - 7], 1);         // return of purchase, department 20
    auto d = decodeDepartmentTotals(departments);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ((*d)[1][4], 2500);
    EXPECT_EQ((*d)[3][19], 1);
}

}  // namespace
