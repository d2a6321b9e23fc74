#pragma once
// The internal storage file "/nv/STORAGE.INT": an append-only sequence of
// 470-byte records, each a DocDescriptor followed by a CounterSet, one for
// every registration (type 1), shift close (type 2) and archive close
// (type 4), in the order the documents were made. It survives a change of SD
// card: a new archive takes its first number and opening totals from it, and
// the shift-range and period reports are summed from it alone.
//
// The lock file "/nv/STORAGE.INT.LOCK" marks a formation of the internal
// storage from the archive that began and did not end.
//
// Free functions over the two board paths; each opens the file, works and
// closes it again. Used from the core thread only; no lock is taken.
//
// A power cut in the middle of an append can leave a partial record at the
// end. Every walk therefore covers whole records only (the file's size
// rounded down to a multiple of 470), and the next append starts at that
// whole-record end, replacing the torn bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "storage/records.h"

namespace internal_storage {

constexpr std::string_view kStoragePath = "/nv/STORAGE.INT";
constexpr std::string_view kLockPath = "/nv/STORAGE.INT.LOCK";
constexpr std::size_t kRecordSize = DocDescriptor::kSize + CounterSet::kSize;  // 470

// Existence means any entry at the path, of any type.
bool storageExists();
bool lockExists();

// Remove or create the file and sync the change to the medium; true when
// the file is gone (or present) afterwards.
bool removeStorage();
bool createLock();
bool removeLock();

// Appends one record: the header, then the counter set or, for a
// registration without one (`counters` null), 406 zero bytes. Refuses a
// record of any other type without a counter set. True when the whole
// record was written and synced.
bool appendRecord(const DocDescriptor& header, const CounterSet* counters);

// The record appendRecord writes, into `out`; false for a record it refuses.
bool encodeRecord(const DocDescriptor& header, const CounterSet* counters, Bytes& out);

// Where the next record goes: the end of the file's whole records (a torn
// tail is written over); 0 when the file is missing, -1 when it is there
// but its size cannot be taken.
std::int64_t appendOffset();

// Appends whole records (each kRecordSize bytes) in one pass, synced once
// at the end; true when all were written and synced.
bool appendRecords(const Bytes& records);

// The headers of the file's whole records, from the first; false when the
// file is missing or a header cannot be read.
bool readHeaders(std::vector<DocDescriptor>& out);

// Cuts the file after its first `records` records and syncs it; true when
// it is that long afterwards.
bool keepRecords(std::uint64_t records);

// `number` of the last record's header; 0 when the file is missing, holds no
// whole record or cannot be read.
std::uint32_t lastRecordNumber();

// The header of the last shift-close record. When the file holds none, the
// header of the file's first record (zero when the file is empty): callers
// check its type. False when the file is missing or cannot be read.
bool lastShiftCloseHeader(DocDescriptor& out);

// Totals of the shifts closed since the last registration or archive close:
// the sum of the shift-close records after the last record of another type,
// with the cash in the drawer as it stood at the last record. False, with
// the output zero, when the file is missing; false, with a partial sum,
// when a record cannot be read.
bool sumSinceRegistration(CounterSet& out);

// Gross totals: every shift-close record after the last archive close,
// across registrations. Failure as sumSinceRegistration.
bool sumGross(GrossCounterSet& out);

// Sums the shift-close records whose shift number (sumShiftRange) or date
// and time (sumPeriod) lies in [first, last], both inclusive; callers pass
// the smaller bound first. `firstHeader` and `lastHeader` receive the first
// and last matching headers and are left untouched when nothing matches;
// `sum` is cleared first. True when at least one record matched and every
// read succeeded.
bool sumShiftRange(std::uint16_t first, std::uint16_t last, DocDescriptor& firstHeader,
                   DocDescriptor& lastHeader, GrossCounterSet& sum);
bool sumPeriod(std::uint32_t first, std::uint32_t last, DocDescriptor& firstHeader,
               DocDescriptor& lastHeader, GrossCounterSet& sum);

}  // namespace internal_storage
