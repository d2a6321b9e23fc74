#include "config/sections.h"

#include "config/record_file.h"
#include "config/record_text.h"
#include "encoding/tags.h"
#include "platform/files.h"

namespace {

constexpr const char* kSectionsPath = "/nv/SECTIONS";

std::uint64_t offsetOf(std::uint8_t number) { return recordfile::offsetOf(number, Section::kSize); }

std::string nameOf(const Bytes& record) { return record_text::read(&record[1], Section::kMaxName); }

}  // namespace

void Section::setSectionName(std::string_view text) {
    name = std::string(text.substr(0, kMaxName));
}

Tlv Section::toTlv() const {
    if (!isValid()) return {};
    std::vector<Tlv> children(1);
    children[0].setU8(tags::kSectionNumber, number);
    if (!name.empty()) children.push_back(Tlv().setText(tags::kSectionName, name));
    return Tlv().setContainer(tags::kSection, children);
}

bool Section::fromTlv(const Tlv& container) {
    if (container.tag != tags::kSection) return false;
    const TlvMap children = decodeMap(container);
    number = lookup(children, tags::kSectionNumber).getU8();
    setSectionName(lookup(children, tags::kSectionName).getText());
    return isValid();
}

Bytes encodeSection(const Section& s) {
    Bytes record(Section::kSize, 0);
    record[0] = s.number;
    record_text::write(&record[1], Section::kMaxName,
                       std::string_view(s.name).substr(0, Section::kMaxName));
    return record;
}

std::optional<Section> decodeSection(const Bytes& record) {
    if (record.size() != Section::kSize || !validRecordNumber(record[0])) return std::nullopt;
    return Section{record[0], nameOf(record)};
}

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
        (*entries_)[n - 1].name = nameOf(record);
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
    if (entries_) (*entries_)[s.number - 1] = Section{s.number, nameOf(record)};
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
