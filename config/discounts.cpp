#include "config/discounts.h"

#include "common/cp866.h"
#include "config/record_file.h"
#include "config/record_text.h"
#include "platform/files.h"

namespace {

constexpr const char* kDiscountsPath = "/nv/DISCOUNTS";

std::uint64_t offsetOf(std::uint8_t number) {
    return recordfile::offsetOf(number, Discount::kSize);
}

Discount fieldsOf(const Bytes& record) {
    Discount d;
    d.number = record[0];
    d.kind = record[1];
    d.value = static_cast<std::int64_t>(le::u64(&record[2]));
    d.name = record_text::read(&record[10], Discount::kMaxName);
    return d;
}

}  // namespace

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

std::optional<Discount> decodeDiscount(const Bytes& record) {
    if (record.size() != Discount::kSize || !validRecordNumber(record[0])) return std::nullopt;
    return fieldsOf(record);
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

void DiscountTable::loadDiscounts() {
    MutexLock lock(mutex_);
    map_.clear();
    recordfile::ensureWhole(kDiscountsPath, Discount::kSize,
                            recordfile::numberedRecords(Discount::kSize, kTableEntries));
    platform::FileHandle file(kDiscountsPath, "r+b");
    if (!file) return;
    for (std::uint8_t n = 1; n <= kTableEntries; ++n) {
        Bytes record;
        platform::readAt(file.get(), offsetOf(n), Discount::kSize, record);
        const Discount d = fieldsOf(record);
        // A stored number outside 1..20 could never be asked for.
        if (d.isValid() && validRecordNumber(d.number)) map_[d.number] = d;
    }
}

std::optional<Discount> DiscountTable::getDiscount(std::uint8_t number) {
    MutexLock lock(mutex_);
    if (!validRecordNumber(number)) return std::nullopt;
    auto it = map_.find(number);
    if (it != map_.end()) return it->second;
    Discount empty;
    empty.number = number;
    return empty;
}

bool DiscountTable::writeDiscount(const Discount& d) {
    MutexLock lock(mutex_);
    if (!validRecordNumber(d.number)) return false;
    platform::FileHandle file(kDiscountsPath, "r+b");
    if (!file) return false;
    const Bytes record = encodeDiscount(d);
    // Out of the map first: a write that fails leaves the discount unusable
    // rather than different from the file.
    map_.erase(d.number);
    const bool written =
        platform::writeAt(file.get(), offsetOf(d.number), record, platform::Durability::flushed);
    if (file.close() != 0 || !written) return false;
    if (d.isValid()) map_[d.number] = fieldsOf(record);  // as the file now holds it
    return true;
}

void DiscountTable::reset() {
    MutexLock lock(mutex_);
    map_.clear();
}

DiscountTable& DiscountTable::process() {
    static DiscountTable* table = new DiscountTable();  // lives until exit
    return *table;
}
