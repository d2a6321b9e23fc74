#pragma once
// The printed forms shared by the documents and the report sections: the
// styles they print in, date and amount texts, and blocks of lines.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "printing/print_layout.h"

namespace print_text {

// Style bytes of the print attributes.
constexpr std::uint8_t kLeft = 0x01;
constexpr std::uint8_t kCentred = 0x04;
constexpr std::uint8_t kCentredBold = 0x0C;
constexpr std::uint8_t kLeftDouble = 0x41;
constexpr std::uint8_t kCentredBoldDouble = 0x4C;

// Font selectors: 0 and 1 are the small font (the documents' lines use 1,
// their double-size lines 0), 2 and 3 the large one.
constexpr unsigned kSmallFont = 1;
constexpr unsigned kDoubleSizeFont = 0;

// "%d.%m.%Y %H:%M:%S" in local time.
std::string dateTimeText(std::uint32_t seconds);

// An amount in kopecks with two decimals: 150000 is "1500.00".
std::string amountText(std::int64_t kopecks);

// CP866 bytes of a UTF-8 text of the source.
std::string cp(std::string_view utf8);

// "КАССИР<tab>name", the name printed as text only (printing/printable_text.h).
std::string cashierLine(std::string_view name);

// A text block in `font` and `style` holding `texts` (CP866), each split
// into lines at its line feeds.
printing::PrintBlock block(unsigned font, std::uint8_t style,
                           std::initializer_list<std::string> texts);

}  // namespace print_text
