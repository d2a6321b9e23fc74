#include "storage/store_journal.h"

#include "common/crc.h"
#include "device/eeprom.h"
#include "platform/files.h"
#include "storage/internal_storage.h"

namespace {

constexpr std::size_t kHeadSize = 12;
constexpr std::size_t kCheckSize = 4;

Bytes encodeJournal(const StoreUnit& unit, std::uint32_t archiveIdentifier) {
    const Bytes writes = unit.encode();
    Bytes out;
    le::put32(out, StoreJournal::kMagic);
    le::put32(out, archiveIdentifier);
    le::put32(out, static_cast<std::uint32_t>(writes.size()));
    le::putBytes(out, writes);
    le::put32(out, crc::crc32(out));
    return out;
}

// The writes of one target through the open stream `f`, then a sync.
bool writeAll(std::FILE* f, const StoreUnit& unit, StoreTarget target) {
    bool written = f != nullptr;
    for (const StoreUnit::Write& w : unit.writes())
        if (written && w.target == target)
            written = platform::writeAt(f, w.offset, w.bytes, platform::Durability::buffered);
    return platform::syncFile(f) && written;
}

// A file of the register's own, opened for the writes and closed again. The
// internal storage is made when missing (and its directory synced); the
// EEPROM never is.
bool writeToFile(std::string_view boardPath, bool create, const StoreUnit& unit,
                 StoreTarget target) {
    if (!unit.touches(target)) return true;
    if (create && !platform::fileExists(boardPath) && !platform::touchFile(boardPath)) return false;
    platform::FileHandle file(boardPath, "r+b");
    if (!file) return false;
    const bool written = writeAll(file.get(), unit, target);
    return file.close() == 0 && written;
}

}  // namespace

bool applyStoreUnit(const StoreUnit& unit, std::FILE* archive) {
    const bool archiveWritten =
        !unit.touches(StoreTarget::archive) || writeAll(archive, unit, StoreTarget::archive);
    const bool storageWritten = writeToFile(internal_storage::kStoragePath, true, unit,
                                            StoreTarget::internalStorage);
    const bool eepromWritten = writeToFile(eeprom::kPath, false, unit, StoreTarget::eeprom);
    return archiveWritten && storageWritten && eepromWritten;
}

StoreJournal::StoreJournal(std::string journalPath) : path_(std::move(journalPath)) {}

StoreJournal::~StoreJournal() {
    if (file_) platform::closeFile(file_);
}

bool StoreJournal::ensureOpen() {
    if (file_) return true;
    if (!platform::fileExists(path_) && !platform::touchFile(path_)) return false;
    file_ = platform::openFile(path_, "r+b");
    return file_ != nullptr;
}

StoreJournal::Outcome StoreJournal::commit(const StoreUnit& unit, std::uint32_t archiveIdentifier,
                                           std::FILE* archive) {
    if (unit.empty()) return Outcome::stored;
    if (!ensureOpen() || !platform::writeAt(file_, 0, encodeJournal(unit, archiveIdentifier),
                                            platform::Durability::synced))
        return Outcome::notStored;
    // The journal is whole: from here the store happens. A write that fails
    // is made again with all the others (each is the final bytes of its
    // region); one that fails twice is left to the next start-up.
    if (!applyStoreUnit(unit, archive) && !applyStoreUnit(unit, archive)) return Outcome::pending;
    // Not synced: a clear that a power cut undoes leaves a journal whose
    // writes are all made, and applying it again at the next start changes
    // nothing, since only the next store's journal writes those regions.
    clear(platform::Durability::flushed);
    return Outcome::stored;
}

bool StoreJournal::recover(std::uint32_t archiveIdentifier, std::FILE* archive,
                           StoreUnit& replayed) {
    replayed = StoreUnit();
    if (!platform::fileExists(path_)) return true;
    if (!ensureOpen()) return false;
    Bytes head;
    if (platform::readAt(file_, 0, kHeadSize, head) && le::u32(head.data()) == kMagic &&
        le::u32(head.data() + 4) == archiveIdentifier) {
        const std::size_t length = le::u32(head.data() + 8);
        Bytes whole;
        const std::int64_t size = platform::fileSize(file_);
        if (size >= 0 && static_cast<std::uint64_t>(size) >= kHeadSize + length + kCheckSize &&
            platform::readAt(file_, 0, kHeadSize + length + kCheckSize, whole) &&
            crc::crc32(whole.data(), kHeadSize + length) ==
                le::u32(whole.data() + kHeadSize + length)) {
            StoreUnit unit;
            if (StoreUnit::decode(whole.data() + kHeadSize, length, unit)) {
                if (!applyStoreUnit(unit, archive)) return false;
                replayed = std::move(unit);
            }
        }
    }
    // Synced: start-up goes on to change the internal storage.
    return clear(platform::Durability::synced);
}

bool StoreJournal::clear(platform::Durability durability) {
    Bytes head;
    if (platform::readAt(file_, 0, 4, head) && le::u32(head.data()) != kMagic) return true;
    return platform::writeAt(file_, 0, Bytes(4, 0), durability);
}
