#pragma once
// Walking UTF-8 text character by character: the tape counts characters,
// not bytes, when it fills a line.

#include <cstddef>
#include <string>

namespace sim {

inline bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where the character that starts at `at` ends.
inline std::size_t utf8CharEnd(const std::string& text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && isUtf8Continuation(text[end])) ++end;
    return end;
}

// Characters (code points) in the text.
inline std::size_t codePoints(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) n += isUtf8Continuation(c) ? 0 : 1;
    return n;
}

}  // namespace sim
