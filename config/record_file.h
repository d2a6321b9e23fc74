#pragma once
// Fixed-size record files under "/nv/": what the cashier, discount and
// section tables share. Each operation opens the file for one operation, and
// every read and write goes through the file seam.

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "common/bytes.h"

namespace recordfile {

// Where record `number` (1 ... count) of `size` bytes starts.
constexpr std::uint64_t offsetOf(std::uint8_t number, std::size_t size) {
    return static_cast<std::uint64_t>(number - 1) * size;
}

// `count` records of `size` bytes, each zero but for its first byte, which
// holds its number (1..count): the content of a new table file.
Bytes numberedRecords(std::size_t size, int count);

// Makes sure a table file of `defaults.size()` bytes is there, whole:
//   - missing: it is created whole or not at all (a file that could not be
//     written whole, on a full medium say, is not left behind, and the next
//     start tries again);
//   - shorter than `defaults`: the records it lacks (a torn last record
//     counts as lacking) are written from `defaults` after its last whole
//     record, with a diagnostic line naming the file and the records;
//   - whole: left alone. Existing whole records are never changed.
// True when the file is whole afterwards.
bool ensureWhole(std::string_view path, std::size_t recordSize, const Bytes& defaults);

// Opens the existing file with "r+" and reads `size` bytes at `offset` into
// `out` (missing bytes zero); false when the file cannot be opened or the
// record not read whole.
bool readRecord(std::string_view path, std::uint64_t offset, std::size_t size, Bytes& out);

// Opens the existing file with "r+", writes `record` at `offset`, flushes
// and closes; true when written whole, flushed and closed.
bool writeRecord(std::string_view path, std::uint64_t offset, const Bytes& record);

// Writes `bytes` from offset 0 of a settings file: in place ("r+") when the
// file exists, otherwise creating it whole or not at all, so that a full
// medium never leaves an empty file behind. True when written, flushed and
// closed.
bool writeFromStart(std::string_view path, const Bytes& bytes);

// Reads up to `size` bytes from offset 0 of an existing file; empty when it
// is missing or cannot be opened.
Bytes readFromStart(std::string_view path, std::size_t size);

}  // namespace recordfile
