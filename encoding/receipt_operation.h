#pragma once
// ReceiptOperation: one position of a cash receipt: what was sold, at what
// price, in what quantity, in which section, under which tax and with which
// discount. Its money arithmetic, its validity and its tagged form
// (container 11059). The printed form is in printing/receipt_operation_print.h.
//
// A position refers to its section, tax and discount records without owning
// them: the receipt that holds the position owns the records, and sets the
// references after looking the numbers up.
//
// Container 11059, children in this order:
//   11163 code          Text     when not empty
//   12000 secondText    Text     when not empty
//   11030 name          Text     when not empty
//   12108 unit          Text     when not empty
//   11301 section       U8       the section's number, when one is attached
//   11199 taxNumber     U8       always
//   11102 taxSum        VarInt   when the attached tax charges something
//   11079 price         VarInt   always
//   11304 discount      VarInt   with a valid table discount, or a discountSum above 0
//   11043 total         VarInt   total after discount, always
//   11023 quantity      VarDecimal at its own scale, always
//   11029 extraLine     Text     when present and not empty
// Amounts are the raw values of their Decimals (kopecks at scale 100).

#include <cstdint>
#include <optional>
#include <string>

#include "encoding/decimal.h"
#include "encoding/discount.h"
#include "encoding/section.h"
#include "encoding/tax.h"
#include "encoding/tlv.h"

struct ReceiptOperation {
    static constexpr std::size_t kMaxText = 127;  // code, secondText and name
    static constexpr std::size_t kMaxUnit = 15;
    // What a position keeps of an extra line the host sends.
    static constexpr std::size_t kMaxExtraLine = 256;

    std::string code;        // CP866, product code
    std::string secondText;  // CP866, stored and passed on, never printed
    std::string name;        // CP866
    std::string unit;        // CP866, printed after the quantity
    Decimal price;           // one unit, kopecks at scale 100
    Decimal quantity;        // at the scale it arrived with
    std::uint8_t taxNumber = 0;
    const Section* section = nullptr;
    const Tax* tax = nullptr;
    const Discount* discount = nullptr;
    Decimal discountSum;  // used when no valid table discount is attached
    std::optional<std::string> extraLine;

    // price × quantity at the price's scale, rounded by the register's mode.
    Decimal cost() const;
    // A valid table discount is attached.
    bool hasTableDiscount() const;
    // The table discount applied to the cost, or else discountSum.
    Decimal discountAmount() const;
    // cost − discount amount, at the larger of their scales.
    Decimal totalAfterDiscount() const;
    // The attached tax on the total after discount; 0 at scale 100 without a tax.
    Decimal taxSum() const;

    // The total after discount is not negative; a valid tax is attached and
    // taxNumber is 1..5; a section 1..20 is attached and there is a name; the
    // quantity is above 0; the texts are within their lengths. Besides: no
    // amount has overflowed 64 bits (a wrapped amount would be stored and
    // counted as if it were money) and discountSum is not negative (the
    // position would cost more than it prints).
    bool isValid() const;

    // Container 11059 (see above).
    Tlv toTlv() const;

    // Fills the field that a child of a position container names: 11163,
    // 12000, 11030, 12108, 11029 (its first 256 bytes; present from then on),
    // 11079 and 11304 (VarInt kopecks at scale 100), 11023 (VarDecimal).
    // False, changing nothing, for any other tag: the numbers that refer to
    // records are the caller's to resolve.
    bool setField(const Tlv& child);

    // Reads a stored position: both out-numbers set to 0 and extraLine
    // cleared, then the children applied in order (a repeated tag
    // overwrites): the fields of setField, 11199 into taxNumber and
    // `taxNumberOut`, 11301 into `sectionNumber`; the tax sum (11102) and
    // the total (11043) follow from the fields and are passed over. Any
    // other child is skipped after its diagnostic line. Never fails; the
    // references are left for the caller.
    void setStorageTag(const Tlv& container, std::uint8_t& sectionNumber,
                       std::uint8_t& taxNumberOut);

    // The quantity without trailing fraction zeros ("2", "1.5", "0.25"),
    // followed, when asked and there is a unit, by a space and the unit.
    std::string quantityText(bool withUnit) const;
};

// Equal code, name, unit, price, quantity (by value), taxNumber and
// extraLine, and the same section, tax and discount records (by identity).
// secondText and discountSum are not compared.
bool operator==(const ReceiptOperation& a, const ReceiptOperation& b);
