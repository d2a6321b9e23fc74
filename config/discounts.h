#pragma once
// The discount table: twenty discount records (encoding/discount.h) of 138
// bytes in "/nv/DISCOUNTS". In memory only the valid discounts are kept, in
// a map filled at start-up.

#include <cstdint>
#include <map>
#include <optional>

#include "common/thread_annotations.h"
#include "encoding/discount.h"

// The discount table. Every operation holds the table's mutex throughout.
class DiscountTable {
  public:
    // Empties the map; creates the file whole (records zero but for their
    // number) when missing, completes a short one the same way, then enters
    // every valid stored discount.
    void loadDiscounts();

    // The discount, or an empty one carrying `number`; nothing for a number
    // outside 1..20.
    std::optional<Discount> getDiscount(std::uint8_t number);

    // Removes the number from the map, writes the record and flushes; a valid
    // discount written whole enters the map again (so writing an invalid one
    // deletes the discount). True when the whole record was written.
    bool writeDiscount(const Discount& d);

    // Empties the map (a fresh process, for tests).
    void reset();

    static DiscountTable& process();

  private:
    // Held for the whole of every operation, file access included.
    Mutex mutex_;
    std::map<std::uint8_t, Discount> map_ GUARDED_BY(mutex_);
};

inline DiscountTable& discounts() { return DiscountTable::process(); }
