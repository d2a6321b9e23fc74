#include "host/records.h"

#include "common/cp866.h"
#include "common/record_text.h"

namespace hostkit {

namespace {

// A name field of `size` bytes at `offset`: the name, then zero bytes.
void putName(Bytes& record, std::size_t offset, std::size_t size, const std::string& utf8) {
    const std::string cp866 = cp866::fromUtf8(utf8);
    record_text::write(&record[offset], size, cp866.substr(0, size));
}

std::string nameAt(const Bytes& record, std::size_t offset, std::size_t size) {
    return cp866::toUtf8(record_text::read(&record[offset], size));
}

}  // namespace

Bytes encodeCashier(const CashierRecord& c) {
    Bytes record(kCashierRecordSize, 0);
    record[0] = c.number;
    le::store16(&record[1], c.rights);
    le::store32(&record[3], c.password);
    putName(record, 7, 255, c.name);
    return record;
}

std::optional<CashierRecord> decodeCashier(const Bytes& record) {
    if (record.size() != kCashierRecordSize) return std::nullopt;
    return CashierRecord{record[0], le::u16(&record[1]), le::u32(&record[3]),
                         nameAt(record, 7, 255)};
}

Bytes encodeSection(const SectionRecord& s) {
    Bytes record(kSectionRecordSize, 0);
    record[0] = s.number;
    putName(record, 1, 126, s.name);
    return record;
}

std::optional<SectionRecord> decodeSection(const Bytes& record) {
    if (record.size() != kSectionRecordSize) return std::nullopt;
    return SectionRecord{record[0], nameAt(record, 1, 127)};
}

Bytes encodeDiscount(const DiscountRecord& d) {
    Bytes record(kDiscountRecordSize, 0);
    record[0] = d.number;
    record[1] = static_cast<std::uint8_t>(d.kind);
    le::store64(&record[2], static_cast<std::uint64_t>(d.value));
    putName(record, 10, 127, d.name);
    return record;
}

std::optional<DiscountRecord> decodeDiscount(const Bytes& record) {
    if (record.size() != kDiscountRecordSize) return std::nullopt;
    return DiscountRecord{record[0], static_cast<DiscountKind>(record[1]),
                          static_cast<std::int64_t>(le::u64(&record[2])), nameAt(record, 10, 128)};
}

namespace {
constexpr std::uint16_t kTaxFirst = 13105;
constexpr std::uint16_t kTaxKindTag = 13102;
constexpr std::uint16_t kTaxRateTag = 13103;
constexpr std::uint16_t kTaxNameTag = 13104;
constexpr std::uint16_t kTaxSumTag = 11102;
}  // namespace

Tlv taxTlv(int index, const Tax& tax) {
    return containerTlv(
        static_cast<std::uint16_t>(kTaxFirst + index),
        {u8Tlv(kTaxKindTag, static_cast<std::uint8_t>(tax.kind)), u16Tlv(kTaxRateTag, tax.rate),
         textTlv(kTaxNameTag, cp866::fromUtf8(tax.name))});
}

std::optional<Tax> decodeTaxTlv(const Tlv& container) {
    if (container.tag < kTaxFirst || container.tag > kTaxFirst + 4) return std::nullopt;
    auto children = decodeTlvList(container.value);
    if (!children) return std::nullopt;
    Tax tax;
    for (const Tlv& child : *children) {
        if (child.tag == kTaxKindTag && child.value.size() == 1)
            tax.kind = static_cast<TaxKind>(child.value[0] & 3);
        else if (child.tag == kTaxRateTag && child.value.size() == 2)
            tax.rate = le::u16(child.value.data()) & 0x3FFF;
        else if (child.tag == kTaxNameTag)
            tax.name = cp866::toUtf8(toString(child.value));
        else if (child.tag != kTaxSumTag)
            return std::nullopt;
    }
    return tax;
}

}  // namespace hostkit
