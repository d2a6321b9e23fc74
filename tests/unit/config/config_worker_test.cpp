#include "config/config_worker.h"

#include <gtest/gtest.h>

#include "config/cashiers.h"
#include "config/discounts.h"
#include "config/fr_settings.h"
#include "config/paper_width.h"
#include "config/printer_settings.h"
#include "config/sections.h"
#include "platform/files.h"
#include "state/status.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

using testing_support::fileBytes;

// A new device: fresh table files, empty caches, zeroed status.
class ConfigWorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cashiers().reset();
        settings::FrSettingsCache::process().reset();
        FrStatus::status().resetStatus();
        cashiers().prepareCashiers();
        sections().loadSections();
        discounts().loadDiscounts();
    }
    void TearDown() override {
        cashiers().reset();
        settings::FrSettingsCache::process().reset();
        settings::setCurrentPaperWidth(settings::kDefaultPaperWidth);
    }

    static Bytes prefix(std::uint8_t cashier, std::uint32_t password, const Bytes& payload = {}) {
        Bytes data{cashier};
        le::put32(data, password);
        le::putBytes(data, payload);
        return data;
    }
    static Bytes service(const Bytes& payload = {}) {
        return prefix(20, kFactoryServicePassword, payload);
    }
    static Bytes withType(std::uint8_t type, const Bytes& record) {
        Bytes payload{type};
        le::putBytes(payload, record);
        return payload;
    }
    CoreApiResult run(CoreApiResult (ConfigWorker::*handler)(const CoreTransaction&),
                      const Bytes& data) {
        CoreTransaction t;
        t.data = data;
        ConfigWorker worker;
        return (worker.*handler)(t);
    }

    testing_support::ScopedTempBoard board;
};

TEST_F(ConfigWorkerTest, ReadRecordTestsTheRightBeforeThePrefix) {
    // Four bytes: no cashier could be found, so the right is missing.
    EXPECT_EQ(run(&ConfigWorker::readRecord, {20, 1, 2, 3}).code, 16);
    EXPECT_EQ(run(&ConfigWorker::readRecord, prefix(21, 1, {1, 1})).code, 16);
    // A wrong password gives 18 only when the stored cashier holds the right.
    EXPECT_EQ(run(&ConfigWorker::readRecord, prefix(20, 1, {1, 1})).code, 18);
    EXPECT_EQ(run(&ConfigWorker::readRecord, prefix(3, 1, {1, 1})).code, 16);

    EXPECT_EQ(run(&ConfigWorker::readRecord, service({4, 1})).code, 20);
    EXPECT_EQ(run(&ConfigWorker::readRecord, service({1})).code, 19) << "no record number";
    EXPECT_EQ(run(&ConfigWorker::readRecord, service()).code, 19);
    EXPECT_EQ(run(&ConfigWorker::readRecord, service({1, 21})).code, 17);
    EXPECT_EQ(run(&ConfigWorker::readRecord, service({2, 0})).code, 17);

    CoreApiResult r = run(&ConfigWorker::readRecord, service({1, 20}));
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 263u);
    EXPECT_EQ(Bytes(r.data.begin(), r.data.begin() + 7), (Bytes{20, 0xFF, 0x03, 0xD4, 0x25, 4, 0}));
    EXPECT_EQ(run(&ConfigWorker::readRecord, service({2, 7})).data, encodeSection(Section{7, ""}));
    r = run(&ConfigWorker::readRecord, service({3, 9}));
    EXPECT_EQ(r.data.size(), 138u);
    EXPECT_EQ(r.data[0], 9);
    EXPECT_EQ(r.data[1], Discount::kEmpty);
}

