#pragma once
// The document archive file "V0XD24TX" on the SD card. All integers are
// little-endian; offsets are absolute.
//
//   offset       size          content
//   0            4             magic 0xF4238903
//   4            4             archive identifier, never zero
//   8            250000 x 64   header slots: document base + k at 8 + 64 (k - 1)
//   16 000 008   64            header of the last shift-open document
//   16 000 072   64            header of the last shift-close document
//   16 000 136   64            header of the last registration document
//   16 000 200   64            header of the last document of any type
//   16 000 264   48            model record at the last registration
//   16 000 312   968           registration record at the last registration
//   16 001 280   406           shift counters (CounterSet)
//   16 001 686   406           totals since the last registration (CounterSet)
//   16 002 092   238           gross totals (GrossCounterSet)
//   16 002 330   1             registrations in this archive
//   16 002 331   50 x 4        their document numbers, in order
//   16 002 531   4 x 160       department totals of the shift (sale, purchase,
//                              return of sale, return of purchase)
//   16 777 212   4             base number: the last document before this archive
//   16 777 216   4             magic again
//   16 777 220   ...           data area: each document's data, appended
//
// Everything not listed is zero; a new archive is written sparsely and is
// exactly 16 777 220 bytes long.

#include <cstddef>
#include <cstdint>

#include "storage/archive_limits.h"
#include "storage/records.h"

namespace archive_layout {

constexpr std::uint32_t kMagic = 0xF4238903;

constexpr std::uint64_t kMagicOffset = 0;
constexpr std::uint64_t kIdentifierOffset = 4;
constexpr std::uint64_t kSlotsOffset = 8;
constexpr std::uint64_t kSlotSize = DocDescriptor::kSize;
constexpr std::uint64_t kLastShiftOpenCopy = 16'000'008;
constexpr std::uint64_t kLastShiftCloseCopy = 16'000'072;
constexpr std::uint64_t kLastRegistrationCopy = 16'000'136;
constexpr std::uint64_t kLastDocumentCopy = 16'000'200;
constexpr std::uint64_t kModelRecord = 16'000'264;
constexpr std::uint64_t kRegistrationRecord = 16'000'312;
constexpr std::uint64_t kShiftCounters = 16'001'280;
constexpr std::uint64_t kRegistrationTotals = 16'001'686;
constexpr std::uint64_t kGrossTotals = 16'002'092;
constexpr std::uint64_t kRegistrationCount = 16'002'330;
constexpr std::uint64_t kRegistrationList = 16'002'331;
constexpr std::uint64_t kDepartmentTotals = 16'002'531;
constexpr std::uint64_t kBaseNumber = 16'777'212;
constexpr std::uint64_t kSecondMagicOffset = 16'777'216;
constexpr std::uint64_t kDataArea = 16'777'220;
constexpr std::uint64_t kNewArchiveSize = kDataArea;

// The four header copies are slot-aligned: a header read by offset accepts
// any offset from 8 to the end of the last copy that is 8 past a multiple
// of 64.
constexpr std::uint64_t kLastAlignedHeader = kLastDocumentCopy + kSlotSize - 1;

static_assert(kSlotsOffset + archive_limits::kDocumentCapacity * kSlotSize == kLastShiftOpenCopy);
static_assert((kLastDocumentCopy - kSlotsOffset) % kSlotSize == 0);
static_assert(kModelRecord == kLastDocumentCopy + kSlotSize);
static_assert(kRegistrationRecord == kModelRecord + 48);
static_assert(kShiftCounters == kRegistrationRecord + 968);
static_assert(kRegistrationTotals == kShiftCounters + CounterSet::kSize);
static_assert(kGrossTotals == kRegistrationTotals + CounterSet::kSize);
static_assert(kRegistrationCount == kGrossTotals + GrossCounterSet::kSize);
static_assert(kRegistrationList == kRegistrationCount + 1);
static_assert(kDepartmentTotals ==
              kRegistrationList + 4 * archive_limits::kRegistrationListCapacity);
static_assert(kDepartmentTotals + 4 * DepartmentTotals::kSize <= kBaseNumber);
static_assert(kDataArea == 0x1000004 && kBaseNumber == 0xFFFFFC);

}  // namespace archive_layout
