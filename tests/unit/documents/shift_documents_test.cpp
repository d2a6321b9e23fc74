// Opening and closing a shift: the shift numbers, the drawer's cash, the
// counters the Z report carries, and their way through the archive.

#include <gtest/gtest.h>

#include "documents/close_cycle_doc.h"
#include "documents/cycle_open_document.h"
#include "encoding/tags.h"
#include "state/status.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

constexpr std::uint32_t kNow = 1'700'000'000;

Tlv storedValue(const Bytes& data, std::uint16_t tag) {
    std::span<const std::uint8_t> rest(data.data() + 1, data.size() - 1);
    Tlv value;
    while (!rest.empty() && value.decodeFront(rest))
        if (value.tag == tag) return value;
    return Tlv();
}

TEST(ShiftOpen, TheFirstShiftOfADeviceIsShiftOne) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(0);
    CycleOpenDocument doc(&d.model, &d.registration, d.cashier);
    ASSERT_EQ(doc.applyOpenData(Bytes{}), ResultCode::Success);
    EXPECT_EQ(doc.shiftNumber(), 1);
    // "СМЕНА", the number at the right margin of the 44 characters.
    EXPECT_NE(doc.printHeader().find("\n" + cp("СМЕНА") + std::string(38, ' ') + "1\n"),
              std::string::npos);

    // Close data is not looked at.
    std::uint16_t missing = 0;
    ASSERT_EQ(doc.close(kNow, d.key, Bytes{0xDE, 0xAD}, missing), ResultCode::Success);
    sample::Stored stored = sample::storeAndRebuild(doc, d, 10, 1);
    ASSERT_EQ(stored.preparation, Preparation::ready);
    EXPECT_EQ(storedValue(stored.prepared.parts[0], tags::kShiftNumber).getU16(), 1);
    EXPECT_EQ(stored.prepared.header.shiftNumber, 1);

    const Bytes reply = doc.closeReply();
    ASSERT_EQ(reply.size(), 14u);
    EXPECT_EQ(le::u32(&reply[0]), 10u);
    EXPECT_EQ(le::u16(&reply[12]), 1);
}

TEST(ShiftOpen, AShiftClosedWhileTheOpeningWasPendingIsCounted) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(6);
    CycleOpenDocument doc(&d.model, &d.registration, d.cashier);
    ASSERT_EQ(doc.applyOpenData(Bytes{}), ResultCode::Success);
    EXPECT_EQ(doc.shiftNumber(), 7);

    FrStatus::status().setShiftNumber(7);
    std::uint16_t missing = 0;
    ASSERT_EQ(doc.close(kNow, d.key, Bytes{}, missing), ResultCode::Success);
    EXPECT_EQ(doc.shiftNumber(), 8);
}