TEST_F(ConfigWorkerTest, WriteRecordEchoesThePayload) {
    CoreApiResult r = run(&ConfigWorker::writeRecord, {20, 1, 2, 3});
    EXPECT_EQ(r.code, 19);
    EXPECT_TRUE(r.data.empty());

    const Bytes record = encodeSection(Section{3, "Dairy"});
    r = run(&ConfigWorker::writeRecord, prefix(20, 1, withType(2, record)));
    EXPECT_EQ(r.code, 18);
    EXPECT_EQ(r.data, withType(2, record)) << "a refused cashier gets the type byte back too";
    r = run(&ConfigWorker::writeRecord, prefix(0, 1, withType(2, record)));
    EXPECT_EQ(r.code, 19);
    EXPECT_EQ(r.data, withType(2, record));

    r = run(&ConfigWorker::writeRecord, service(withType(7, record)));
    EXPECT_EQ(r.code, 20);
    EXPECT_EQ(r.data, record);
    r = run(&ConfigWorker::writeRecord,
            service(withType(2, Bytes(record.begin(), record.end() - 1))));
    EXPECT_EQ(r.code, 22);
    EXPECT_EQ(r.data.size(), 127u);

    r = run(&ConfigWorker::writeRecord, service(withType(2, record)));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, record);
    EXPECT_EQ(sections().getSection(3)->name, "Dairy");

    const Bytes discount = encodeDiscount(Discount{4, Discount::kFixedAmount, 500, ""});
    EXPECT_EQ(run(&ConfigWorker::writeRecord, service(withType(3, discount))).code, 0);
    EXPECT_EQ(discounts().getDiscount(4)->value, 500);
}

TEST_F(ConfigWorkerTest, CashierRights) {
    // A cashier with the reference right but not the cashier right.
    Cashier clerk{6, kRightReferenceData, "Clerk", 66};
    ASSERT_EQ(run(&ConfigWorker::writeRecord, service(withType(1, encodeCashier(clerk)))).code, 0);
    EXPECT_EQ(run(&ConfigWorker::readRecord, prefix(6, 66, {2, 1})).code, 0);
    EXPECT_EQ(run(&ConfigWorker::readRecord, prefix(6, 66, {1, 1})).code, 16);
    CoreApiResult r =
        run(&ConfigWorker::writeRecord, prefix(6, 66, withType(1, encodeCashier(clerk))));
    EXPECT_EQ(r.code, 16);
    EXPECT_EQ(r.data, encodeCashier(clerk)) << "the record comes back without its type byte";
    EXPECT_EQ(run(&ConfigWorker::setClock, prefix(6, 66, {0, 0, 0, 0x70})).code, 16);
}

TEST_F(ConfigWorkerTest, TheServiceCashierIsWrittenOnlyByItself) {
    // A cashier with every right but number 1 may not touch record 20.
    Cashier one{1, kAllRights, "One", 11};
    ASSERT_EQ(run(&ConfigWorker::writeRecord, service(withType(1, encodeCashier(one)))).code, 0);
    Cashier replacement{20, 0x0001, "Other", 99};
    EXPECT_EQ(
        run(&ConfigWorker::writeRecord, prefix(1, 11, withType(1, encodeCashier(replacement))))
            .code,
        16);
    EXPECT_EQ(cashiers().readCashier(20)->password, kFactoryServicePassword);

    // Itself with an empty name and password 0: both kept, every right.
    Cashier blank{20, 0x0001, "", 0};
    ASSERT_EQ(run(&ConfigWorker::writeRecord, service(withType(1, encodeCashier(blank)))).code, 0);
    std::optional<Cashier> stored = cashiers().readCashier(20);
    EXPECT_EQ(stored->rights, kAllRights);
    EXPECT_EQ(stored->password, kFactoryServicePassword);
    EXPECT_EQ(stored->name, "\x96\x92\x8E");

    // A new password applies at once.
    ASSERT_EQ(
        run(&ConfigWorker::writeRecord, service(withType(1, encodeCashier({20, 0, "", 42})))).code,
        0);
    EXPECT_EQ(run(&ConfigWorker::readDeviceSetting, service({1})).code, 18);
    EXPECT_EQ(run(&ConfigWorker::readDeviceSetting, prefix(20, 42, {1})).code, 0);
}

