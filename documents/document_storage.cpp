// The stored form of a document: its header, its tagged values, and the
// way back from them.

#include <string>

#include "common/crc.h"
#include "documents/base_work_document.h"
#include "encoding/tags.h"
#include "encoding/unknown_tag.h"

namespace {

constexpr std::size_t kMaxStoredName = 256;

}  // namespace

Bytes BaseWorkDocument::toTlv() const {
    Bytes data{documentType()};
    Tlv().setU32(tags::kDocumentNumber, documentNumber_).encodeTo(data);
    Tlv().setU32(tags::kDocumentRegistrationNumber, registrationNumber_).encodeTo(data);
    Tlv()
        .setText(tags::kCashierName, std::string_view(cashier().name).substr(0, kMaxStoredName))
        .encodeTo(data);
    Tlv().setU32(tags::kDateTime, dateTime()).encodeTo(data);
    Tlv().setU32(tags::kFiscalSign, fiscalSign()).encodeTo(data);
    return data;
}

void BaseWorkDocument::setStoredTag(const Tlv& value) {
    switch (value.tag) {
        case tags::kDateTime:
            setDateTime(static_cast<std::uint32_t>(value.getU32OrU64()));
            break;
        case tags::kCashierName:
            setCashierName(value.getText());
            break;
        case tags::kShiftNumber:
            setShiftNumber(value.getU16());
            break;
        case tags::kDocumentNumber:
            documentNumber_ = value.getU32();
            break;
        case tags::kFiscalSign:
            setFiscalSign(value.getU32());
            break;
        case tags::kDocumentRegistrationNumber:
            registrationNumber_ = value.getU32();
            break;
        default:
            reportUnknownTag("setStoredTag", value);
            break;
    }
}

DocDescriptor BaseWorkDocument::makeDescriptor() const {
    DocDescriptor header;
    header.type = documentType();
    header.number = documentNumber_;
    header.dateTime = dateTime();
    header.shiftNumber = shiftNumber();
    header.fiscalSign = fiscalSign();
    header.cashierNumber = cashier().number;
    return header;
}

Preparation BaseWorkDocument::prepareForStorage(std::uint32_t number,
                                                std::uint32_t registrationNumber,
                                                const Bytes& deviceKey, std::uint64_t dataOffset,
                                                PreparedDocument& out) {
    documentNumber_ = number;
    registrationNumber_ = registrationNumber;
    // A store that is tried again signs the document as the first try did:
    // with no sign yet among the values it signs.
    setFiscalSign(0);
    sign(deviceKey, modelRecord().serialText());
    if (!isComplete()) return Preparation::incomplete;
    Bytes data = toTlv();
    if (data.size() > maxDataSize()) return Preparation::tooLong;

    DocDescriptor header = makeDescriptor();
    header.dataCrc = crc::crc16(data);
    header.dataLength = static_cast<std::uint16_t>(data.size());
    header.dataOffset = dataOffset;
    // Readers check the header CRC with the registration number taken as
    // zero: it is put in only after the CRC is made.
    header.headerCrc = header.computeHeaderCrc();
    header.registrationNumber = registrationNumber_;

    out.header = header;
    out.parts.clear();
    out.parts.push_back(std::move(data));
    for (Bytes& part : archiveParts()) out.parts.push_back(std::move(part));
    return Preparation::ready;
}

void BaseWorkDocument::restoreHeader(const DocDescriptor& header) {
    documentNumber_ = header.number;
    setDateTime(header.dateTime);
    setShiftNumber(header.shiftNumber);
    setFiscalSign(header.fiscalSign);
    registrationNumber_ = header.registrationNumber;
}
