#include "config/discounts.h"

#include "config/record_file.h"
#include "platform/files.h"

namespace {

constexpr const char* kDiscountsPath = "/nv/DISCOUNTS";

std::uint64_t offsetOf(std::uint8_t number) {
    return recordfile::offsetOf(number, Discount::kSize);
}

}  // namespace

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
        const Discount d = discountFields(record);
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
    if (d.isValid()) map_[d.number] = discountFields(record);  // as the file now holds it
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
