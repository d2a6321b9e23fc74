#pragma once
// Discounts: twenty records of 138 bytes in "/nv/DISCOUNTS", referred to by
// number from receipt positions. In memory only the valid discounts are
// kept, in a map filled at start-up.
//
// Discount record (file and host line):
//   0   1    number
//   1   1    kind: 0 fixed amount, 1 percentage, 2 empty
//   2   8    value, little-endian signed: kopecks, or hundredths of a percent
//   10  128  name (CP866), zero-padded, cut to 127 bytes (byte 137 is 0)

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "common/bytes.h"
#include "common/thread_annotations.h"
#include "config/record_number.h"
#include "encoding/decimal.h"

struct Discount {
    static constexpr std::size_t kSize = 138;
    static constexpr std::size_t kMaxName = 127;
    static constexpr std::uint8_t kFixedAmount = 0;
    static constexpr std::uint8_t kPercentage = 1;
    static constexpr std::uint8_t kEmpty = 2;

    std::uint8_t number = 0;
    std::uint8_t kind = kEmpty;
    std::int64_t value = 0;
    std::string name;  // CP866

    // Kind 0 or 1 and a value above 0.
    bool isValid() const;
};

Bytes encodeDiscount(const Discount& d);
// Exactly 138 bytes with a valid number.
std::optional<Discount> decodeDiscount(const Bytes& record);

// Empty for an invalid discount; the name; else "СКИДКА", and for a
// percentage a space, the percentage with two decimals and "%" (CP866).
std::string discountLabel(const Discount& d);

// The amount taken off a position whose cost is `base`: 0 at the base's
// scale for a base not above 0 or an invalid discount; a fixed amount at
// scale 100 (not limited by the base); a percentage of the base at the
// base's scale, computed in floating point.
Decimal discountAmount(const Discount& d, const Decimal& base);

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
