// The document archive on a temporary board: its file layout, the numbering
// and limits of storing, the counter bookkeeping of each document type, the
// check values of what is stored, reading back, and the start-up recovery.

#include "storage/document_archive.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "config/identity.h"
#include "platform/files.h"
#include "storage/archive_layout.h"
#include "storage/internal_storage.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"
#include "tests/unit/storage/test_document.h"

namespace {

namespace al = archive_layout;
namespace is = internal_storage;
using archive_test::TestDocument;
using Counters = DocumentArchive::Counters;

constexpr const char* kArchivePath = "/mnt/sd/V0XD24TX";

class ArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        board.addCardAndEeprom();
        identity::store().setDeviceKey(Bytes(16, 0x5A));
        ModelData model;
        model.setSerial("0000000042");
        model.sealModel(toString(Bytes(16, 0x5A)));
        identity::store().publishFactoryData(model);
    }

    DocumentArchive& archive() {
        if (!archive_)
            archive_ = std::make_unique<DocumentArchive>(kArchivePath, archive_test::testFactory());
        return *archive_;
    }
    // A fresh object on the same file: what the next start sees.
    DocumentArchive& reopen() {
        archive_.reset();
        return archive();
    }

    std::shared_ptr<TestDocument> document(std::uint8_t type,
                                           std::vector<std::size_t> parts = {40}) {
        return std::make_shared<TestDocument>(type, std::move(parts));
    }
    ResultCode store(const std::shared_ptr<TestDocument>& d) { return archive().storeDocument(d); }

    Bytes fileAt(std::uint64_t offset, std::size_t n) {
        const Bytes all = testing_support::fileBytes(board.file(kArchivePath));
        if (offset + n > all.size()) return {};
        return Bytes(all.begin() + static_cast<std::ptrdiff_t>(offset),
                     all.begin() + static_cast<std::ptrdiff_t>(offset + n));
    }
    DocDescriptor headerAt(std::uint64_t offset) {
        return DocDescriptor::decode(fileAt(offset, 64).data());
    }

    testing_support::ScopedTempBoard board;
    std::unique_ptr<DocumentArchive> archive_;
};

TEST_F(ArchiveTest, ANewArchiveIsSparseWithBothMagicsAndADatedIdentifier) {
    ASSERT_TRUE(archive().openOrCreate());
    EXPECT_EQ(std::filesystem::file_size(board.file(kArchivePath)), 16'777'220u);
    EXPECT_EQ(fileAt(0, 4), (Bytes{0x03, 0x89, 0x23, 0xF4}));
    EXPECT_EQ(fileAt(0x1000000, 4), (Bytes{0x03, 0x89, 0x23, 0xF4}));
    EXPECT_FALSE(std::filesystem::exists(board.file(std::string(kArchivePath) + ".new")));

    const std::uint32_t id = archive().readArchiveIdentifier();
    const std::time_t now = static_cast<std::time_t>(board.board().clock);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(id >> 25, static_cast<std::uint32_t>(local.tm_year + 1900 - 2000));
    EXPECT_EQ((id >> 21) & 0xF, static_cast<std::uint32_t>(local.tm_mon + 1));
    EXPECT_EQ((id >> 16) & 0x1F, static_cast<std::uint32_t>(local.tm_mday));
    EXPECT_EQ(archive().baseNumber(), 0u);
    EXPECT_EQ(archive().readRegistrationCount(), 0);

    // The first document: number base + 1, its data at the start of the data area.
    auto first = document(5);
    ASSERT_EQ(store(first), ResultCode::Success);
    const DocDescriptor slot = headerAt(8);
    EXPECT_EQ(slot.number, 1u);
    EXPECT_EQ(slot.dataOffset, 16'777'220u);
    EXPECT_EQ(headerAt(al::kLastDocumentCopy), slot);
    EXPECT_EQ(fileAt(16'777'220, 1), Bytes{5});
    EXPECT_EQ(archive().lastDocumentInfo().number, 1u);

    // The next one follows it, number and data.
    ASSERT_EQ(store(document(5, {10})), ResultCode::Success);
    EXPECT_EQ(headerAt(8 + 64).number, 2u);
    EXPECT_EQ(headerAt(8 + 64).dataOffset, 16'777'260u);

    // An existing archive passes the checks at the next start.
    EXPECT_TRUE(reopen().openOrCreate());
}

