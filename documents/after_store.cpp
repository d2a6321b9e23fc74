#include "documents/after_store.h"

#include <algorithm>

#include "documents/receipt_doc.h"

namespace {

// Puts `kopecks` into the drawer, or takes it out without going below 0.
void moveDrawerCash(FrStatus::Store& status, std::uint64_t kopecks, bool in) {
    const std::uint64_t drawer = status.cashInDrawer();
    status.setCashInDrawer(in ? drawer + kopecks : drawer - std::min(drawer, kopecks));
}

}  // namespace

void accountStoredDocument(const BaseWorkDocument& document, DocumentArchive& archive,
                           FrStatus::Store& status) {
    const std::uint32_t number = document.documentNumber();
    switch (document.documentType()) {
        case FrStatus::registrationDoc:
            status.setFlag(FrStatus::fiscalized, true);
            status.setRegistrationCount(archive.readRegistrationCount());
            break;
        case FrStatus::shiftCloseDoc:
            status.setFlag(FrStatus::shiftOpen, false);
            status.setCloseDocumentNumber(number);
            status.setCloseTime(document.dateTime());
            break;
        case FrStatus::receiptDoc:
            if (const auto* receipt = dynamic_cast<const ReceiptDoc*>(&document)) {
                moveDrawerCash(status, static_cast<std::uint64_t>(receipt->cash().value()),
                               receipt->isIncome());
                status.setShiftReceipts(receipt->receiptNumber());
            }
            status.setCloseDocumentNumber(number);
            break;
        case FrStatus::archiveCloseDoc:
            status.setFlag(FrStatus::archiveClosed, true);
            break;
        case FrStatus::cashInDoc:
        case FrStatus::cashOutDoc:
            moveDrawerCash(status, static_cast<std::uint64_t>(document.cashAmount()),
                           document.documentType() == FrStatus::cashInDoc);
            status.setCloseDocumentNumber(number);
            break;
        case FrStatus::shiftOpenDoc:
            status.setFlag(FrStatus::shiftOpen, true);
            status.setShiftReceipts(0);
            status.setOpenDocumentNumber(number);
            status.setOpenTime(document.dateTime());
            status.setCloseDocumentNumber(number);
            status.setCloseTime(0);
            break;
        default:
            break;
    }
    status.setLastDocumentNumber(number);
    status.setLastDocumentTime(document.dateTime());
    status.setShiftNumber(document.shiftNumber());
    status.setFreeDocumentPlaces(archive.freePlaces());
}

std::vector<std::string> storedDocumentPrints(const BaseWorkDocument& document,
                                              const BodyPrinter& body) {
    std::vector<std::string> prints;
    // A registration prints nothing when it is opened: its header comes now,
    // with the texts of the registration it made.
    if (document.documentType() == FrStatus::registrationDoc)
        prints.push_back(document.commonHeader());
    if (body) prints.push_back(body(document));
    prints.push_back(document.printFooter(true));
    std::erase_if(prints, [](const std::string& text) { return text.empty(); });
    return prints;
}
