#include "storage/internal_storage.h"

#include <cstdio>

#include "platform/files.h"
#include "state/status.h"

namespace internal_storage {

namespace {

// The end of the file's whole records, or -1 when the size cannot be taken.
// Bytes past it are the torn tail of an interrupted append.
std::int64_t wholeRecordsEnd(std::FILE* f) {
    const std::int64_t size = platform::fileSize(f);
    if (size < 0) return -1;
    return size - size % static_cast<std::int64_t>(kRecordSize);
}

// The storage file open for reading, seen as its whole records, numbered
// from 0 at the start of the file.
class RecordFile {
  public:
    RecordFile() : file_(kStoragePath, "rb") {
        std::int64_t end = file_ ? wholeRecordsEnd(file_.get()) : -1;
        if (end < 0) file_.close();
        count_ = end < 0 ? 0 : static_cast<std::uint64_t>(end) / kRecordSize;
    }
    explicit operator bool() const { return static_cast<bool>(file_); }
    std::uint64_t count() const { return count_; }

    bool readHeader(std::uint64_t index, DocDescriptor& out) {
        std::uint8_t bytes[DocDescriptor::kSize];
        if (!readAt(index * kRecordSize, bytes, sizeof bytes)) return false;
        out = DocDescriptor::decode(bytes);
        return true;
    }
    bool readCounters(std::uint64_t index, CounterSet& out) {
        std::uint8_t bytes[CounterSet::kSize];
        if (!readAt(index * kRecordSize + DocDescriptor::kSize, bytes, sizeof bytes)) return false;
        out = CounterSet::decode(bytes);
        return true;
    }
    bool readRecord(std::uint64_t index, DocDescriptor& header, CounterSet& counters) {
        return readHeader(index, header) && readCounters(index, counters);
    }

  private:
    bool readAt(std::uint64_t offset, std::uint8_t* p, std::size_t n) {
        return platform::readAt(file_.get(), offset, p, n) == n;
    }

