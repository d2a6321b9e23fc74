#include "documents/base_document.h"

BaseDocument::BaseDocument(std::uint8_t type, const ModelData* model, const RegData* registration,
                           const Cashier& cashier)
    : documentType_(type),
      modelRecord_(model ? *model : ModelData()),
      registrationRecord_(registration ? *registration : RegData()),
      cashier_(cashier) {}

void BaseDocument::setRegistrationRecordNumber(std::uint32_t number) {
    registrationRecord_.setRegistrationNumber(number);
}

void BaseDocument::copyBaseFieldsFrom(const BaseDocument& other) {
    modelRecord_ = other.modelRecord_;
    registrationRecord_ = other.registrationRecord_;
    shiftNumber_ = other.shiftNumber_;
    dateTime_ = other.dateTime_;
    fiscalSign_ = other.fiscalSign_;
    cashier_ = other.cashier_;
}
