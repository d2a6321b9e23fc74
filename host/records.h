#pragma once
// The reference records that commands 1 and 2 carry, and the tax record of
// the registration, with their byte layouts. Names are UTF-8 here and CP866
// in the bytes; encoders expect names that fit (rules::text checks them).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "host/tlv.h"

namespace hostkit {

// Record types of commands 1 and 2.
enum class RecordType : std::uint8_t { Cashier = 1, Section = 2, Discount = 3 };

// Cashier rights: the bits of the 16-bit CashierRecord::rights.
enum class Right : std::uint16_t {
    Sale = 0x0001,
    Reports = 0x0002,
    Settings = 0x0004,
    Registration = 0x0008,
    Return = 0x0010,
    Factory = 0x0020,
    Reference = 0x0080,
    Cashiers = 0x0100,
};
constexpr std::uint16_t rightBit(Right r) { return static_cast<std::uint16_t>(r); }
// Every right, the reserved bits included, as the service cashier has them.
constexpr std::uint16_t kAllRights = 0x03FF;

// 263 bytes: number, rights (u16), password (u32), name (255 bytes
// zero-padded), a zero byte.
struct CashierRecord {
    std::uint8_t number = 0;
    std::uint16_t rights = 0;
    std::uint32_t password = 0;
    std::string name;
};
constexpr std::size_t kCashierRecordSize = 263;
Bytes encodeCashier(const CashierRecord& c);
std::optional<CashierRecord> decodeCashier(const Bytes& record);

// 128 bytes: number, name (127 bytes zero-padded).
struct SectionRecord {
    std::uint8_t number = 0;
    std::string name;
};
constexpr std::size_t kSectionRecordSize = 128;
Bytes encodeSection(const SectionRecord& s);
std::optional<SectionRecord> decodeSection(const Bytes& record);

enum class DiscountKind : std::uint8_t { Amount = 0, Percent = 1, Empty = 2 };

// 138 bytes: number, kind, value (i64: kopecks, or hundredths of a
// percent), name (128 bytes zero-padded).
struct DiscountRecord {
    std::uint8_t number = 0;
    DiscountKind kind = DiscountKind::Empty;
    std::int64_t value = 0;
    std::string name;
};
constexpr std::size_t kDiscountRecordSize = 138;
Bytes encodeDiscount(const DiscountRecord& d);
std::optional<DiscountRecord> decodeDiscount(const Bytes& record);

enum class TaxKind : std::uint8_t { NoTax = 0, Contained = 1, OnTop = 2, NotSet = 3 };

// A tax of the registration: kind, rate in hundredths of a percent, name of
// 1 to 30 characters. As a tagged value: container 13105 + index (0..4)
// holding 13102 (kind), 13103 (rate) and 13104 (name).
struct Tax {
    TaxKind kind = TaxKind::NotSet;
    std::uint16_t rate = 0;
    std::string name;
};
Tlv taxTlv(int index, const Tax& tax);
// A tax container read back (13105..13109 with 13102, 13103, 13104 and an
// optional tax sum 11102); nothing when it holds anything else.
std::optional<Tax> decodeTaxTlv(const Tlv& container);

}  // namespace hostkit
