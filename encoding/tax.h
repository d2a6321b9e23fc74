#pragma once
// Taxes: the five taxes of the registration record. A tax has no file of
// its own; it travels as a 32-byte record and as tagged values.
//
// Tax record:
//   0   2    little-endian word: bits 0..13 the rate in hundredths of a
//            percent, bits 14..15 the kind
//   2   30   name (CP866): up to the first zero byte, or all 30 bytes

#include <cstdint>
#include <optional>
#include <string>

#include "common/bytes.h"
#include "encoding/decimal.h"
#include "encoding/tlv.h"

struct Tax {
    static constexpr std::size_t kSize = 32;
    static constexpr std::size_t kMaxName = 30;
    static constexpr std::uint16_t kMaxRate = 9999;
    static constexpr std::uint16_t kRateMask = 0x3FFF;
    // Kinds.
    static constexpr std::uint8_t kNoTax = 0;      // nothing is charged
    static constexpr std::uint8_t kContained = 1;  // contained in the amount
    static constexpr std::uint8_t kOnTop = 2;      // charged on top of the amount
    static constexpr std::uint8_t kNotSet = 3;
    // Tax indexes 0..4 (tax numbers 1..5).
    static constexpr unsigned kCount = 5;

    std::uint16_t rate = 0;  // hundredths of a percent: 2000 is 20.00 %
    std::uint8_t kind = kNotSet;
    std::string name;  // CP866

    // Rate at most 9999, kind set and a name.
    bool isValid() const;
    // Kind 0 or rate 0.
    bool chargesNothing() const { return kind == kNoTax || rate == 0; }

    // Container 13105 + index holding 13102 (kind), 13103 (rate), 13104
    // (name) and, in the second form, 11102 (the sum's kopecks). An empty
    // Tlv for an index of 5 or more.
    Tlv toTlv(unsigned index) const;
    Tlv toTlv(unsigned index, const Decimal& sum) const;

    // Reads container 13105..13109 (index = tag - 13105) starting from an
    // empty tax. A name is taken only when 1..30 bytes long; a kind above 3,
    // which the record cannot hold, reads as not set. Any child other than
    // 13102..13104 (and 11102 in the second form), or children that do not
    // decode, fail the reading.
    bool fromTlv(const Tlv& container, unsigned& index);
    bool fromTlv(const Tlv& container, unsigned& index, Decimal& sum);
};

// A tax container whose kind child (13102) names a kind above 3, which
// reading would clamp to "not set": a tax the register does not know.
bool hasUnknownTaxKind(const Tlv& container);

Bytes encodeTax(const Tax& t);
// Exactly 32 bytes holding a valid tax.
std::optional<Tax> decodeTax(const Bytes& record);

// The rate at scale 100: 2000 gives 20.00.
Decimal taxRate(const Tax& t);
// The name of a valid tax; empty for an invalid one.
std::string taxLabel(const Tax& t);
// The rate with its first ".00" removed, then "%": 20%, 16.67%, 0%.
std::string taxRateText(const Tax& t);
// The tax on `amount` (a position's total after discount): 0 at the amount's
// scale for an invalid tax or an amount not above 0; the amount itself for
// a tax that charges nothing; for kind 1 r / (r + 100) × amount, for kind 2
// r × amount / 100 (r the rate in percent), computed in floating point.
Decimal taxAmount(const Tax& t, const Decimal& amount);