    platform::FileHandle file_;
    std::uint64_t count_ = 0;
};

bool isShiftClose(const DocDescriptor& header) { return header.type == FrStatus::shiftCloseDoc; }

// The backward walk of the sums: every whole record from the last to the
// first, handed to `visit` (header, counter set) until it returns false.
// False when the file is missing or cannot be opened, or a record cannot be
// read; what `visit` summed before stays.
template <class Visit>
bool walkBackward(Visit visit) {
    if (!storageExists()) return false;
    RecordFile file;
    if (!file) return false;
    for (std::uint64_t i = file.count(); i-- > 0;) {
        DocDescriptor header;
        CounterSet counters;
        if (!file.readRecord(i, header, counters)) return false;
        if (!visit(header, counters)) break;
    }
    return true;
}

// The forward walk shared by the shift-range and period sums, keyed by
// `keyOf` of each shift-close header.
bool sumRange(std::uint32_t first, std::uint32_t last, std::uint32_t (*keyOf)(const DocDescriptor&),
              DocDescriptor& firstHeader, DocDescriptor& lastHeader, GrossCounterSet& sum) {
    sum = GrossCounterSet{};
    RecordFile file;
    if (!file) return false;
    bool found = false;
    for (std::uint64_t i = 0; i < file.count(); ++i) {
        DocDescriptor header;
        if (!file.readHeader(i, header)) return false;
        if (!isShiftClose(header) || keyOf(header) < first) continue;
        if (keyOf(header) > last) break;
        CounterSet counters;
        if (!file.readCounters(i, counters)) return false;
        if (!found) firstHeader = header;
        lastHeader = header;
        sumInto(sum, counters);
        found = true;
    }
    return found;
}

}  // namespace

bool storageExists() { return platform::fileExists(kStoragePath); }
bool lockExists() { return platform::fileExists(kLockPath); }
bool removeStorage() { return platform::removePath(kStoragePath); }
bool createLock() { return platform::touchFile(kLockPath); }
bool removeLock() { return platform::removePath(kLockPath); }

bool encodeRecord(const DocDescriptor& header, const CounterSet* counters, Bytes& out) {
    if (!counters && header.type != FrStatus::registrationDoc) return false;
    out = header.encode();
    if (counters)
        counters->appendTo(out);
    else
        out.resize(kRecordSize, 0);
    return true;
}

bool appendRecord(const DocDescriptor& header, const CounterSet* counters) {
    Bytes record;
    return encodeRecord(header, counters, record) && appendRecords(record);
}

bool appendRecords(const Bytes& records) {
    if (records.size() % kRecordSize != 0) return false;
    platform::FileHandle file(kStoragePath, storageExists() ? "r+b" : "w+b");
    if (!file) return false;
    const std::int64_t end = wholeRecordsEnd(file.get());
    if (end < 0) return false;
    // One write, synced once: a formation cut short is started again by its
    // lock, a repair by the next start's check.
    bool written = platform::writeAt(file.get(), static_cast<std::uint64_t>(end), records.data(),
                                     records.size(), platform::Durability::buffered);
    written = platform::syncFile(file.get()) && written;
    return file.close() == 0 && written;
}

std::int64_t appendOffset() {
    if (!storageExists()) return 0;
    platform::FileHandle file(kStoragePath, "rb");
    return file ? wholeRecordsEnd(file.get()) : -1;
}

bool readHeaders(std::vector<DocDescriptor>& out) {
    out.clear();
    if (!storageExists()) return false;
    RecordFile file;
    if (!file) return false;
    out.resize(file.count());
    for (std::uint64_t i = 0; i < file.count(); ++i)
        if (!file.readHeader(i, out[i])) return false;
    return true;
}

bool keepRecords(std::uint64_t records) {
    return platform::truncateFile(kStoragePath, records * kRecordSize);
}

std::uint32_t lastRecordNumber() {
    RecordFile file;
    DocDescriptor header;
    if (!file || file.count() == 0 || !file.readHeader(file.count() - 1, header)) return 0;
    return header.number;
}

bool lastShiftCloseHeader(DocDescriptor& out) {
    out = DocDescriptor{};
    if (!storageExists()) return false;
    RecordFile file;
    if (!file) return false;
    for (std::uint64_t i = file.count(); i-- > 0;) {
        if (!file.readHeader(i, out)) return false;
        if (isShiftClose(out)) break;
    }
    return true;
}

bool sumSinceRegistration(CounterSet& out) {
    out = CounterSet{};
    bool lastRecord = true;
    return walkBackward([&](const DocDescriptor& header, const CounterSet& counters) {
        // The drawer as it stood at the last record, whatever its type.
        if (lastRecord) out.cashInDrawer = counters.cashInDrawer;
        lastRecord = false;
        if (!isShiftClose(header)) return false;
        sumInto(out, counters);
        return true;
    });
}

bool sumGross(GrossCounterSet& out) {
    out = GrossCounterSet{};
    return walkBackward([&](const DocDescriptor& header, const CounterSet& counters) {
        // Gross totals run across registrations; an archive close ends them.
        if (header.type == FrStatus::registrationDoc) return true;
        if (!isShiftClose(header)) return false;
        sumInto(out, counters);
        return true;
    });
}

bool sumShiftRange(std::uint16_t first, std::uint16_t last, DocDescriptor& firstHeader,
                   DocDescriptor& lastHeader, GrossCounterSet& sum) {
    return sumRange(
        first, last, [](const DocDescriptor& h) -> std::uint32_t { return h.shiftNumber; },
        firstHeader, lastHeader, sum);
}

bool sumPeriod(std::uint32_t first, std::uint32_t last, DocDescriptor& firstHeader,
               DocDescriptor& lastHeader, GrossCounterSet& sum) {
    return sumRange(
        first, last, [](const DocDescriptor& h) { return h.dateTime; }, firstHeader, lastHeader,
        sum);
}

}  // namespace internal_storage
