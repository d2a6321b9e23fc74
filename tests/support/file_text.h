#pragma once
// Small helpers for tests that look at files a program wrote, or prepare
// files for it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/bytes.h"

namespace testing_support {

// The whole content of the file; empty when it cannot be read.
std::string readFile(const std::string& path);
inline Bytes fileBytes(const std::string& path) { return toBytes(readFile(path)); }

// Replaces the file's content.
void writeFileBytes(const std::string& path, const Bytes& content);

// Writes `bytes` over the file's content at `offset`, the rest unchanged.
void patchFileBytes(const std::string& path, std::uint64_t offset, const Bytes& bytes);

// How many times `what` occurs in `text`, overlapping ones included.
std::size_t countOf(const std::string& text, const std::string& what);

}  // namespace testing_support
