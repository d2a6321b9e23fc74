#include "encoding/section.h"

#include "common/record_text.h"
#include "encoding/tags.h"

std::string sectionRecordName(const Bytes& record) {
    return record_text::read(&record[1], Section::kMaxName);
}

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
    return Section{record[0], sectionRecordName(record)};
}
