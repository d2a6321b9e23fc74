// The stored receipt: its data, the further parts the archive writes after
// it, and the way back from them.

#include "documents/receipt_doc.h"
#include "encoding/tags.h"
#include "storage/archive_limits.h"

Bytes ReceiptDoc::toTlv() const {
    Bytes data = BaseWorkDocument::toTlv();
    Tlv().setU16(tags::kReceiptNumber, receiptNumber_).encodeTo(data);
    Tlv().setVarInt(tags::kReceiptTotal, total_.value()).encodeTo(data);
    const auto addPositive = [&](std::uint16_t tag, const Decimal& amount) {
        if (amount.value() > 0) Tlv().setVarInt(tag, amount.value()).encodeTo(data);
    };
    addPositive(tags::kCashPayment, cash_);
    addPositive(tags::kNonCashPayment, nonCash_);
    addPositive(tags::kChange, change_);
    Tlv().setU16(tags::kShiftNumber, shiftNumber()).encodeTo(data);
    Tlv().setU8(tags::kReceiptKind, receiptKind_).encodeTo(data);
    for (const AdditionalLine& line : textLines_)
        if (line.usable()) line.toTlv().encodeTo(data);
    return data;
}

Bytes ReceiptDoc::signData() const {
    Bytes data = toTlv();
    le::put32(data, registrationRecord().checkValue());
    return data;
}

std::size_t ReceiptDoc::storedDataSize() const {
    // The payments are known only at the close: room for the largest of
    // each (cash, non-cash, change).
    constexpr std::size_t kPaymentsRoom = 3 * (Tlv::kHeaderSize + 8);
    std::size_t size = toTlv().size() + kPaymentsRoom + storedPositionsSize_;
    for (const auto& [number, sum] : taxSums_) size += taxContainer(number, sum).size();
    for (const auto& [number, sum] : sectionSums_) size += sectionContainer(number).size();
    return size;
}

Bytes ReceiptDoc::taxContainer(std::uint8_t number, const Decimal& sum) const {
    const auto tax = taxes_.find(number);
    return (tax == taxes_.end() ? Tax() : tax->second).toTlv(number - 1, sum).encode();
}

Bytes ReceiptDoc::sectionContainer(std::uint8_t number) const {
    const auto section = sections_.find(number);
    return (section == sections_.end() ? Section{number, ""} : section->second).toTlv().encode();
}

std::size_t ReceiptDoc::maxDataSize() const { return archive_limits::kMaxReceiptDataBytes; }

std::vector<Bytes> ReceiptDoc::archiveParts() {
    std::vector<Bytes> parts;
    for (const auto& [number, sum] : taxSums_) parts.push_back(taxContainer(number, sum));
    for (const auto& [number, sum] : sectionSums_) parts.push_back(sectionContainer(number));
    for (const ReceiptOperation& position : positions_) parts.push_back(position.toTlv().encode());
    return parts;
}

void ReceiptDoc::setStoredTag(const Tlv& value) {
    switch (value.tag) {
        case tags::kReceiptTotal:
            total_ = Decimal(100, value.getVarInt());
            return;
        case tags::kCashPayment:
            cash_ = Decimal(100, value.getVarInt());
            return;
        case tags::kNonCashPayment:
            nonCash_ = Decimal(100, value.getVarInt());
            return;
        case tags::kChange:
            change_ = Decimal(100, value.getVarInt());
            return;
        case tags::kReceiptNumber:
            receiptNumber_ = value.getU16();
            return;
        case tags::kReceiptKind:
            receiptKind_ = value.getU8();
            return;
        case tags::kAdditionalLine: {
            AdditionalLine line;
            if (line.fromTlv(value)) textLines_.push_back(std::move(line));
            return;
        }
        case tags::kSection: {
            Section section;
            if (section.fromTlv(value)) sections_[section.number] = section;
            return;
        }
        case tags::kPosition: {
            ReceiptOperation position;
            std::uint8_t sectionNumber = 0;
            std::uint8_t taxNumber = 0;
            position.setStorageTag(value, sectionNumber, taxNumber);
            position.section =
                &sections_.try_emplace(sectionNumber, Section{sectionNumber, ""}).first->second;
            position.tax = &taxes_.try_emplace(taxNumber).first->second;
            // The departments of a rebuilt receipt count as they did when it
            // was stored.
            sectionSums_[sectionNumber] += position.totalAfterDiscount();
            positions_.push_back(std::move(position));
            return;
        }
        default:
            break;
    }
    if (value.tag >= tags::kTaxFirst && value.tag <= tags::kTaxLast) {
        Tax tax;
        unsigned index = 0;
        Decimal sum;
        if (!tax.fromTlv(value, index, sum)) return;
        const auto number = static_cast<std::uint8_t>(index + 1);
        taxes_[number] = tax;
        taxSums_[number] = sum;
        return;
    }
    BaseWorkDocument::setStoredTag(value);
}
