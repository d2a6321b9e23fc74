#pragma once
// A discount: referred to by number from receipt positions, a fixed amount
// or a percentage. The record the host exchanges and the table file holds
// (config/discounts.h keeps the table), its printed label and its amount.
//
// Discount record:
//   0   1    number
//   1   1    kind: 0 fixed amount, 1 percentage, 2 empty
//   2   8    value, little-endian signed: kopecks, or hundredths of a percent
//   10  128  name (CP866), zero-padded, cut to 127 bytes (byte 137 is 0)

#include <cstdint>
#include <optional>
#include <string>

#include "common/bytes.h"
#include "encoding/decimal.h"
#include "encoding/record_number.h"

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
// The fields of a 138-byte record as stored, whatever its number.
Discount discountFields(const Bytes& record);
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