TEST_F(ConfigWorkerTest, SetClock) {
    board.board().clock = 1800000000;
    EXPECT_EQ(run(&ConfigWorker::setClock, service({1, 2, 3})).code, 22);
    EXPECT_EQ(run(&ConfigWorker::setClock, service({1, 2, 3, 4, 5})).code, 22);

    const std::uint32_t before = static_cast<std::uint32_t>(buildInstant() - 1);
    Bytes early;
    le::put32(early, before);
    EXPECT_EQ(run(&ConfigWorker::setClock, service(early)).code, 23);
    EXPECT_EQ(board.board().clock, 1800000000);

    FrStatus::status().setLastDocumentTime(1750000000);
    Bytes justBefore;
    le::put32(justBefore, 1749999999);
    EXPECT_EQ(run(&ConfigWorker::setClock, service(justBefore)).code, 23);
    EXPECT_EQ(board.board().clock, 1800000000) << "nothing runs on a refusal";

    Bytes exact;
    le::put32(exact, 1750000000);
    CoreApiResult r = run(&ConfigWorker::setClock, service(exact));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, exact);
    EXPECT_EQ(board.board().clock, 1750000000);

    r = run(&ConfigWorker::readClock, {});
    EXPECT_EQ(r.data, exact);
}

TEST_F(ConfigWorkerTest, DeviceSettings) {
    EXPECT_EQ(run(&ConfigWorker::readDeviceSetting, service()).code, 22);
    EXPECT_EQ(run(&ConfigWorker::readDeviceSetting, service({2})).code, 20);
    CoreApiResult r = run(&ConfigWorker::readDeviceSetting, service({1}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, (Bytes{0}));
    EXPECT_FALSE(platform::fileExists(settings::kFrSettingsPath));

    EXPECT_EQ(run(&ConfigWorker::setDeviceSetting, service({1})).code, 22);
    EXPECT_EQ(run(&ConfigWorker::setDeviceSetting, service({2, 1})).code, 20);
    EXPECT_EQ(run(&ConfigWorker::setDeviceSetting, service({1, 1})).code, 0);
    EXPECT_EQ(fileBytes(board.file(settings::kFrSettingsPath)), (Bytes{0x01}));
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 2) << "the next rescaling rounds half to even";
    EXPECT_EQ(run(&ConfigWorker::readDeviceSetting, service({1})).data, (Bytes{1}));
}