TEST(ShiftOpen, TheDrawersCashIsPrintedAgainFromTheArchive) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(2);
    FrStatus::status().setCashInDrawer(150'000);
    CycleOpenDocument doc(&d.model, &d.registration, d.cashier);
    ASSERT_EQ(doc.applyOpenData(Bytes{}), ResultCode::Success);
    std::uint16_t missing = 0;
    ASSERT_EQ(doc.close(kNow, d.key, Bytes{}, missing), ResultCode::Success);
    const std::string header = doc.printHeader();
    EXPECT_NE(header.find(cp("НАЛ. В КАССЕ")), std::string::npos);
    EXPECT_NE(header.find("1500.00\n"), std::string::npos);

    sample::Stored stored = sample::storeAndRebuild(doc, d, 11, 1);
    ASSERT_TRUE(stored.rebuilt);
    FrStatus::status().setCashInDrawer(0);  // the drawer moved on since
    auto& rebuilt = dynamic_cast<CycleOpenDocument&>(*stored.rebuilt);
    EXPECT_EQ(rebuilt.openingCash().value(), 150'000);
    EXPECT_EQ(rebuilt.shiftNumber(), 3);
    EXPECT_EQ(rebuilt.printHeader(), header);
    EXPECT_EQ(rebuilt.printFooter(true), doc.printFooter(true));
    EXPECT_EQ(rebuilt.toTlv(), stored.prepared.parts[0]);
    EXPECT_TRUE(rebuilt.verifySign(d.key, d.model.serialText()));

    // The clone carries the cash too.
    auto clone = doc.clone();
    EXPECT_EQ(dynamic_cast<CycleOpenDocument&>(*clone).openingCash().value(), 150'000);
}

TEST(ShiftDocuments, OpenAndCloseSignTheShiftAndTheNumberInTheirOwnOrder) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(0x0102);
    CycleOpenDocument open(&d.model, &d.registration, d.cashier);
    CloseCycleDoc close(&d.model, &d.registration, d.cashier);
    std::uint16_t missing = 0;
    ASSERT_EQ(open.close(0x0A0B0C0D, d.key, Bytes{}, missing), ResultCode::Success);
    ASSERT_EQ(close.close(0x0A0B0C0D, d.key, Bytes{}, missing), ResultCode::Success);
    PreparedDocument out;
    ASSERT_EQ(open.prepareForStorage(0x11121314, 1, d.key, 0, out), Preparation::ready);
    ASSERT_EQ(close.prepareForStorage(0x11121314, 1, d.key, 0, out), Preparation::ready);

    auto afterCheckValue = [&](const Bytes& rest) {
        Bytes bytes;
        le::put32(bytes, d.registration.checkValue());
        le::putBytes(bytes, rest);
        return bytes;
    };
    EXPECT_EQ(open.signData(),
              afterCheckValue({0x03, 0x01, 0x14, 0x13, 0x12, 0x11, 0x0D, 0x0C, 0x0B, 0x0A}));
    EXPECT_EQ(close.signData(),
              afterCheckValue({0x14, 0x13, 0x12, 0x11, 0x02, 0x01, 0x0D, 0x0C, 0x0B, 0x0A}));
}

TEST(ShiftClose, TheZReportCarriesTheShiftsCountersIntoTheArchive) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(9);
    CloseCycleDoc doc(&d.model, &d.registration, d.cashier);
    ASSERT_EQ(doc.applyOpenData(Bytes{}), ResultCode::Success);
    EXPECT_EQ(doc.title(), cp("Z-Отчет"));
    std::uint16_t missing = 0;
    ASSERT_EQ(doc.close(kNow, d.key, Bytes{1, 2, 3}, missing), ResultCode::Success);
    EXPECT_EQ(doc.shiftNumber(), 9);
    EXPECT_EQ(doc.carriedCounters(), nullptr);

    CounterSet counters;
    counters.shiftField = 9;
    counters.receiptCount = 12;
    counters.cashInDrawer = 99'000;
    counters.operations[0].count = 12;
    counters.operations[0].total = 120'000;
    counters.operations[0].byPayment[0] = 120'000;
    counters.operations[0].byTax[0] = 20'000;
    doc.attachShiftCounters(counters);
    ASSERT_NE(doc.carriedCounters(), nullptr);

    sample::Stored stored = sample::storeAndRebuild(doc, d, 30, 1);
    ASSERT_TRUE(stored.rebuilt);
    auto& rebuilt = dynamic_cast<CloseCycleDoc&>(*stored.rebuilt);
    ASSERT_NE(rebuilt.shiftCounters(), nullptr);
    counters.operations[1].kind = 1;
    counters.operations[2].kind = 2;
    counters.operations[3].kind = 3;
    EXPECT_EQ(*rebuilt.shiftCounters(), counters);
    EXPECT_EQ(rebuilt.toTlv(), stored.prepared.parts[0]);
    EXPECT_EQ(rebuilt.printHeader(), doc.printHeader());
    EXPECT_TRUE(rebuilt.verifySign(d.key, d.model.serialText()));
    EXPECT_EQ(rebuilt.closeReply(), doc.closeReply());

    // A clone is for printing the document, not its counters.
    EXPECT_EQ(dynamic_cast<CloseCycleDoc&>(*doc.clone()).shiftCounters(), nullptr);
}

TEST(ShiftClose, AZReportWithoutCountersIsStoredWithoutThem) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(4);
    CloseCycleDoc doc(&d.model, &d.registration, d.cashier);
    std::uint16_t missing = 0;
    ASSERT_EQ(doc.close(kNow, d.key, Bytes{}, missing), ResultCode::Success);
    sample::Stored stored = sample::storeAndRebuild(doc, d, 31, 1);
    ASSERT_TRUE(stored.rebuilt);
    EXPECT_EQ(storedValue(stored.prepared.parts[0], tags::kShiftCounters).tag, 0);
    EXPECT_EQ(dynamic_cast<CloseCycleDoc&>(*stored.rebuilt).shiftCounters(), nullptr);
}

TEST(ShiftDocuments, NeitherClosesWithoutACashierName) {
    sample::Device d = sample::device();
    d.cashier.name.clear();
    CycleOpenDocument open(&d.model, &d.registration, d.cashier);
    CloseCycleDoc close(&d.model, &d.registration, d.cashier);
    std::uint16_t missing = 0;
    EXPECT_EQ(open.close(kNow, d.key, Bytes{}, missing), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kCashierName);
    missing = 0;
    EXPECT_EQ(close.close(kNow, d.key, Bytes{}, missing), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kCashierName);
}

}  // namespace
