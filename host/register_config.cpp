// Typed calls for the reference records, the clock and the settings
// (1, 2, 3, 4, 64, 65, 193, 194).

#include "host/answer.h"
#include "host/register.h"
#include "host/rules.h"

namespace hostkit {

namespace {

enum : std::uint8_t {
    kReadRecord = 1,
    kWriteRecord = 2,
    kReadClock = 3,
    kSetClock = 4,
    kReadDeviceSetting = 64,
    kSetDeviceSetting = 65,
    kReadPrinterSetting = 193,
    kSetPrinterSetting = 194,
};

constexpr std::uint8_t kRoundingParameter = 1;
constexpr std::uint8_t kPaperWidthParameter = 1;
constexpr std::uint8_t kPrinterFlagsParameter = 2;

Bytes recordRequest(RecordType type, std::uint8_t number) {
    return {static_cast<std::uint8_t>(type), number};
}

Bytes withType(RecordType type, const Bytes& record) {
    Bytes payload{static_cast<std::uint8_t>(type)};
    le::putBytes(payload, record);
    return payload;
}

// The name rule of a record; `max` characters fit its field.
rules::Broken nameRule(const std::string& name, std::size_t max) {
    std::string cp866;
    return rules::text(name, "a name", 0, max, cp866);
}

}  // namespace

Result<CashierRecord> Register::readCashier(std::uint8_t number) {
    if (auto broken = rules::cashierNumber(number)) return Rejected{*broken};
    return decodeAnswer<CashierRecord>(
        authorised(kReadRecord, recordRequest(RecordType::Cashier, number)), kReadRecord,
        decodeCashier);
}

Result<SectionRecord> Register::readSection(std::uint8_t number) {
    if (auto broken = rules::recordNumber("section", number)) return Rejected{*broken};
    return decodeAnswer<SectionRecord>(
        authorised(kReadRecord, recordRequest(RecordType::Section, number)), kReadRecord,
        decodeSection);
}

Result<DiscountRecord> Register::readDiscount(std::uint8_t number) {
    if (auto broken = rules::recordNumber("discount", number)) return Rejected{*broken};
    return decodeAnswer<DiscountRecord>(
        authorised(kReadRecord, recordRequest(RecordType::Discount, number)), kReadRecord,
        decodeDiscount);
}

Result<CashierRecord> Register::writeCashier(const CashierRecord& c) {
    if (auto broken = rules::cashierNumber(c.number)) return Rejected{*broken};
    if (auto broken = nameRule(c.name, rules::kCashierName)) return Rejected{*broken};
    return decodeAnswer<CashierRecord>(
        authorised(kWriteRecord, withType(RecordType::Cashier, encodeCashier(c))), kWriteRecord,
        decodeCashier);
}

Result<SectionRecord> Register::writeSection(const SectionRecord& s) {
    if (auto broken = rules::recordNumber("section", s.number)) return Rejected{*broken};
    if (auto broken = nameRule(s.name, rules::kSectionName)) return Rejected{*broken};
    return decodeAnswer<SectionRecord>(
        authorised(kWriteRecord, withType(RecordType::Section, encodeSection(s))), kWriteRecord,
        decodeSection);
}

Result<DiscountRecord> Register::writeDiscount(const DiscountRecord& d) {
    if (auto broken = rules::recordNumber("discount", d.number)) return Rejected{*broken};
    if (auto broken = nameRule(d.name, rules::kDiscountName)) return Rejected{*broken};
    if (d.kind == DiscountKind::Percent)
        if (auto broken = rules::discountPercent(d.value)) return Rejected{*broken};
    if (d.kind == DiscountKind::Amount)
        if (auto broken = rules::discountAmount(d.value)) return Rejected{*broken};
    return decodeAnswer<DiscountRecord>(
        authorised(kWriteRecord, withType(RecordType::Discount, encodeDiscount(d))), kWriteRecord,
        decodeDiscount);
}

Result<std::uint32_t> Register::readClock() {
    return decodeAnswer<std::uint32_t>(client_.call(kReadClock), kReadClock,
                                       [](const Bytes& data) -> std::optional<std::uint32_t> {
                                           if (data.size() != 4) return std::nullopt;
                                           return le::u32(data.data());
                                       });
}

Result<Done> Register::setClock(std::uint32_t seconds) {
    Bytes payload;
    le::put32(payload, seconds);
    return doneAnswer(authorised(kSetClock, payload));
}

Result<Bytes> Register::readSetting(std::uint8_t command, std::uint8_t parameter,
                                    std::size_t size) {
    return decodeAnswer<Bytes>(authorised(command, Bytes{parameter}), command,
                               [size](const Bytes& data) -> std::optional<Bytes> {
                                   if (data.size() != size) return std::nullopt;
                                   return data;
                               });
}

Result<std::uint8_t> Register::roundingMode() {
    Result<Bytes> r = readSetting(kReadDeviceSetting, kRoundingParameter, 1);
    if (!r) return r.failure<std::uint8_t>();
    return r.value()[0];
}

Result<Done> Register::setRoundingMode(std::uint8_t mode) {
    return doneAnswer(authorised(kSetDeviceSetting, Bytes{kRoundingParameter, mode}));
}

Result<std::uint8_t> Register::paperWidth() {
    Result<Bytes> r = readSetting(kReadPrinterSetting, kPaperWidthParameter, 1);
    if (!r) return r.failure<std::uint8_t>();
    return r.value()[0];
}

Result<Done> Register::setPaperWidth(std::uint8_t millimetres) {
    if (auto broken = rules::paperWidth(millimetres)) return Rejected{*broken};
    return doneAnswer(authorised(kSetPrinterSetting, Bytes{kPaperWidthParameter, millimetres}));
}

Result<std::uint32_t> Register::printerFlags() {
    Result<Bytes> r = readSetting(kReadPrinterSetting, kPrinterFlagsParameter, 4);
    if (!r) return r.failure<std::uint32_t>();
    return le::u32(r.value().data());
}

Result<Done> Register::setPrinterFlags(std::uint32_t flags) {
    Bytes payload{kPrinterFlagsParameter};
    le::put32(payload, flags);
    return doneAnswer(authorised(kSetPrinterSetting, payload));
}

}  // namespace hostkit
