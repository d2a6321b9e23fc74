#pragma once
// Readable forms of the register's values on the command line and in
// okta-host's output: money and percentages in hundredths, times as local
// date and time.

#include <cstdint>
#include <string>

namespace hostkit {

// Hundredths as text with two decimals: 1000 gives "10.00", -5 "-0.05".
std::string hundredthsText(std::int64_t v);

// "10", "10.5", "10.50" as hundredths; false for anything else.
bool parseHundredths(const std::string& text, std::int64_t& out);

// Seconds since 1970 as local date and time, "2027-01-05T09:30:00".
std::string localTimeText(std::uint32_t seconds);

// "2027-01-05T09:30:00" (or with a space) as local time, or plain seconds;
// false for anything else or a time outside the 32-bit count.
bool parseTime(const std::string& text, std::uint32_t& seconds);

}  // namespace hostkit
