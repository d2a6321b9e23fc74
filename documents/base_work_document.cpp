#include "documents/base_work_document.h"

#include "common/bytes.h"
#include "documents/document_type.h"
#include "documents/fiscal_sign.h"
#include "encoding/tags.h"
#include "storage/archive_limits.h"

bool BaseWorkDocument::isComplete() const {
    if (!isKnownDocumentType(documentType()) || fiscalSign() == 0 || !cashier().usable() ||
        !modelRecord().isValid() || !registrationRecord().isValid())
        return false;
    return !isWorkDocumentType(documentType()) ||
           (documentNumber_ != 0 && registrationNumber_ != 0);
}

bool BaseWorkDocument::signingRecordsValid(const Bytes& deviceKey,
                                           std::string_view serialNumber) const {
    const std::string key = toString(deviceKey);
    return modelRecord().checkModel(key) &&
           registrationRecord().checkRegistration(serialNumber, key);
}

bool BaseWorkDocument::verifySign(const Bytes& deviceKey, std::string_view serialNumber) const {
    if (!signingRecordsValid(deviceKey, serialNumber)) return false;
    // The sign was made before it was part of the document: a receipt signs
    // its own tagged values, which then held a sign of 0.
    const std::shared_ptr<BaseWorkDocument> asSigned = clone();
    asSigned->setFiscalSign(0);
    return fiscalSignOf(deviceKey, serialNumber, asSigned->signData()) == fiscalSign();
}

bool BaseWorkDocument::sign(const Bytes& deviceKey, std::string_view serialNumber) {
    if (!signingRecordsValid(deviceKey, serialNumber)) return false;
    setFiscalSign(fiscalSignOf(deviceKey, serialNumber, signData()));
    return true;
}

BaseWorkDocument* BaseWorkDocument::copyInto(BaseWorkDocument* other) const {
    if (!other || other->documentType() != documentType()) return other;
    other->copyBaseFieldsFrom(*this);
    other->documentNumber_ = documentNumber_;
    other->registrationNumber_ = registrationNumber_;
    return other;
}

bool BaseWorkDocument::isStorable() const {
    return isWorkDocumentType(documentType()) && modelRecord().isValid() &&
           registrationRecord().isValid();
}

ResultCode BaseWorkDocument::applyOpenData(std::span<const std::uint8_t> openData) {
    setShiftNumber(FrStatus::status().shiftNumber());
    if (openData.empty()) return ResultCode::Success;
    const std::size_t nameLength = openData[0];
    if (nameLength == 0) return ResultCode::Success;
    if (openData.size() - 1 < nameLength) return ResultCode::MalformedOpenData;
    const auto name = openData.subspan(1, nameLength);
    setCashierName(std::string(name.begin(), name.end()));
    return ResultCode::Success;
}

ResultCode BaseWorkDocument::addItem(const Tlv& value, std::string&) {
    if (value.tag != tags::kCashierName) return ResultCode::TagNotAccepted;
    setCashierName(value.getText());
    return ResultCode::Success;
}

ResultCode BaseWorkDocument::closeCommon(std::uint32_t now, std::uint16_t& missingTag) {
    setDateTime(now);
    if (cashier().name.empty()) {
        missingTag = tags::kCashierName;
        return ResultCode::RequiredTagMissing;
    }
    return ResultCode::Success;
}

Bytes BaseWorkDocument::closeReply() const {
    Bytes reply;
    le::put32(reply, documentNumber_);
    le::put32(reply, fiscalSign());
    le::put32(reply, dateTime());
    return reply;
}

Bytes BaseWorkDocument::closeReplyWithShift() const {
    Bytes reply = BaseWorkDocument::closeReply();
    le::put16(reply, shiftNumber());
    return reply;
}

Bytes BaseWorkDocument::stateReply() const { return Bytes{documentType()}; }

std::size_t BaseWorkDocument::maxDataSize() const { return archive_limits::kMaxDocumentDataBytes; }

std::vector<Bytes> BaseWorkDocument::archiveParts() { return {}; }

std::string BaseWorkDocument::summaryHead() const { return {}; }

std::string BaseWorkDocument::summaryTail() const { return {}; }
