#include "documents/make_document.h"

#include "documents/archive_close_doc.h"
#include "documents/cash_ctrl_document.h"
#include "documents/close_cycle_doc.h"
#include "documents/cycle_open_document.h"
#include "documents/fiscalization_document.h"
#include "documents/receipt_doc.h"
#include "state/status.h"

std::shared_ptr<BaseWorkDocument> makeDocument(std::uint8_t type, const ModelData* model,
                                               const RegData* registration,
                                               const Cashier& cashier) {
    switch (type) {
        case FrStatus::registrationDoc:
            return std::make_shared<FiscalizationDocument>(model, cashier);
        case FrStatus::shiftCloseDoc:
            return std::make_shared<CloseCycleDoc>(model, registration, cashier);
        case FrStatus::archiveCloseDoc:
            return std::make_shared<ArchiveCloseDoc>(model, registration, cashier);
        case FrStatus::cashInDoc:
        case FrStatus::cashOutDoc:
            return std::make_shared<CashCtrlDocument>(type == FrStatus::cashInDoc, model,
                                                      registration, cashier);
        case FrStatus::receiptDoc:
            return std::make_shared<ReceiptDoc>(model, registration, cashier);
        case FrStatus::shiftOpenDoc:
            return std::make_shared<CycleOpenDocument>(model, registration, cashier);
        default:
            return nullptr;
    }
}

DocumentFactory documentFactory() {
    return [](std::uint8_t type, const ModelData& model, const RegData& registration,
              std::uint8_t cashierNumber) -> std::shared_ptr<StoredDocument> {
        Cashier cashier;
        cashier.number = cashierNumber;
        return makeDocument(type, &model, &registration, cashier);
    };
}
