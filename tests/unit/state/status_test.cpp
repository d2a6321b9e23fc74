#include "state/status.h"

#include <gtest/gtest.h>

using namespace FrStatus;

namespace {

// A device with a mounted, ready archive, an open shift and room to spare.
void makeReadyShift(Store& s, std::uint32_t openTime) {
    s.resetStatus();
    s.setFlag(archiveMounted | archiveReady | shiftOpen, true);
    s.setFreeDocumentPlaces(1000);
    s.setOpenTime(openTime);
    s.setCashInDrawer(100);
}

TEST(Status, ResetGivesFormatByteAndZeros) {
    Store s;
    s.setFlags(0xFFFF);
    s.setShiftNumber(9);
    s.setCashInDrawer(5);
    s.resetStatus();
    StatusStruct st;
    CycleStatus cy;
    s.snapshot(st, cy);
    Bytes expected(21, 0);
    expected[3] = 0x32;
    EXPECT_EQ(st.encode(), expected);
    EXPECT_EQ(cy.encode(), Bytes(24, 0));
}

TEST(Status, LayoutsPutFieldsAtTheirOffsets) {
    StatusStruct st;
    st.flags = 0x1234;
    st.registrationCount = 3;
    st.statusFormat = 50;
    st.shiftNumber = 0x0506;
    st.lastDocumentNumber = 0x0A0B0C0D;
    st.lastDocumentTime = 0x11223344;
    st.shiftReceipts = 0x0708;
    st.openDocumentType = 3;
    st.freeDocumentPlaces = 250000;
    Bytes b = st.encode();
    ASSERT_EQ(b.size(), StatusStruct::kSize);
    EXPECT_EQ(le::u16(&b[4]), 0x0506);
    EXPECT_EQ(le::u32(&b[6]), 0x0A0B0C0Du);
    EXPECT_EQ(le::u32(&b[10]), 0x11223344u);
    EXPECT_EQ(le::u16(&b[14]), 0x0708);
    EXPECT_EQ(b[16], 3);
    EXPECT_EQ(le::u32(&b[17]), 250000u);
    EXPECT_EQ(StatusStruct::decode(b.data()).encode(), b);

    CycleStatus cy{1, 2, 3, 4, 0x0102030405060708ull};
    Bytes c = cy.encode();
    ASSERT_EQ(c.size(), CycleStatus::kSize);
    EXPECT_EQ(le::u32(&c[8]), 3u);
    EXPECT_EQ(le::u64(&c[16]), 0x0102030405060708ull);
    EXPECT_EQ(CycleStatus::decode(c.data()).encode(), c);
}

TEST(Status, DeviceCheckOrder) {
    Store s;
    s.resetStatus();
    s.setFlag(foreignArchive, true);
    EXPECT_EQ(s.checkDevice(true), ResultCode::ForeignArchive) << "foreign wins over not mounted";
    s.setFlag(foreignArchive, false);
    EXPECT_EQ(s.checkDevice(false), ResultCode::NoArchiveMedium);
    s.setFlag(archiveMounted, true);
    EXPECT_EQ(s.checkDevice(false), ResultCode::ArchiveNotReady);
    s.setFlag(archiveReady | archiveClosed, true);
    EXPECT_EQ(s.checkDevice(false), ResultCode::ArchiveClosed);
    s.setFlag(archiveClosed, false);
    s.setFlag(eepromError, true);
    EXPECT_EQ(s.checkDevice(false), ResultCode::EepromError);
    s.setFlag(eepromError, false);
    s.setFlag(printerOffline | paperOut, true);
    EXPECT_EQ(s.checkDevice(false), ResultCode::Success);
    EXPECT_EQ(s.checkDevice(true), ResultCode::PrinterOffline);
    s.setFlag(printerOffline, false);
    EXPECT_EQ(s.checkDevice(true), ResultCode::PaperOut);
    EXPECT_TRUE(s.testFlags(paperOut | paperNearEnd));
    EXPECT_FALSE(s.testFlags(paperNearEnd));
}

TEST(Status, ReceiptCheckLimits) {
    Store s;
    const std::uint32_t opened = 1700000000;
    makeReadyShift(s, opened);
    s.setShiftReceipts(2999);
    EXPECT_EQ(s.checkDocument(receiptDoc, opened + 86400), ResultCode::Success);
    EXPECT_EQ(s.checkDocument(receiptDoc, opened + 86401), ResultCode::ShiftTooOld);
    s.setShiftReceipts(3000);
    EXPECT_EQ(s.checkDocument(receiptDoc, opened), ResultCode::ShiftReceiptLimit);
    s.setFreeDocumentPlaces(9);
    EXPECT_EQ(s.checkDocument(receiptDoc, opened), ResultCode::NoRoomForDocuments);
    s.setFlag(shiftOpen, false);
    EXPECT_EQ(s.checkDocument(receiptDoc, opened), ResultCode::ShiftNotOpen);
}

TEST(Status, CashOutAndOtherDocumentChecks) {
    Store s;
    const std::uint32_t opened = 1700000000;
    makeReadyShift(s, opened);
    s.setFreeDocumentPlaces(4);
    EXPECT_EQ(s.checkDocument(cashOutDoc, opened), ResultCode::NoRoomForDocuments);
    s.setFreeDocumentPlaces(5);
    s.setCashInDrawer(0);
    EXPECT_EQ(s.checkDocument(cashOutDoc, opened), ResultCode::DrawerEmpty);
    EXPECT_EQ(s.checkDocument(cashInDoc, opened), ResultCode::NoRoomForDocuments);
    EXPECT_EQ(s.checkDocument(shiftOpenDoc, opened), ResultCode::ShiftOpen);
    EXPECT_EQ(s.checkDocument(registrationDoc, opened), ResultCode::ShiftOpen);
    EXPECT_EQ(s.checkDocument(archiveCloseDoc, opened), ResultCode::ShiftOpen);
    EXPECT_EQ(s.checkDocument(shiftCloseDoc, opened), ResultCode::Success);

    s.setFlag(shiftOpen, false);
    s.setFreeDocumentPlaces(10);
    s.setRegistrationCount(50);
    EXPECT_EQ(s.checkDocument(registrationDoc, opened), ResultCode::RegistrationLimit);
    s.setRegistrationCount(49);
    EXPECT_EQ(s.checkDocument(registrationDoc, opened), ResultCode::Success);
    EXPECT_EQ(s.checkDocument(shiftCloseDoc, opened), ResultCode::ShiftNotOpen);
    // The device check comes last, with the printer.
    s.setFlag(printerOffline, true);
    EXPECT_EQ(s.checkDocument(shiftOpenDoc, opened), ResultCode::PrinterOffline);
}

}  // namespace
