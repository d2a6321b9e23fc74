#include "host/values.h"

#include <cstdio>
#include <ctime>

#include "host/cli.h"

namespace hostkit {

std::string hundredthsText(std::int64_t v) {
    const std::uint64_t m =
        v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char text[40];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", v < 0 ? "-" : "",
                  static_cast<unsigned long long>(m / 100),
                  static_cast<unsigned long long>(m % 100));
    return text;
}

bool parseHundredths(const std::string& text, std::int64_t& out) {
    const std::size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 16 || fraction.size() > 2 ||
        (dot != std::string::npos && fraction.empty()))
        return false;
    for (char c : whole + fraction)
        if (c < '0' || c > '9') return false;
    const std::int64_t hundredths = fraction.empty()       ? 0
                                    : fraction.size() == 1 ? std::stoll(fraction) * 10
                                                           : std::stoll(fraction);
    out = std::stoll(whole) * 100 + hundredths;
    return true;
}

std::string localTimeText(std::uint32_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool parseTime(const std::string& text, std::uint32_t& seconds) {
    long long n = 0;
    if (parseNumber(text, 0, 0xFFFFFFFFLL, n)) {
        seconds = static_cast<std::uint32_t>(n);
        return true;
    }
    for (const char* format : {"%Y-%m-%dT%H:%M:%S", "%Y-%m-%d %H:%M:%S"}) {
        std::tm tm{};
        const char* end = strptime(text.c_str(), format, &tm);
        if (!end || *end != '\0') continue;
        tm.tm_isdst = -1;
        const std::time_t t = std::mktime(&tm);
        if (t < 0 || static_cast<long long>(t) > 0xFFFFFFFFLL) return false;
        seconds = static_cast<std::uint32_t>(t);
        return true;
    }
    return false;
}

}  // namespace hostkit
