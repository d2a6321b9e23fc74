#pragma once
// The section table: twenty section records (encoding/section.h) of 128
// bytes in "/nv/SECTIONS", kept in memory as an array of 20 filled at
// start-up.

#include <array>
#include <memory>
#include <optional>

#include "common/thread_annotations.h"
#include "encoding/section.h"

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
