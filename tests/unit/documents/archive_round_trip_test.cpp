// Real documents through the real archive: what a fiscal day stores is read
// back with the same fields, fiscal sign and printed copy, and a receipt's
// stored check values cover everything stored for it.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/crc.h"
#include "config/identity.h"
#include "config/sections.h"
#include "documents/receipt_doc.h"
#include "encoding/tags.h"
#include "state/status.h"
#include "storage/document_archive.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

class ArchiveRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        board.addCardAndEeprom();
        identity::store().setDeviceKey(device.key);
        identity::store().publishFactoryData(device.model);
        identity::store().publishRegistrationData(device.registration);
        sections().loadSections();
        ASSERT_TRUE(archive.openOrCreate());
    }

    // Makes a document the way the document commands do, and stores it.
    std::shared_ptr<BaseWorkDocument> store(std::uint8_t type, const Bytes& openData,
                                            const std::vector<Tlv>& items, const Bytes& closeData) {
        const auto registration = identity::store().registrationData();
        auto doc = makeDocument(type, &device.model, type == 1 ? nullptr : registration.get(),
                                device.cashier);
        EXPECT_EQ(doc->applyOpenData(openData), ResultCode::Success);
        for (const Tlv& item : items) {
            std::string reply;
            EXPECT_EQ(doc->addItem(item, reply), ResultCode::Success) << item.tag;
        }
        std::uint16_t missing = 0;
        EXPECT_EQ(doc->close(now += 60, device.key, closeData, missing), ResultCode::Success);
        EXPECT_EQ(archive.storeDocument(doc), ResultCode::Success);
        FrStatus::status().setShiftNumber(doc->shiftNumber());
        return doc;
    }

    std::shared_ptr<BaseWorkDocument> readBack(std::uint32_t number) {
        std::shared_ptr<StoredDocument> stored;
        EXPECT_EQ(archive.readDocument(number, stored), ResultCode::Success);
        return std::dynamic_pointer_cast<BaseWorkDocument>(stored);
    }

    testing_support::ScopedTempBoard board;
    sample::Device device = sample::device();
    DocumentArchive archive{"/mnt/sd/V0XD24TX", documentFactory()};
    std::uint32_t now = 1'750'000'000;
};

Bytes eightBytes(std::int64_t v) {
    Bytes b;
    le::put64(b, static_cast<std::uint64_t>(v));
    return b;
}

Tlv position(const std::string& name, std::int64_t price, std::uint8_t section) {
    return Tlv().setContainer(
        tags::kPosition,
        {Tlv().setText(tags::kPositionName, name), Tlv().setVarInt(tags::kPrice, price),
         Tlv().setVarDecimal(tags::kQuantity, Decimal(1000, 2000)),
         Tlv().setU8(tags::kPositionTaxNumber, 1), Tlv().setU8(tags::kSectionNumber, section)});
}

TEST_F(ArchiveRoundTrip, AFiscalDayReadsBackAsItWasStored) {
    // A new archive is registered before anything else is stored in it.
    Tax vat;
    vat.kind = Tax::kContained;
    vat.rate = 2000;
    vat.name = cp("НДС 20%");
    Bytes numbers = toBytes("770123456789");
    le::putText(numbers, "9999078900001234");
    std::vector<std::shared_ptr<BaseWorkDocument>> day;
    day.push_back(store(1, {},
                        {Tlv().setText(tags::kRegistrationFirstText, cp("ООО Ромашка")),
                         Tlv().setText(tags::kRegistrationSecondText, cp("Москва")),
                         Tlv().setText(tags::kRegistrationThirdText, cp("Касса 1")), vat.toTlv(0)},
                        numbers));
    day.push_back(store(7, {}, {}, {}));
    FrStatus::status().setFlag(FrStatus::shiftOpen, true);
    day.push_back(store(5, {}, {}, eightBytes(50'000)));
    Bytes payments = eightBytes(100'000);
    const Bytes card = eightBytes(0);
    payments.insert(payments.end(), card.begin(), card.end());
    day.push_back(store(
        3, {0},
        {position(cp("Хлеб"), 4'550, 1), Tlv().setText(tags::kAdditionalLineText, cp("Спасибо!")),
         position(cp("Молоко"), 8'990, 2)},
        payments));
    day.push_back(store(2, {}, {}, {}));

    for (std::uint32_t n = 1; n <= day.size(); ++n) {
        const auto& original = day[n - 1];
        auto back = readBack(n);
        ASSERT_TRUE(back) << n;
        EXPECT_EQ(back->documentNumber(), n);
        EXPECT_EQ(back->fiscalSign(), original->fiscalSign()) << n;
        EXPECT_TRUE(back->verifySign(device.key, device.model.serialText())) << n;
        EXPECT_EQ(back->toTlv(), original->toTlv()) << n;
        EXPECT_EQ(back->printHeader(), original->printHeader()) << n;
        EXPECT_EQ(back->printFooter(true), original->printFooter(true)) << n;
    }
    auto receipt = std::dynamic_pointer_cast<ReceiptDoc>(readBack(4));
    ASSERT_TRUE(receipt);
    EXPECT_EQ(receipt->stateReply(), day[3]->stateReply()) << "positions and total";
    // The Z report carries the shift's counters: the receipt and the cash in.
    const auto zReport = readBack(5);
    const CounterSet* shift = zReport->carriedCounters();
    ASSERT_TRUE(shift);
    EXPECT_EQ(shift->receiptCount, 1u);
    EXPECT_EQ(shift->cashInAmount, 50'000u);

    // The receipt's header check values cover all it stored.
    DocDescriptor header;
    ASSERT_TRUE(archive.readHeader(4, header));
    const Bytes file = testing_support::fileBytes(board.file("/mnt/sd/V0XD24TX"));
    const Bytes data(
        file.begin() + static_cast<std::ptrdiff_t>(header.dataOffset),
        file.begin() + static_cast<std::ptrdiff_t>(header.dataOffset + header.dataLength));
    EXPECT_EQ(header.dataCrc, crc::crc16(data));
    EXPECT_EQ(header.headerCrc, header.computeHeaderCrc());
    EXPECT_EQ(header.dataOffset + header.dataLength, [&] {
        DocDescriptor close;
        archive.readHeader(5, close);
        return close.dataOffset;
    }()) << "the next document's data follows all of the receipt's";
}

}  // namespace
