#pragma once
// The register's rules for the values a host sends, checked before sending:
// a value the register would refuse with a bare result code, or worse,
// store or print other than meant (a name with characters outside its code
// page, a 9-digit factory number). Each check gives the broken rule in
// words, or nothing when the value keeps the rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostkit::rules {

using Broken = std::optional<std::string>;

// The factory number: exactly 10 digits 0-9.
Broken factoryNumber(std::string_view text);
// Cashiers, sections and discounts are numbered 1 to 20.
Broken cashierNumber(long long n);
Broken recordNumber(std::string_view what, long long n);
// A percentage discount: above 0, at most 100.00 % (in hundredths).
Broken discountPercent(std::int64_t hundredths);
// A fixed discount: above 0.
Broken discountAmount(std::int64_t kopecks);
// A tax rate: at most 99.99 % (in hundredths).
Broken taxRate(std::int64_t hundredths);
// A cash-in: above 0, at most 1 000 000 000.00.
Broken cashInAmount(std::int64_t kopecks);
// Paper rolls the printer takes: 57 to 60 mm (narrow) or 76 to 80 mm (wide).
Broken paperWidth(long long millimetres);
// Taxpayer number: 10 to 12 digits; storage number: 10 to 16 digits.
Broken taxpayerNumber(std::string_view text);
Broken storageNumber(std::string_view text);

// A text in UTF-8, converted to the register's code page (CP866) into
// `cp866`; broken when it holds a character the code page lacks, or when it
// is shorter than `minBytes` or longer than `maxBytes` (counted in the code
// page, one byte a character). `what` names the value in the message.
Broken text(std::string_view utf8, std::string_view what, std::size_t minBytes,
            std::size_t maxBytes, std::string& cp866);

// The longest texts the register keeps whole.
constexpr std::size_t kCashierName = 255;
constexpr std::size_t kSectionName = 126;
constexpr std::size_t kDiscountName = 127;
constexpr std::size_t kTaxName = 30;
constexpr std::size_t kRegistrationText = 255;
constexpr std::size_t kPositionName = 127;
constexpr std::size_t kPositionCode = 127;
constexpr std::size_t kPositionUnit = 15;
constexpr std::size_t kTextLine = 256;

}  // namespace hostkit::rules
