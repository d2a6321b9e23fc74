#pragma once
// Fixed-size record files under "/nv/": helpers shared by the cashier,
// discount and section tables. Each opens the file for one operation.

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "common/bytes.h"

namespace recordfile {

// `count` records of `size` bytes, each zero but for its first byte, which
// holds its number (1..count): the content of a new table file.
Bytes numberedRecords(std::size_t size, int count);

// Creates (mode "w+") the file with `content`; true when written whole.
bool create(std::string_view path, const Bytes& content);

// Reads `size` bytes at `offset` of an open file into `out`, which is
// resized to `size` with the missing bytes zero; true when read whole.
bool readAt(std::FILE* file, std::uint64_t offset, std::size_t size, Bytes& out);

// Opens the existing file with "r+" and reads as readAt; false when the file
// cannot be opened or the record not read whole.
bool readRecord(std::string_view path, std::uint64_t offset, std::size_t size, Bytes& out);

// Writes `record` at `offset` of an open file and flushes; true when
// written whole and flushed.
bool writeAt(std::FILE* file, std::uint64_t offset, const Bytes& record);

// Opens the existing file with "r+" and writes as writeAt; false when the
// file cannot be opened or closed.
bool writeRecord(std::string_view path, std::uint64_t offset, const Bytes& record);

}  // namespace recordfile
