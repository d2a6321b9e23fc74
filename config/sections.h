#pragma once
// Sections: the departments of the shop, twenty records of 128 bytes in
// "/nv/SECTIONS", kept in memory as an array of 20 filled at start-up.
//
// Section record (file and host line):
//   0   1    number
//   1   127  name (CP866), zero-padded, cut to 126 bytes (byte 127 is 0)

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "common/thread_annotations.h"
#include "config/record_number.h"
#include "encoding/tlv.h"

struct Section {
    static constexpr std::size_t kSize = 128;
    static constexpr std::size_t kMaxName = 126;

    std::uint8_t number = 0;
    std::string name;  // CP866

    bool isValid() const { return validRecordNumber(number); }

    // Keeps a text shorter than 127 bytes whole, otherwise its first 126.
    void setSectionName(std::string_view text);

    // Container 11300: 11301 the number and, when there is a name, 11302.
    // An empty Tlv for an invalid number.
    Tlv toTlv() const;
    // Container 11300 only: takes 11301 and 11302, ignores other children;
    // true when the number is valid.
    bool fromTlv(const Tlv& container);
};

Bytes encodeSection(const Section& s);
// Exactly 128 bytes with a valid number.
std::optional<Section> decodeSection(const Bytes& record);

// The section table. Every operation holds the table's mutex throughout.
class SectionTable {
  public:
    // Makes the array (entry n - 1 is number n, no name); creates the file
    // whole (records zero but for their number) when missing, completes a
    // short one the same way, then takes every stored name. The stored
    // number bytes are not used.
    void loadSections();

    // A copy of entry n - 1; nothing for a number outside 1..20 or before
    // loadSections.
    std::optional<Section> getSection(std::uint8_t number);

    // Writes the record at its offset and flushes; on success the entry is
    // replaced. True when the whole record was written.
    bool writeSection(const Section& s);

    // Frees the array (the core worker's end).
    void releaseSections();

    static SectionTable& process();

  private:
    // Held for the whole of every operation, file access included.
    Mutex mutex_;
    std::unique_ptr<std::array<Section, kTableEntries>> entries_ GUARDED_BY(mutex_);
};

inline SectionTable& sections() { return SectionTable::process(); }
