#include "host/tool/values.h"

#include <cstdio>
#include <ctime>

#include "host/tool/cli.h"

namespace hosttool {

std::string hundredthsText(std::int64_t v) {
    const std::uint64_t m =
        v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char text[40];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", v < 0 ? "-" : "",
                  static_cast<unsigned long long>(m / 100),
                  static_cast<unsigned long long>(m % 100));
    return text;
}

namespace {

// Whole part and fraction of a plain decimal with at most `maxDecimals`
// decimals and `maxDigits` digits in all; false with `error` saying what
// is wrong, the value named by `what`.
bool splitDecimal(const std::string& text, std::size_t maxDecimals, std::size_t maxDigits,
                  const std::string& what, std::string& whole, std::string& fraction,
                  std::string& error) {
    const std::string named = what + " " + text;
    const std::size_t comma = text.find(',');
    if (!text.empty() && text[0] == '-') {
        error = named + " is negative";
        return false;
    }
    if (comma != std::string::npos) {
        std::string withPoint = text;
        withPoint[comma] = '.';
        error = named + " has a decimal comma: write " + withPoint;
        return false;
    }
    const std::size_t dot = text.find('.');
    whole = text.substr(0, dot);
    fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    bool digitsOnly = !whole.empty() && (dot == std::string::npos || !fraction.empty());
    for (char c : whole + fraction) digitsOnly = digitsOnly && c >= '0' && c <= '9';
    if (!digitsOnly) {
        error = "\"" + text + "\" is not " + what + ", as 45.50";
        return false;
    }
    if (fraction.size() > maxDecimals) {
        error = named + " has more than " +
                (maxDecimals == 2 ? std::string("two") : std::to_string(maxDecimals)) +
                " decimals";
        return false;
    }
    if (whole.size() + fraction.size() > maxDigits) {
        error = named + " is too large";
        return false;
    }
    return true;
}

}  // namespace

bool parseHundredths(const std::string& text, std::int64_t& out, const std::string& what,
                     std::string& error) {
    std::string whole, fraction;
    if (!splitDecimal(text, 2, 18, what, whole, fraction, error)) return false;
    if (whole.size() > 16) {
        error = what + " " + text + " is too large";
        return false;
    }
    fraction.resize(2, '0');
    out = std::stoll(whole) * 100 + std::stoll(fraction);
    return true;
}

bool parseHundredths(const std::string& text, std::int64_t& out) {
    std::string error;
    return parseHundredths(text, out, "a number", error);
}

bool parseQuantity(const std::string& text, std::int64_t& value, std::uint8_t& digits,
                   std::string& error) {
    std::string whole, fraction;
    if (!splitDecimal(text, 6, 15, "the quantity", whole, fraction, error)) return false;
    value = std::stoll(whole + fraction);
    digits = static_cast<std::uint8_t>(fraction.size());
    return true;
}

bool parseQuantity(const std::string& text, std::int64_t& value, std::uint8_t& digits) {
    std::string error;
    return parseQuantity(text, value, digits, error);
}

std::string localTimeText(std::uint32_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

Field::Value timeValue(std::uint32_t seconds) {
    if (seconds == 0) return Null{};
    return localTimeText(seconds);
}

bool parseTime(const std::string& text, std::uint32_t& seconds, std::string& error, bool endOfDay) {
    long long n = 0;
    if (parseNumber(text, 0, 0xFFFFFFFFLL, n)) {
        seconds = static_cast<std::uint32_t>(n);
        return true;
    }
    for (const char* format : {"%Y-%m-%dT%H:%M:%S", "%Y-%m-%d %H:%M:%S", "%Y-%m-%d"}) {
        std::tm tm{};
        const char* end = strptime(text.c_str(), format, &tm);
        if (!end || *end != '\0') continue;
        if (std::string(format) == "%Y-%m-%d" && endOfDay)
            tm.tm_hour = 23, tm.tm_min = 59, tm.tm_sec = 59;
        const std::tm asked = tm;
        tm.tm_isdst = -1;
        const std::time_t t = std::mktime(&tm);
        // mktime moves 30 February on to 2 March: a date that comes back
        // other than asked does not exist.
        if (tm.tm_year != asked.tm_year || tm.tm_mon != asked.tm_mon ||
            tm.tm_mday != asked.tm_mday) {
            error = text + " is not a date that exists";
            return false;
        }
        if (t < 0 || static_cast<long long>(t) > 0xFFFFFFFFLL) {
            error = text + " lies outside the register's clock (1970 to 2106)";
            return false;
        }
        seconds = static_cast<std::uint32_t>(t);
        return true;
    }
    error = "\"" + text + "\" is no time: give local time as 2027-01-05T09:30:00, or seconds";
    return false;
}

}  // namespace hosttool
