// What follows a stored document: the shift's state in the device status
// and the paper printed after it.

#include "documents/after_store.h"

#include <gtest/gtest.h>

#include "documents/cash_ctrl_document.h"
#include "documents/make_document.h"
#include "tests/support/temp_board.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

constexpr std::uint32_t kNow = 1'700'000'000;

Bytes amount(std::int64_t kopecks) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(kopecks));
    return data;
}

class AfterStoreTest : public ::testing::Test {
  protected:
    // A document of `type` opened, closed at `now` and numbered `number` as
    // the archive would.
    std::shared_ptr<BaseWorkDocument> stored(std::uint8_t type, std::uint32_t number,
                                             std::uint32_t now, const Bytes& closeData = {}) {
        auto document = makeDocument(type, &device.model, &device.registration, device.cashier);
        EXPECT_EQ(document->applyOpenData(Bytes{}), ResultCode::Success);
        std::uint16_t missingTag = 0;
        EXPECT_EQ(document->close(now, device.key, closeData, missingTag), ResultCode::Success);
        PreparedDocument prepared;
        EXPECT_EQ(document->prepareForStorage(number, 1, device.key, 0x1000004, prepared),
                  Preparation::ready);
        return document;
    }

    testing_support::ScopedTempBoard board;
    sample::Device device = sample::device();
    // Not opened: only a registration asks it for its count.
    DocumentArchive archive{"/mnt/sd/V0XD24TX", documentFactory()};
    FrStatus::Store& status = FrStatus::status();
};

TEST_F(AfterStoreTest, TheShiftStateFollowsItsOpeningItsCashAndItsClose) {
    status.setShiftNumber(4);
    status.setShiftReceipts(12);
    status.setCashInDrawer(50'000);

    accountStoredDocument(*stored(FrStatus::shiftOpenDoc, 20, kNow), archive);
    EXPECT_TRUE(status.testFlags(FrStatus::shiftOpen));
    EXPECT_EQ(status.shiftNumber(), 5);
    EXPECT_EQ(status.shiftReceipts(), 0);
    EXPECT_EQ(status.openDocumentNumber(), 20u);
    EXPECT_EQ(status.openTime(), kNow);
    EXPECT_EQ(status.closeDocumentNumber(), 20u);
    EXPECT_EQ(status.closeTime(), 0u);
    EXPECT_EQ(status.lastDocumentNumber(), 20u);
    EXPECT_EQ(status.lastDocumentTime(), kNow);
    EXPECT_EQ(status.freeDocumentPlaces(), remainingCapacity());
    EXPECT_GT(status.freeDocumentPlaces(), 0u);

    accountStoredDocument(*stored(FrStatus::cashInDoc, 21, kNow + 10, amount(25'000)), archive);
    EXPECT_EQ(status.cashInDrawer(), 75'000u);
    EXPECT_EQ(status.closeDocumentNumber(), 21u);

    // The drawer was emptied meanwhile: a cash out never takes it below 0.
    auto out = stored(FrStatus::cashOutDoc, 22, kNow + 20, amount(30'000));
    status.setCashInDrawer(10'000);
    accountStoredDocument(*out, archive);
    EXPECT_EQ(status.cashInDrawer(), 0u);
    EXPECT_EQ(status.lastDocumentNumber(), 22u);

    accountStoredDocument(*stored(FrStatus::shiftCloseDoc, 23, kNow + 30), archive);
    EXPECT_FALSE(status.testFlags(FrStatus::shiftOpen));
    EXPECT_EQ(status.shiftNumber(), 5);
    EXPECT_EQ(status.openDocumentNumber(), 20u) << "the shift's opening stays";
    EXPECT_EQ(status.closeDocumentNumber(), 23u);
    EXPECT_EQ(status.closeTime(), kNow + 30);
    EXPECT_EQ(status.lastDocumentTime(), kNow + 30);
}

TEST_F(AfterStoreTest, ClosingDocumentsPrintTheirBodyBeforeTheFooter) {
    const BodyPrinter body = [](const BaseWorkDocument& d) {
        return d.documentType() == FrStatus::cashInDoc ? std::string() : std::string("BODY");
    };

    // A registration printed nothing at open: its header comes first now.
    auto registration =
        makeDocument(FrStatus::registrationDoc, &device.model, nullptr, device.cashier);
    std::vector<std::string> prints = storedDocumentPrints(*registration, body);
    ASSERT_EQ(prints.size(), 3u);
    EXPECT_EQ(prints[0], registration->commonHeader());
    EXPECT_NE(prints[0].find(cp("Отчет о фискализации/перерегистрации")), std::string::npos);
    EXPECT_EQ(prints[1], "BODY");
    EXPECT_EQ(prints[2], registration->printFooter(true));

    // A Z report's header was printed at open; a cash in has no body.
    auto z = stored(FrStatus::shiftCloseDoc, 9, kNow);
    EXPECT_EQ(storedDocumentPrints(*z, body),
              (std::vector<std::string>{"BODY", z->printFooter(true)}));
    auto in = stored(FrStatus::cashInDoc, 10, kNow, amount(100));
    EXPECT_EQ(storedDocumentPrints(*in, body), std::vector<std::string>{in->printFooter(true)});
    EXPECT_NE(in->printFooter(true), in->printFooter(false)) << "the footer ends in a cut";
}

}  // namespace
