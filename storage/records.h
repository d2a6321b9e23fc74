#pragma once
// The stored record layouts shared by the documents, the document archive,
// the internal storage file and the reports. Each is a packed little-endian
// byte layout of fixed size; encode() gives exactly kSize bytes and decode()
// reads exactly kSize bytes, field by field. Amounts are in kopecks.

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/bytes.h"

// The 64-byte header of a stored document, kept in the archive for every
// document and at the head of every internal-storage record.
//   0 type u8 | 1 number u32 | 5 dateTime u32 | 9 shiftNumber u16 |
//   11 fiscalSign u32 | 15 cashierNumber u8 | 16 dataLength u16 |
//   18 dataOffset u64 | 26 dataCrc u16 | 28 registrationNumber u32 |
//   32..37 zero | 38 headerCrc u16 | 40..63 zero
struct DocDescriptor {
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kHeaderCrcOffset = 38;

    std::uint8_t type = 0;
    std::uint32_t number = 0;
    std::uint32_t dateTime = 0;
    std::uint16_t shiftNumber = 0;
    std::uint32_t fiscalSign = 0;
    std::uint8_t cashierNumber = 0;
    std::uint16_t dataLength = 0;
    std::uint64_t dataOffset = 0;
    std::uint16_t dataCrc = 0;
    std::uint32_t registrationNumber = 0;
    std::uint16_t headerCrc = 0;

    // The header check sum as stored: CRC-16 of bytes 0..37 with the
    // registration number (bytes 28..31) taken as zero, since the number is
    // filled in only after the check sum is made.
    std::uint16_t computeHeaderCrc() const;

    void appendTo(Bytes& out) const;
    Bytes encode() const;
    static DocDescriptor read(le::Reader& in);
    static DocDescriptor decode(const std::uint8_t* p);  // kSize bytes

    bool operator==(const DocDescriptor&) const = default;
};

constexpr std::size_t kOperationKinds = 4;

// Lifetime counters of one operation kind (0 sale, 1 purchase, 2 return of
// sale, 3 return of purchase), 53 bytes inside a GrossCounterSet; also the
// first 53 bytes of an OperationTotals.
//   0 kind u8 | 1 count u32 | 5 total u64 | 13 byPayment 5 x u64
struct GrossOperationTotals {
    static constexpr std::size_t kSize = 53;
    static constexpr std::size_t kPaymentForms = 5;  // [0] cash, [1] non-cash, others

    std::uint8_t kind = 0;
    std::uint32_t count = 0;
    std::uint64_t total = 0;
    std::array<std::uint64_t, kPaymentForms> byPayment{};

    void appendTo(Bytes& out) const;
    static GrossOperationTotals read(le::Reader& in);

    bool operator==(const GrossOperationTotals&) const = default;
};

// Counters of one operation kind, 93 bytes inside a CounterSet: the gross
// entry followed by the tax sums.
//   0..52 as GrossOperationTotals | 53 byTax 5 x u64
struct OperationTotals : GrossOperationTotals {
    static constexpr std::size_t kSize = 93;
    static constexpr std::size_t kTaxes = 5;  // [0] is tax number 1

    std::array<std::uint64_t, kTaxes> byTax{};

    void appendTo(Bytes& out) const;
    static OperationTotals read(le::Reader& in);

    bool operator==(const OperationTotals&) const = default;
};

// Bytes 0..25, laid out alike at the head of CounterSet and GrossCounterSet.
//   0 shiftField u16 | 2 cashInCount u16 | 4 cashOutCount u16 |
//   6 cashInAmount u64 | 14 cashOutAmount u64 | 22 receiptCount u32
struct CounterHead {
    static constexpr std::size_t kSize = 26;

    // Shift counters: the current shift's number; totals since registration:
    // shifts opened since; the archive's gross copy: the most recently opened
    // shift; a sum over internal-storage records: records summed.
    std::uint16_t shiftField = 0;
    std::uint16_t cashInCount = 0;
    std::uint16_t cashOutCount = 0;
    std::uint64_t cashInAmount = 0;
    std::uint64_t cashOutAmount = 0;
    std::uint32_t receiptCount = 0;

    void appendHeadTo(Bytes& out) const;
    void readHead(le::Reader& in);

    bool operator==(const CounterHead&) const = default;
};

// The counters of one shift, or of the period since the last registration.
//   0..25 CounterHead | 26 cashInDrawer u64 | 34 operations 4 x OperationTotals
struct CounterSet : CounterHead {
    static constexpr std::size_t kSize = 406;
    static constexpr std::size_t kOperationsOffset = 34;

    std::uint64_t cashInDrawer = 0;
    std::array<OperationTotals, kOperationKinds> operations{};

    void appendTo(Bytes& out) const;
    Bytes encode() const;
    static CounterSet read(le::Reader& in);
    static CounterSet decode(const std::uint8_t* p);  // kSize bytes

    bool operator==(const CounterSet&) const = default;
};

// The lifetime (gross) totals: the CounterHead, then four
// GrossOperationTotals at 26. No cash in the drawer, no tax sums.
struct GrossCounterSet : CounterHead {
    static constexpr std::size_t kSize = 238;
    static constexpr std::size_t kOperationsOffset = 26;

    std::array<GrossOperationTotals, kOperationKinds> operations{};

    void appendTo(Bytes& out) const;
    Bytes encode() const;
    static GrossCounterSet read(le::Reader& in);
    static GrossCounterSet decode(const std::uint8_t* p);  // kSize bytes

    bool operator==(const GrossCounterSet&) const = default;
};

// Amounts of one operation kind by department, 160 bytes: 20 u64, [0] is
// department 1.
struct DepartmentTotals {
    static constexpr std::size_t kSize = 160;
    static constexpr std::size_t kDepartments = 20;

    std::array<std::uint64_t, kDepartments> amounts{};

    void appendTo(Bytes& out) const;
    Bytes encode() const;
    static DepartmentTotals read(le::Reader& in);
    static DepartmentTotals decode(const std::uint8_t* p);  // kSize bytes

    bool operator==(const DepartmentTotals&) const = default;
};

// Adds one record's counter set into an accumulator: every count and amount
// is added to the field of the same width and, like every stored counter,
// wraps at that width; the accumulator's shiftField counts the records
// summed instead; kind bytes become their indices. The cash in the drawer
// is a balance, not a flow, so it is never summed.
void sumInto(CounterSet& acc, const CounterSet& record);
// The same into a gross accumulator; the tax sums have no place there.
void sumInto(GrossCounterSet& acc, const CounterSet& record);
