#pragma once
// Readable forms of the register's values on okta-host's command line and
// in its output: money and percentages in hundredths, quantities with their
// decimals, times as local date and time.

#include <cstdint>
#include <string>

#include "host/tool/output.h"

namespace hosttool {

// Hundredths as text with two decimals: 1000 gives "10.00", -5 "-0.05".
std::string hundredthsText(std::int64_t v);

// "10", "10.5", "10.50" as hundredths; false for anything else.
bool parseHundredths(const std::string& text, std::int64_t& out);
// The same, with `error` naming what is wrong, `what` the value ("the
// amount 1,50 has a decimal comma: write 1.50"): a negative number, a decimal
// comma, more than two decimals, a number too large, or no number at all.
bool parseHundredths(const std::string& text, std::int64_t& out, const std::string& what,
                     std::string& error);

// "2", "1.5", "0.250" as a count of units of 10^-digits, keeping the
// decimals as written: 15 with 1 digit, 250 with 3; false with `error`
// naming what is wrong, as parseHundredths does (up to six decimals).
bool parseQuantity(const std::string& text, std::int64_t& value, std::uint8_t& digits,
                   std::string& error);
bool parseQuantity(const std::string& text, std::int64_t& value, std::uint8_t& digits);

// Seconds since 1970 as local date and time, "2027-01-05T09:30:00".
std::string localTimeText(std::uint32_t seconds);

// A time as a field: local date and time, or absent (null) for 0, which
// stands for no time at all.
Field::Value timeValue(std::uint32_t seconds);
// An amount in kopecks as a field: "10.00".
inline Field::Value moneyValue(std::int64_t kopecks) { return hundredthsText(kopecks); }
inline Field::Value number(unsigned long long v) { return v; }

// "2027-01-05T09:30:00" (or with a space), or a date "2027-01-05" (its
// midnight, or with `endOfDay` its last second), as local time; or plain
// seconds. False with `error` set for anything else: a date that does not
// exist (2027-02-30), or a time outside the register's 32-bit count.
bool parseTime(const std::string& text, std::uint32_t& seconds, std::string& error,
               bool endOfDay = false);

}  // namespace hosttool
