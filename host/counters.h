#pragma once
// The counter records of commands 54 to 57: the shift counters and the
// totals since the last registration (406 bytes each), the gross totals
// (238 bytes) and the department totals of the shift (640 bytes). Amounts
// are kopecks.

#include <array>
#include <cstdint>
#include <optional>

#include "common/bytes.h"

namespace hostkit {

// Operation kinds, the order of the entries in every counter record.
enum class OperationKind : std::uint8_t {
    Sale = 0,
    Purchase = 1,
    ReturnOfSale = 2,
    ReturnOfPurchase = 3
};
constexpr int kOperationKinds = 4;

// One operation kind's totals: 93 bytes in a CounterSet (with the tax
// sums), 53 in a GrossCounterSet (without).
struct OperationTotals {
    std::uint8_t kind = 0;
    std::uint32_t count = 0;
    std::int64_t total = 0;
    std::array<std::int64_t, 5> byPayment{};  // [0] cash, [1] non-cash, [2..4] other forms
    std::array<std::int64_t, 5> byTax{};      // tax numbers 1 to 5; zero in gross totals
};

// Bytes 0 to 25 are common to both sets: for shift counters `shiftField` is
// the shift's number, for the totals since registration the count of
// shifts, for the gross totals the most recent shift.
struct CounterSet {
    std::uint16_t shiftField = 0;
    std::uint16_t cashInCount = 0;
    std::uint16_t cashOutCount = 0;
    std::int64_t cashInAmount = 0;
    std::int64_t cashOutAmount = 0;
    std::uint32_t receiptCount = 0;
    std::int64_t cashInDrawer = 0;  // absent from the gross totals
    std::array<OperationTotals, kOperationKinds> operations{};
};

constexpr std::size_t kCounterSetSize = 406;
constexpr std::size_t kGrossCounterSetSize = 238;
std::optional<CounterSet> decodeCounterSet(const Bytes& data);
std::optional<CounterSet> decodeGrossCounterSet(const Bytes& data);

// Four blocks of 20 amounts (u64), one per operation kind, department
// numbers 1 to 20.
using DepartmentTotals = std::array<std::array<std::int64_t, 20>, kOperationKinds>;
constexpr std::size_t kDepartmentTotalsSize = 640;
std::optional<DepartmentTotals> decodeDepartmentTotals(const Bytes& data);

}  // namespace hostkit