TEST_F(ConfigWorkerTest, PrinterSettings) {
    CoreApiResult r = run(&ConfigWorker::readPrinterSetting, service({2}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(run(&ConfigWorker::readPrinterSetting, service({1})).data, (Bytes{0x3C}));
    EXPECT_EQ(run(&ConfigWorker::readPrinterSetting, service({3})).code, 20);
    EXPECT_EQ(run(&ConfigWorker::readPrinterSetting, service()).code, 22);

    // Flags need four bytes: fewer are refused and nothing is written.
    EXPECT_EQ(run(&ConfigWorker::setPrinterSetting, service({2, 1, 2, 3})).code, 22);
    EXPECT_FALSE(platform::fileExists(settings::kPrinterSettingsPath));
    EXPECT_EQ(run(&ConfigWorker::setPrinterSetting, service({2})).code, 22);
    EXPECT_EQ(run(&ConfigWorker::setPrinterSetting, service({3, 1})).code, 20);

    EXPECT_EQ(run(&ConfigWorker::setPrinterSetting, service({2, 1, 2, 3, 4})).code, 0);
    EXPECT_EQ(fileBytes(board.file(settings::kPrinterSettingsPath)), (Bytes{0x3C, 1, 2, 3, 4}));
    EXPECT_EQ(run(&ConfigWorker::setPrinterSetting, service({1, 80})).code, 0);
    EXPECT_EQ(settings::currentPaperWidth(), 80);
    EXPECT_EQ(fileBytes(board.file(settings::kPrinterSettingsPath)), (Bytes{80, 1, 2, 3, 4}));
}

TEST_F(ConfigWorkerTest, SettingsThatCannotBeSavedAnswer21AndKeepTheStoredValue) {
    using platform::WriteLog;
    // A full /nv/ on the first save: no empty file is left, the mode stays 0.
    platform::writeLog().injectFault(1, WriteLog::Fault::fail);
    EXPECT_EQ(run(&ConfigWorker::setDeviceSetting, service({1, 1})).code, 21);
    EXPECT_FALSE(platform::fileExists(settings::kFrSettingsPath));
    EXPECT_EQ(run(&ConfigWorker::readDeviceSetting, service({1})).data, (Bytes{0}));
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 3) << "still half up";

    // A save into an existing file that tears: the answer is 21 and the
    // cache holds what the file holds.
    ASSERT_EQ(run(&ConfigWorker::setDeviceSetting, service({1, 1})).code, 0);
    platform::writeLog().injectFault(1, WriteLog::Fault::fail);
    EXPECT_EQ(run(&ConfigWorker::setDeviceSetting, service({1, 0})).code, 21);
    EXPECT_EQ(fileBytes(board.file(settings::kFrSettingsPath)), (Bytes{0x01}));
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 2) << "the stored mode 1 still rounds";

    // The paper width in use stays the stored one.
    platform::writeLog().injectFault(1, WriteLog::Fault::tear);
    EXPECT_EQ(run(&ConfigWorker::setPrinterSetting, service({1, 80})).code, 21);
    EXPECT_FALSE(platform::fileExists(settings::kPrinterSettingsPath));
    EXPECT_EQ(settings::currentPaperWidth(), settings::kDefaultPaperWidth);
    EXPECT_EQ(run(&ConfigWorker::readPrinterSetting, service({1})).data, (Bytes{0x3C}));
}

TEST_F(ConfigWorkerTest, ARecordWriteThatFailsOrTearsAnswers21) {
    using platform::WriteLog;
    Discount d{4, Discount::kPercentage, 1000, "FIRST"};
    Bytes record = encodeDiscount(d);
    ASSERT_EQ(run(&ConfigWorker::writeRecord, service(withType(3, record))).code, 0);
    const Bytes before = fileBytes(board.file("/nv/DISCOUNTS"));

    // The write fails: the file keeps the old record; the discount is out of
    // use rather than different from the file.
    d.value = 500;
    d.name = "SECOND";
    record = encodeDiscount(d);
    platform::writeLog().injectFault(1, WriteLog::Fault::fail);
    EXPECT_EQ(run(&ConfigWorker::writeRecord, service(withType(3, record))).code, 21);
    EXPECT_EQ(fileBytes(board.file("/nv/DISCOUNTS")), before);
    EXPECT_EQ(discounts().getDiscount(4)->kind, Discount::kEmpty);

    // A torn write lands its first half only: the register says 21 and the
    // record on file is half new, half old, until it is written again.
    platform::writeLog().injectFault(1, WriteLog::Fault::tear);
    EXPECT_EQ(run(&ConfigWorker::writeRecord, service(withType(3, record))).code, 21);
    const Bytes torn = fileBytes(board.file("/nv/DISCOUNTS"));
    const std::size_t at = 3 * Discount::kSize;
    EXPECT_EQ(Bytes(torn.begin() + at, torn.begin() + at + 69),
              Bytes(record.begin(), record.begin() + 69));
    EXPECT_EQ(Bytes(torn.begin() + at + 69, torn.begin() + at + 138),
              Bytes(before.begin() + at + 69, before.begin() + at + 138));
    EXPECT_EQ(run(&ConfigWorker::writeRecord, service(withType(3, record))).code, 0);
    EXPECT_EQ(discounts().getDiscount(4)->value, 500);
}

}  // namespace
