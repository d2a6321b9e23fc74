#pragma once
// StoreUnit: every write that storing one document makes, described before
// any of them is made, so that the store takes effect whole or not at all
// (the store journal, storage/store_journal.h, makes it durable and applies
// it). The store paths add their writes here instead of writing the files;
// reads made while the store is described see the pending bytes laid over
// what the files hold.
//
// Writes to one file that overlap or touch are merged into one (the later
// bytes win), so adjacent regions go to the card in one write.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/bytes.h"

// The files a store writes.
enum class StoreTarget : std::uint8_t {
    archive = 1,          // the document archive on the card
    internalStorage = 2,  // /nv/STORAGE.INT
    eeprom = 3,           // the EEPROM image (the registration record)
};

class StoreUnit {
  public:
    struct Write {
        StoreTarget target = StoreTarget::archive;
        std::uint64_t offset = 0;
        Bytes bytes;
        bool operator==(const Write&) const = default;
    };

    // Adds the write of `bytes` at `offset` of `target`.
    void add(StoreTarget target, std::uint64_t offset, const Bytes& bytes);

    // Lays the pending bytes of `target` over the `n` bytes at `out`, which
    // hold what the file has from `offset` on.
    void overlay(StoreTarget target, std::uint64_t offset, std::uint8_t* out, std::size_t n) const;

    // Joins writes of `target` that lie at most `maxGap` bytes apart into
    // one, the bytes between them as `readGap(offset, n, out)` gives them
    // (what the file holds there): one card write instead of two. A gap that
    // cannot be read stays a gap.
    template <class ReadGap>
    void joinNearWrites(StoreTarget target, std::uint64_t maxGap, ReadGap readGap) {
        for (std::size_t i = 0; i + 1 < writes_.size(); ++i) {
            const Write& a = writes_[i];
            const Write& b = writes_[i + 1];
            const std::uint64_t end = a.offset + a.bytes.size();
            if (a.target != target || b.target != target || b.offset - end > maxGap) continue;
            Bytes gap;
            if (!readGap(end, static_cast<std::size_t>(b.offset - end), gap)) continue;
            add(target, end, gap);  // touches both: the three become one
            --i;
        }
    }

    // The writes, ordered by target and offset, none overlapping or touching
    // another of the same target.
    const std::vector<Write>& writes() const { return writes_; }
    bool empty() const { return writes_.empty(); }
    bool touches(StoreTarget target) const;

    // The writes as the journal keeps them: for each, the target u8, the
    // offset u64 and the length u32 (little-endian), then the bytes.
    Bytes encode() const;
    // The writes back from `encode`'s form; false (and `out` empty) when the
    // bytes are not exactly such a list.
    static bool decode(const std::uint8_t* p, std::size_t n, StoreUnit& out);

  private:
    std::vector<Write> writes_;
};
