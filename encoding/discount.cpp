#include "encoding/discount.h"

#include "common/cp866.h"
#include "common/record_text.h"

bool Discount::isValid() const {
    return (kind == kFixedAmount || kind == kPercentage) && value > 0;
}

Bytes encodeDiscount(const Discount& d) {
    Bytes record(Discount::kSize, 0);
    record[0] = d.number;
    record[1] = d.kind;
    le::store64(&record[2], static_cast<std::uint64_t>(d.value));
    record_text::write(&record[10], Discount::kMaxName,
                       std::string_view(d.name).substr(0, Discount::kMaxName));
    return record;
}

Discount discountFields(const Bytes& record) {
    Discount d;
    d.number = record[0];
    d.kind = record[1];
    d.value = static_cast<std::int64_t>(le::u64(&record[2]));
    d.name = record_text::read(&record[10], Discount::kMaxName);
    return d;
}

std::optional<Discount> decodeDiscount(const Bytes& record) {
    if (record.size() != Discount::kSize || !validRecordNumber(record[0])) return std::nullopt;
    return discountFields(record);
}

std::string discountLabel(const Discount& d) {
    if (!d.isValid()) return {};
    if (!d.name.empty()) return d.name;
    std::string label = cp866::fromUtf8("СКИДКА");
    if (d.kind == Discount::kPercentage) label += " " + Decimal(100, d.value).toText() + "%";
    return label;
}

Decimal discountAmount(const Discount& d, const Decimal& base) {
    if (base.value() <= 0 || !d.isValid()) return Decimal(base.scale());
    if (d.kind == Discount::kFixedAmount) return Decimal(100, d.value);
    const double b = base.toDouble();
    const double p = static_cast<double>(d.value) / 100.0;
    return Decimal::fromDouble(base.scale(), b * p / 100.0);
}
