#pragma once
// StoreJournal: the redo journal that makes one store whole or not at all,
// a file of its own beside the archive on the card (the archive's path with
// ".JNL"). A store's unit of writes is written into it and synced before
// the first write to any of the files it describes; then the writes are
// made and the files synced. A power cut before the journal is whole leaves
// the files as they were; one after it leaves a journal that the next
// start-up applies again, which finishes the store. Once the writes are
// made the journal is cleared. Applying a journal twice is harmless: its
// writes are the final bytes of their regions.
//
// The journal's layout (little-endian):
//   0   u32  magic 0x4E4A4B4F
//   4   u32  the archive's identifier (a journal of another archive is
//            never applied)
//   8   u32  length L of the writes
//   12  L    the writes (StoreUnit::encode)
//   12+L u32 CRC-32 of bytes 0 to 12+L-1
// A journal whose magic, length or check value does not hold was cut short
// while it was written, and is discarded. Cleared by zeroing the magic.
//
// Used only from the core thread, like the archive.

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "storage/store_unit.h"

class StoreJournal {
  public:
    enum class Outcome {
        stored,     // every write made and on the medium
        notStored,  // the journal could not be written: nothing of the unit was made
        pending,    // the journal holds the unit, but its writes failed twice:
                    // the next start-up makes them
    };

    // `journalPath` is the journal's board path; nothing is opened yet.
    explicit StoreJournal(std::string journalPath);
    ~StoreJournal();
    StoreJournal(const StoreJournal&) = delete;
    StoreJournal& operator=(const StoreJournal&) = delete;

    // Makes `unit` durable in the journal, then makes its writes, the
    // archive's through the open stream `archive`.
    Outcome commit(const StoreUnit& unit, std::uint32_t archiveIdentifier, std::FILE* archive);

    // Start-up: a whole journal of the archive `archiveIdentifier` is
    // applied again and the journal cleared; a partial one, or another
    // archive's, is only cleared. `replayed` receives what was applied.
    // False when a whole journal could not be applied or the journal could
    // not be cleared: the archive must not be used until a later start-up.
    bool recover(std::uint32_t archiveIdentifier, std::FILE* archive, StoreUnit& replayed);

    static constexpr std::uint32_t kMagic = 0x4E4A4B4F;

  private:
    bool ensureOpen();
    bool clear(platform::Durability durability);

    std::string path_;
    std::FILE* file_ = nullptr;
};

// Makes every write of `unit` in its file (the archive's through `archive`)
// and syncs each file written; true when all of it succeeded.
bool applyStoreUnit(const StoreUnit& unit, std::FILE* archive);
