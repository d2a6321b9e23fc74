#pragma once
// Text fields of the fixed-size records: a field holds its text followed by
// zero bytes, or is filled by the text to its last byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace record_text {

// The text of a field of `size` bytes: up to its first zero byte, or the
// whole field when it holds none.
inline std::string read(const std::uint8_t* field, std::size_t size) {
    const std::uint8_t* end = std::find(field, field + size, 0);
    return std::string(field, end);
}

// True when the field holds no zero byte, so its text fills it.
inline bool full(const std::uint8_t* field, std::size_t size) {
    return std::find(field, field + size, 0) == field + size;
}

// Clears the field and copies `text` into it; false, and the field left as
// it was, when the text does not fit.
inline bool write(std::uint8_t* field, std::size_t size, std::string_view text) {
    if (text.size() > size) return false;
    std::memset(field, 0, size);
    if (!text.empty()) std::memcpy(field, text.data(), text.size());
    return true;
}

}  // namespace record_text
