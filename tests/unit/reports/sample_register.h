#pragma once
// A registered register on a temporary board for the report tests: the
// sample device's key and factory record, the cashier table, an archive on
// the card, and documents made, stored and accounted for in the device
// status the way the documents commands do it. Every document keeps the
// bytes it printed as it was filled, so a test can hold a reprint against
// the original.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/cashiers.h"
#include "config/identity.h"
#include "config/sections.h"
#include "documents/make_document.h"
#include "documents/receipt_doc.h"
#include "encoding/tags.h"
#include "state/status.h"
#include "storage/document_archive.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"
#include "tests/unit/documents/sample_device.h"

namespace sample {

// A position of `kopecks` at quantity 1 under tax 1, and a free text line.
inline Tlv position(const std::string& utf8Name, std::int64_t kopecks) {
    return Tlv().setContainer(tags::kPosition,
                              {Tlv().setText(tags::kPositionName, cp(utf8Name.c_str())),
                               Tlv().setVarInt(tags::kPrice, kopecks),
                               Tlv().setVarDecimal(tags::kQuantity, Decimal(1, 1)),
                               Tlv().setU8(tags::kPositionTaxNumber, 1)});
}
inline Tlv textLine(const std::string& utf8) {
    return Tlv().setText(tags::kAdditionalLineText, cp(utf8.c_str()));
}

class Register {
  public:
    // A document as stored, with what was printed while it was filled.
    struct Made {
        std::shared_ptr<BaseWorkDocument> document;
        std::string itemsPrinted;
        std::uint32_t number() const { return document->documentNumber(); }
    };

    Register() {
        board.addCardAndEeprom();
        identity::store().setDeviceKey(device.key);
        identity::store().publishFactoryData(device.model);
        cashiers().prepareCashiers();
        device.cashier.rights = kRightSale | kRightReports | kRightReturn;
        cashiers().writeCashier(device.cashier);
        sections().loadSections();
        archive = std::make_unique<DocumentArchive>("/mnt/sd/V0XD24TX", documentFactory());
        archive->openOrCreate();
        FrStatus::status().setFlag(FrStatus::archiveMounted | FrStatus::archiveReady, true);
    }

    // A registration report with the sample registration's texts, tax and
    // numbers: the device's registration from then on.
    Made registerDevice() {
        const RegData& r = device.registration;
        Bytes numbers = toBytes(r.taxpayerNumberText());
        numbers.resize(12);
        le::putText(numbers, r.storageNumberText().substr(0, 16));
        return make(
            FrStatus::registrationDoc, {},
            {Tlv().setText(tags::kRegistrationFirstText, r.regText1()),
             Tlv().setText(tags::kRegistrationSecondText, r.regText2()),
             Tlv().setText(tags::kRegistrationThirdText, r.regText3()), r.taxAt(0).toTlv(0)},
            numbers);
    }
    Made openShift() { return make(FrStatus::shiftOpenDoc); }
    Made closeShift() { return make(FrStatus::shiftCloseDoc); }
    // A receipt of `kind` with its positions and text lines in the order
    // given, paid with `cash` (0: exactly, in cash).
    Made receipt(std::uint8_t kind, std::vector<Tlv> items, std::int64_t cash = 0) {
        Bytes payments;
        le::put64(payments, static_cast<std::uint64_t>(cash));
        le::put64(payments, 0);
        return make(FrStatus::receiptDoc, {kind}, items, payments);
    }
    Made cashIn(std::int64_t kopecks) {
        Bytes amount;
        le::put64(amount, static_cast<std::uint64_t>(kopecks));
        return make(FrStatus::cashInDoc, {}, {}, amount);
    }

    testing_support::ScopedTempBoard board;
    Device device = sample::device();
    std::unique_ptr<DocumentArchive> archive;

  private:
    Made make(std::uint8_t type, const Bytes& openData = {}, const std::vector<Tlv>& items = {},
              const Bytes& closeData = {}) {
        const RegData registration = *identity::store().registrationData();
        Made made{makeDocument(type, &device.model, &registration, device.cashier), {}};
        BaseWorkDocument& doc = *made.document;
        EXPECT_EQ(doc.applyOpenData(openData), ResultCode::Success);
        for (const Tlv& item : items) {
            std::string printed;
            EXPECT_EQ(doc.addItem(item, printed), ResultCode::Success) << item.tag;
            made.itemsPrinted += printed;
        }
        std::uint16_t missing = 0;
        EXPECT_EQ(doc.close(static_cast<std::uint32_t>(board.board().clock), device.key, closeData,
                            missing),
                  ResultCode::Success)
            << missing;
        if (type == FrStatus::registrationDoc)
            doc.setRegistrationRecordNumber(archive->readArchiveIdentifier());
        EXPECT_EQ(archive->storeDocument(made.document), ResultCode::Success);
        account(doc);
        board.board().clock += 60;  // one document a minute
        return made;
    }

    // The device status after a stored document, as the documents commands
    // keep it.
    void account(const BaseWorkDocument& doc) {
        FrStatus::Store& status = FrStatus::status();
        switch (doc.documentType()) {
            case FrStatus::shiftOpenDoc:
                status.setFlag(FrStatus::shiftOpen, true);
                status.setShiftReceipts(0);
                status.setOpenDocumentNumber(doc.documentNumber());
                status.setOpenTime(doc.dateTime());
                status.setCloseTime(0);
                break;
            case FrStatus::shiftCloseDoc:
                status.setFlag(FrStatus::shiftOpen, false);
                status.setCloseTime(doc.dateTime());
                break;
            case FrStatus::receiptDoc:
                status.setShiftReceipts(dynamic_cast<const ReceiptDoc&>(doc).receiptNumber());
                break;
            default:
                break;
        }
        status.setCloseDocumentNumber(doc.documentNumber());
        status.setLastDocumentNumber(doc.documentNumber());
        status.setLastDocumentTime(doc.dateTime());
        status.setShiftNumber(doc.shiftNumber());
    }
};

}  // namespace sample
