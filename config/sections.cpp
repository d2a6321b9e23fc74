#include "config/sections.h"

#include "config/record_file.h"
#include "platform/files.h"

namespace {

constexpr const char* kSectionsPath = "/nv/SECTIONS";

std::uint64_t offsetOf(std::uint8_t number) { return recordfile::offsetOf(number, Section::kSize); }

}  // namespace

void SectionTable::loadSections() {
    MutexLock lock(mutex_);
    if (!entries_) entries_ = std::make_unique<std::array<Section, kTableEntries>>();
    for (std::uint8_t n = 1; n <= kTableEntries; ++n) (*entries_)[n - 1] = Section{n, {}};
    recordfile::ensureWhole(kSectionsPath, Section::kSize,
                            recordfile::numberedRecords(Section::kSize, kTableEntries));
    platform::FileHandle file(kSectionsPath, "r+b");
    if (!file) return;
    for (std::uint8_t n = 1; n <= kTableEntries; ++n) {
        Bytes record;
        platform::readAt(file.get(), offsetOf(n), Section::kSize, record);
        (*entries_)[n - 1].name = sectionRecordName(record);
    }
}

std::optional<Section> SectionTable::getSection(std::uint8_t number) {
    MutexLock lock(mutex_);
    if (!validRecordNumber(number) || !entries_) return std::nullopt;
    return (*entries_)[number - 1];
}

bool SectionTable::writeSection(const Section& s) {
    MutexLock lock(mutex_);
    if (!s.isValid()) return false;
    const Bytes record = encodeSection(s);
    if (!recordfile::writeRecord(kSectionsPath, offsetOf(s.number), record)) return false;
    if (entries_) (*entries_)[s.number - 1] = Section{s.number, sectionRecordName(record)};
    return true;
}

void SectionTable::releaseSections() {
    MutexLock lock(mutex_);
    entries_.reset();
}

SectionTable& SectionTable::process() {
    static SectionTable* table = new SectionTable();  // lives until exit
    return *table;
}
