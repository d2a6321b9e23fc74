#pragma once
// Small helpers for tests that look at files a program wrote.

#include <cstddef>
#include <string>

namespace testing_support {

// The whole content of the file; empty when it cannot be read.
std::string readFile(const std::string& path);

// How many times `what` occurs in `text`, overlapping ones included.
std::size_t countOf(const std::string& text, const std::string& what);

}  // namespace testing_support