TEST_F(ArchiveTest, AReplacementCardContinuesFromTheInternalStorage) {
    DocDescriptor registration;
    registration.type = 1;
    registration.number = 1200;
    ASSERT_TRUE(is::appendRecord(registration, nullptr));
    DocDescriptor closed;
    closed.type = 2;
    closed.number = 1234;
    closed.shiftNumber = 9;
    closed.dateTime = 1'799'000'000;
    CounterSet shift;
    shift.receiptCount = 12;
    shift.cashInDrawer = 55'000;
    ASSERT_TRUE(is::appendRecord(closed, &shift));

    ASSERT_TRUE(archive().openOrCreate());
    EXPECT_EQ(archive().baseNumber(), 1234u);
    CounterSet totals;
    ASSERT_TRUE(archive().readCounters(Counters::registrationTotals, totals));
    EXPECT_EQ(totals.receiptCount, 12u);
    EXPECT_EQ(totals.cashInDrawer, 55'000u);

    // An archive that has seen no shift takes the last closed shift from the
    // internal storage.
    FrStatus::Store status;
    archive().restoreStatus(status);
    EXPECT_EQ(status.shiftNumber(), 9);
    EXPECT_FALSE(status.testFlags(FrStatus::shiftOpen));
    EXPECT_EQ(status.closeDocumentNumber(), 1234u);
    EXPECT_EQ(status.closeTime(), 1'799'000'000u);
    EXPECT_EQ(status.cashInDrawer(), 55'000u);

    ASSERT_EQ(store(document(7)), ResultCode::Success);
    EXPECT_EQ(headerAt(8).number, 1235u);
    DocDescriptor header;
    EXPECT_TRUE(archive().readHeader(1235, header));
    std::shared_ptr<StoredDocument> none;
    EXPECT_EQ(archive().readDocument(1234, none), ResultCode::ArchiveNotReady)
        << "the base itself is not in this archive";
    EXPECT_EQ(archive().readDocument(1236, none), ResultCode::NotFound);
}

TEST_F(ArchiveTest, DataLimitsLeaveNothingWrittenAndTheNumberFree) {
    ASSERT_TRUE(archive().openOrCreate());
    EXPECT_EQ(store(document(6, {4097})), ResultCode::DataTooLong);
    EXPECT_EQ(headerAt(al::kLastDocumentCopy), DocDescriptor{});
    EXPECT_EQ(std::filesystem::file_size(board.file(kArchivePath)), 16'777'220u);
    ASSERT_EQ(store(document(6, {4096})), ResultCode::Success);
    EXPECT_EQ(headerAt(8).number, 1u) << "the refused document's number is used again";
    EXPECT_EQ(headerAt(8).dataOffset, 16'777'220u);

    // A receipt may reach 32 768 bytes over all its parts, no more.
    EXPECT_EQ(store(document(3, {20000, 12000, 769})), ResultCode::DataTooLong);
    ASSERT_EQ(store(document(3, {20000, 12000, 768})), ResultCode::Success);
    EXPECT_EQ(headerAt(8 + 64).dataLength, 32'768u);

    auto incomplete = document(5);
    incomplete->preparation = Preparation::incomplete;
    EXPECT_EQ(store(incomplete), ResultCode::SerialiseFailed);
    auto tooLong = document(5);
    tooLong->preparation = Preparation::tooLong;
    EXPECT_EQ(store(tooLong), ResultCode::DataTooLong);
    auto unfit = document(5);
    unfit->storable = false;
    EXPECT_EQ(store(unfit), ResultCode::NoDocumentObject);
    EXPECT_EQ(store(nullptr), ResultCode::NoDocumentObject);
    EXPECT_EQ(archive().lastDocumentInfo().number, 2u);
}

TEST_F(ArchiveTest, AStoredReceiptsCheckValuesCoverAllItsParts) {
    ASSERT_TRUE(archive().openOrCreate());
    auto receipt = document(3, {100, 50, 30});
    receipt->total = 15'000;
    ASSERT_EQ(store(receipt), ResultCode::Success);
    const DocDescriptor h = headerAt(8);
    EXPECT_EQ(h.dataLength, 180u);
    EXPECT_EQ(h.dataCrc, crc::crc16(fileAt(h.dataOffset, 180)));
    Bytes head = fileAt(8, 38);
    le::store32(&head[28], 0);  // the registration number is not covered
    EXPECT_EQ(h.headerCrc, crc::crc16(head));

    // Read back: every tagged value of every part reaches the document.
    std::shared_ptr<StoredDocument> back;
    ASSERT_EQ(archive().readDocument(1, back), ResultCode::Success);
    auto& restored = static_cast<TestDocument&>(*back);
    ASSERT_TRUE(restored.restored);
    EXPECT_EQ(*restored.restored, h);
    ASSERT_EQ(restored.storedValues.size(), 3u);
    EXPECT_EQ(restored.storedValues[2].data, Bytes(26, 3));
}

TEST_F(ArchiveTest, CashDocumentsAndReceiptsMoveTheCounters) {
    ASSERT_TRUE(archive().openOrCreate());
    CounterSet shift;
    shift.cashInDrawer = 30'000;
    ASSERT_TRUE(archive().writeCounters(Counters::shift, shift));
    ASSERT_TRUE(archive().writeCounters(Counters::registrationTotals, shift));

    // A cash out above the drawer pays out what the drawer holds.
    auto cashOut = document(6);
    cashOut->cash = 50'000;
    ASSERT_EQ(store(cashOut), ResultCode::Success);
    for (Counters which : {Counters::shift, Counters::registrationTotals}) {
        CounterSet c;
        ASSERT_TRUE(archive().readCounters(which, c));
        EXPECT_EQ(c.cashOutCount, 1);
        EXPECT_EQ(c.cashOutAmount, 30'000u);
        EXPECT_EQ(c.cashInDrawer, 0u);
    }
    GrossCounterSet gross;
    ASSERT_TRUE(archive().readGrossCounters(gross));
    EXPECT_EQ(gross.cashOutAmount, 30'000u);

    auto cashIn = document(5);
    cashIn->cash = 20'000;
    ASSERT_EQ(store(cashIn), ResultCode::Success);
    auto sale = document(3);
    sale->kind = 2;
    sale->total = 1'500;
    ASSERT_EQ(store(sale), ResultCode::Success);
    ASSERT_TRUE(archive().readCounters(Counters::shift, shift));
    EXPECT_EQ(shift.cashInCount, 1);
    EXPECT_EQ(shift.cashInDrawer, 21'500u);
    EXPECT_EQ(shift.receiptCount, 1u);
    EXPECT_EQ(shift.operations[2].total, 1'500u);
    EXPECT_EQ(shift.operations[2].kind, 2) << "kind bytes are their indexes";
    std::array<DepartmentTotals, 4> departments;
    ASSERT_TRUE(archive().readDepartmentTotals(departments));
    EXPECT_EQ(departments[2].amounts[0], 1'500u);
    EXPECT_EQ(departments[0].amounts[0], 0u);
}

TEST_F(ArchiveTest, AShiftOpenResetsTheShiftAndKeepsTheDrawer) {
    ASSERT_TRUE(archive().openOrCreate());
    CounterSet shift;
    shift.shiftField = 4;
    shift.receiptCount = 33;
    shift.cashInDrawer = 150'000;
    shift.operations[0].count = 33;
    ASSERT_TRUE(archive().writeCounters(Counters::shift, shift));
    CounterSet totals;
    totals.shiftField = 2;
    ASSERT_TRUE(archive().writeCounters(Counters::registrationTotals, totals));
    auto sale = document(3);
    sale->total = 700;
    ASSERT_EQ(store(sale), ResultCode::Success);

    auto open = document(7);
    open->shift = 5;
    ASSERT_EQ(store(open), ResultCode::Success);
    ASSERT_TRUE(archive().readCounters(Counters::shift, shift));
    CounterSet expected;
    expected.shiftField = 5;
    expected.cashInDrawer = 150'700;
    for (std::size_t i = 0; i < 4; ++i) expected.operations[i].kind = static_cast<std::uint8_t>(i);
    EXPECT_EQ(shift, expected);
    ASSERT_TRUE(archive().readCounters(Counters::registrationTotals, totals));
    EXPECT_EQ(totals.shiftField, 3) << "one more shift since the registration";
    GrossCounterSet gross;
    ASSERT_TRUE(archive().readGrossCounters(gross));
    EXPECT_EQ(gross.shiftField, 5);
    std::array<DepartmentTotals, 4> departments;
    ASSERT_TRUE(archive().readDepartmentTotals(departments));
    EXPECT_EQ(departments[0], DepartmentTotals{});
    EXPECT_EQ(headerAt(al::kLastShiftOpenCopy).number, 2u);
}

TEST_F(ArchiveTest, ClosingDocumentsCarryTheirCountersIntoTheInternalStorage) {
    ASSERT_TRUE(archive().openOrCreate());
    // The device's first registration carries no totals.
    auto first = document(1);
    first->registration.setStorageNumber("9999078900001234");
    ASSERT_EQ(store(first), ResultCode::Success);
    EXPECT_FALSE(first->attachedTotals);
    EXPECT_EQ(archive().readRegistrationCount(), 1);
    EXPECT_EQ(fileAt(al::kRegistrationList, 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(headerAt(al::kLastRegistrationCopy).number, 1u);
    EXPECT_EQ(fileAt(al::kRegistrationRecord, 16), toBytes("9999078900001234"));
    EXPECT_EQ(identity::store().registrationData()->storageNumberText().substr(0, 16),
              "9999078900001234");
    EXPECT_EQ(is::lastRecordNumber(), 1u);

    auto open = document(7);
    open->shift = 1;
    ASSERT_EQ(store(open), ResultCode::Success);
    auto sale = document(3);
    sale->total = 990;
    ASSERT_EQ(store(sale), ResultCode::Success);
    auto close = document(2);
    close->shift = 1;
    ASSERT_EQ(store(close), ResultCode::Success);
    ASSERT_TRUE(close->attachedShift);
    EXPECT_EQ(close->attachedShift->receiptCount, 1u);
    EXPECT_EQ(headerAt(al::kLastShiftCloseCopy).number, 4u);
    EXPECT_EQ(headerAt(8 + 3 * 64).registrationNumber, 1u);

    auto closeArchive = document(4);
    ASSERT_EQ(store(closeArchive), ResultCode::Success);
    ASSERT_TRUE(closeArchive->attachedTotals && closeArchive->attachedGross);
    EXPECT_EQ(closeArchive->attachedTotals->receiptCount, 1u);
    EXPECT_EQ(closeArchive->attachedGross->receiptCount, 1u);

    // Three records: registration, shift close, archive close.
    GrossCounterSet sum;
    DocDescriptor firstHeader, lastHeader;
    ASSERT_TRUE(is::sumShiftRange(1, 1, firstHeader, lastHeader, sum));
    EXPECT_EQ(sum.receiptCount, 1u);
    EXPECT_EQ(is::lastRecordNumber(), 5u);
}

TEST_F(ArchiveTest, TheRegistrationListNeverGrowsPastItsFiftyEntries) {
    ASSERT_TRUE(archive().openOrCreate());
    const Bytes marker(4, 0xEE);
    ASSERT_TRUE(platform::fileExists(kArchivePath));
    {
        platform::FileHandle f(kArchivePath, "r+b");
        ASSERT_TRUE(platform::writeAt(f.get(), al::kRegistrationCount, Bytes{50},
                                      platform::Durability::flushed));
        ASSERT_TRUE(platform::writeAt(f.get(), al::kRegistrationList + 200, marker,
                                      platform::Durability::flushed));
    }
    ASSERT_EQ(reopen().storeDocument(document(1)), ResultCode::Success);
    EXPECT_EQ(archive().readRegistrationCount(), 50);
    EXPECT_EQ(fileAt(al::kRegistrationList + 200, 4), marker) << "nothing written past entry 50";
}

TEST_F(ArchiveTest, ADocumentOfAnEarlierRegistrationReadsBackWithThatRegistration) {
    ASSERT_TRUE(archive().openOrCreate());
    auto first = document(1);
    first->registration.setRegText1("FIRST");
    ASSERT_EQ(store(first), ResultCode::Success);
    ASSERT_EQ(store(document(5)), ResultCode::Success);
    auto second = document(1);
    second->registration.setRegText1("SECOND");
    ASSERT_EQ(store(second), ResultCode::Success);

    std::shared_ptr<StoredDocument> back;
    ASSERT_EQ(archive().readDocument(2, back), ResultCode::Success);
    EXPECT_EQ(back->registrationRecord().regText1(), "") << "rebuilt from the stored registration";
    EXPECT_EQ(back->documentType(), 5);
}

TEST_F(ArchiveTest, AStoreWithAFailedWriteIsStoredOnceOrNotAtAll) {
    using platform::WriteLog;
    ASSERT_TRUE(archive().openOrCreate());
    // The journal cannot be written: nothing is stored, the number stays free.
    platform::writeLog().injectFault(1, WriteLog::Fault::fail);
    EXPECT_EQ(store(document(5)), ResultCode::ArchiveNotReady);
    EXPECT_EQ(archive().lastDocumentInfo().number, 0u);
    EXPECT_EQ(headerAt(8).number, 0u);
    ASSERT_EQ(store(document(5)), ResultCode::Success);
    EXPECT_EQ(archive().lastDocumentInfo().number, 1u);

    // A write after the journal tears: made again with the others, stored.
    platform::writeLog().injectFault(2, WriteLog::Fault::tear);
    EXPECT_EQ(store(document(5)), ResultCode::Success);
    EXPECT_EQ(headerAt(8 + 64).number, 2u);
    CounterSet shift;
    ASSERT_TRUE(archive().readCounters(Counters::shift, shift));
    EXPECT_EQ(shift.cashInCount, 2) << "counted once";

    // The card stops taking writes after the journal: the store is left to
    // the next start, which finishes it; until then nothing is stored.
    FrStatus::Store status;
    status.setFlag(FrStatus::archiveReady, true);
    platform::writeLog().cutPower(2, WriteLog::Fault::fail);
    EXPECT_EQ(archive().storeDocument(document(5), status), ResultCode::ArchiveNotReady);
    EXPECT_FALSE(status.testFlags(FrStatus::archiveReady));
    EXPECT_EQ(headerAt(8 + 128).number, 0u);
    platform::writeLog().restorePower();
    ASSERT_TRUE(reopen().openOrCreate());
    EXPECT_EQ(archive().lastDocumentInfo().number, 3u);
    EXPECT_EQ(headerAt(8 + 128).dataOffset, 16'777'300u);
    ASSERT_TRUE(archive().readCounters(Counters::shift, shift));
    EXPECT_EQ(shift.cashInCount, 3);
    ASSERT_TRUE(reopen().openOrCreate());
    ASSERT_TRUE(archive().readCounters(Counters::shift, shift));
    EXPECT_EQ(shift.cashInCount, 3) << "a finished journal is not applied twice";
}

TEST_F(ArchiveTest, AFullArchiveRefusesBeforeWriting) {
    ASSERT_TRUE(archive().openOrCreate());
    // The last slot is taken: the header copy says so.
    DocDescriptor last;
    last.type = 5;
    last.number = 250'000;
    last.dataOffset = 16'777'220;
    last.dataLength = 40;
    testing_support::patchFileBytes(board.file(kArchivePath), al::kLastDocumentCopy,
                                    last.encode());
    reopen();
    EXPECT_EQ(archive().freePlaces(), 0u);
    const std::uint64_t writes = platform::writeLog().writes();
    EXPECT_EQ(store(document(5)), ResultCode::ArchiveNotReady);
    EXPECT_EQ(platform::writeLog().writes(), writes) << "nothing written";
    EXPECT_EQ(archive().lastDocumentInfo().number, 250'000u);

    last.number = 249'999;
    testing_support::patchFileBytes(board.file(kArchivePath), al::kLastDocumentCopy,
                                    last.encode());
    EXPECT_EQ(reopen().freePlaces(), 1u);
}

TEST_F(ArchiveTest, TheInternalStorageIsFormedByTheLockProtocol) {
    ASSERT_TRUE(archive().openOrCreate());
    auto registration = document(1);
    ASSERT_EQ(store(registration), ResultCode::Success);
    auto open = document(7);
    open->shift = 1;
    ASSERT_EQ(store(open), ResultCode::Success);
    ASSERT_EQ(store(document(2)), ResultCode::Success);
    const Bytes complete = testing_support::fileBytes(board.file(is::kStoragePath));
    ASSERT_EQ(complete.size(), 2 * is::kRecordSize);

    // A complete file without a lock is kept as it is.
    EXPECT_TRUE(reopen().formInternalStorage());
    EXPECT_EQ(testing_support::fileBytes(board.file(is::kStoragePath)), complete);

    // One that misses a record, holds a torn one or one of another document
    // is made again from the first record that differs.
    testing_support::writeFileBytes(board.file(is::kStoragePath),
                                    Bytes(complete.begin(), complete.begin() + 470 + 200));
    EXPECT_TRUE(reopen().formInternalStorage());
    EXPECT_EQ(testing_support::fileBytes(board.file(is::kStoragePath)), complete);
    Bytes wrong = complete;
    wrong[470 + 1] ^= 0x01;  // the shift close's number
    testing_support::writeFileBytes(board.file(is::kStoragePath), wrong);
    EXPECT_TRUE(reopen().formInternalStorage());
    EXPECT_EQ(testing_support::fileBytes(board.file(is::kStoragePath)), complete);

    // A lock left by an interrupted formation: the file is formed again.
    ASSERT_TRUE(is::createLock());
    EXPECT_TRUE(reopen().formInternalStorage());
    EXPECT_EQ(testing_support::fileBytes(board.file(is::kStoragePath)), complete);
    EXPECT_FALSE(is::lockExists());

    // Formation that stops early leaves the lock for the next start.
    ASSERT_TRUE(is::removeStorage());
    platform::writeLog().injectFault(1, platform::WriteLog::Fault::fail);
    EXPECT_FALSE(reopen().formInternalStorage());
    EXPECT_TRUE(is::lockExists());
    EXPECT_TRUE(reopen().formInternalStorage());
    EXPECT_EQ(testing_support::fileBytes(board.file(is::kStoragePath)), complete);
}

TEST_F(ArchiveTest, FormationRecordsWhatTheStoresRecordedHoweverFarApartTheyLie) {
    // Closing documents near one another are read as one piece, far apart
    // one by one, and a long run of near ones is cut into pieces: the formed
    // file is the one the stores appended, byte for byte, either way.
    ASSERT_TRUE(archive().openOrCreate());
    ASSERT_EQ(store(document(1)), ResultCode::Success);
    auto storeShift = [&](std::uint16_t shift, std::size_t receiptBytes) {
        auto open = document(7);
        open->shift = shift;
        ASSERT_EQ(store(open), ResultCode::Success);
        for (; receiptBytes > 0; receiptBytes -= std::min<std::size_t>(receiptBytes, 30'000)) {
            auto receipt = document(3, {std::max<std::size_t>(
                                           std::min<std::size_t>(receiptBytes, 30'000), 40)});
            receipt->total = static_cast<std::int64_t>(shift) * 100;
            ASSERT_EQ(store(receipt), ResultCode::Success);
        }
        auto close = document(2);
        close->shift = shift;
        ASSERT_EQ(store(close), ResultCode::Success);
    };
    std::uint16_t shift = 0;
    // 40 shifts 30 000 bytes apart: over a mebibyte of near ones.
    while (shift < 40) storeShift(++shift, 30'000);
    // Then gaps of nothing, a few bytes, just under and just over 64 KiB,
    // and a registration between them.
    for (std::size_t gap : {0, 300, 65'000, 66'000, 8'000, 70'000, 0}) storeShift(++shift, gap);
    ASSERT_EQ(store(document(1)), ResultCode::Success);
    storeShift(++shift, 500);

    const Bytes recorded = testing_support::fileBytes(board.file(is::kStoragePath));
    ASSERT_EQ(recorded.size(), (shift + 2) * is::kRecordSize);
    ASSERT_TRUE(is::removeStorage());
    EXPECT_TRUE(reopen().formInternalStorage());
    EXPECT_EQ(testing_support::fileBytes(board.file(is::kStoragePath)), recorded);
    EXPECT_FALSE(is::lockExists());
}

TEST_F(ArchiveTest, RestoreStatusFindsTheShiftOpenOrClosed) {
    ASSERT_TRUE(archive().openOrCreate());
    FrStatus::Store fresh;
    archive().restoreStatus(fresh);
    EXPECT_EQ(fresh.shiftNumber(), 0);
    EXPECT_FALSE(fresh.testFlags(FrStatus::shiftOpen | FrStatus::archiveClosed));

    auto open = document(7);
    open->shift = 1;
    open->dateTimeValue = 1'800'000'100;
    ASSERT_EQ(store(open), ResultCode::Success);
    auto cashIn = document(5);
    cashIn->cash = 40'000;
    ASSERT_EQ(store(cashIn), ResultCode::Success);
    auto sale = document(3);
    sale->total = 250;
    ASSERT_EQ(store(sale), ResultCode::Success);

    FrStatus::Store opened;
    reopen().restoreStatus(opened);
    EXPECT_TRUE(opened.testFlags(FrStatus::shiftOpen));
    EXPECT_EQ(opened.shiftNumber(), 1);
    EXPECT_EQ(opened.openDocumentNumber(), 1u);
    EXPECT_EQ(opened.openTime(), 1'800'000'100u);
    EXPECT_EQ(opened.closeDocumentNumber(), 3u) << "the last document of the open shift";
    EXPECT_EQ(opened.closeTime(), 0u);
    EXPECT_EQ(opened.shiftReceipts(), 1);
    EXPECT_EQ(opened.cashInDrawer(), 40'250u);

    auto close = document(2);
    close->shift = 1;
    close->dateTimeValue = 1'800'000'900;
    ASSERT_EQ(store(close), ResultCode::Success);
    FrStatus::Store closed;
    reopen().restoreStatus(closed);
    EXPECT_FALSE(closed.testFlags(FrStatus::shiftOpen));
    EXPECT_EQ(closed.closeDocumentNumber(), 4u);
    EXPECT_EQ(closed.closeTime(), 1'800'000'900u);

    ASSERT_EQ(store(document(4)), ResultCode::Success);
    FrStatus::Store ended;
    reopen().restoreStatus(ended);
    EXPECT_TRUE(ended.testFlags(FrStatus::archiveClosed));
}

TEST_F(ArchiveTest, AnArchiveOfAnotherDeviceOrRegistrationIsRejected) {
    ASSERT_TRUE(archive().openOrCreate());
    auto registration = document(1);
    registration->registration.setStorageNumber("1111");
    registration->registration.setTaxpayerNumber("2222");
    registration->registration.setRegText1("A");
    registration->registration.setRegText2("B");
    registration->registration.setRegText3("C");
    registration->registration.setRegistrationTime(1'800'000'000);
    registration->registration.sealRegistration("x", "y");
    ASSERT_EQ(store(registration), ResultCode::Success);

    FrStatus::Store status;
    EXPECT_TRUE(reopen().openOrCreate(status)) << "the device's own registration";
    EXPECT_TRUE(status.testFlags(FrStatus::fiscalized));

    identity::store().publishRegistrationData(RegData());
    status.setFlag(FrStatus::archiveReady, true);
    EXPECT_FALSE(reopen().openOrCreate(status)) << "another registration";
    EXPECT_FALSE(status.testFlags(FrStatus::archiveReady));

    // Valid model data of another device in the archive.
    ModelData other;
    other.setSerial("0000000099");
    other.sealModel("other key");
    identity::store().publishFactoryData(other);
    EXPECT_FALSE(reopen().openOrCreate(status));
    EXPECT_TRUE(status.testFlags(FrStatus::foreignArchive));

    // A file that is not an archive.
    testing_support::writeFileBytes(board.file(kArchivePath), Bytes(100, 0));
    EXPECT_FALSE(reopen().openOrCreate(status));
}

}  // namespace
