#pragma once
// Conversion between UTF-8 (the source code and the host kit's text) and
// CP866 (every text the register prints, stores or exchanges).

#include <cstdint>
#include <string>
#include <string_view>

namespace cp866 {

// Unicode code point of a CP866 byte.
char32_t toUnicode(std::uint8_t byte);

// CP866 byte of a code point; false when the code page has no such character.
bool fromUnicode(char32_t cp, std::uint8_t& byte);

// UTF-8 to CP866. Characters the code page lacks, and malformed UTF-8, become '?'.
std::string fromUtf8(std::string_view utf8);

// UTF-8 to CP866 for text that must arrive as written: false, with `unfit`
// holding the first character the code page lacks (or the malformed bytes),
// when the text cannot be converted whole.
bool tryFromUtf8(std::string_view utf8, std::string& out, std::string& unfit);

// CP866 to UTF-8; every byte has a character.
std::string toUtf8(std::string_view cp866);

}  // namespace cp866
