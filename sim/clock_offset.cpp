#include "sim/clock_offset.h"

#include <cctype>
#include <charconv>

namespace sim {

std::optional<std::int64_t> parseClockOffset(std::string_view text) {
    auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end) return std::nullopt;
    return value;
}

BoardClock boardClock(const std::optional<std::string>& offsetText, std::int64_t hostNow) {
    // No file, or an empty one, is no offset.
    if (!offsetText || offsetText->find_first_not_of(" \t\r\n") == std::string::npos)
        return {hostNow, ""};
    const std::optional<std::int64_t> offset = parseClockOffset(*offsetText);
    if (!offset) return {std::nullopt, "clock-offset does not hold a whole number of seconds"};
    std::int64_t t = 0;
    if (__builtin_add_overflow(hostNow, *offset, &t) || t < 0 || t > kLatestBoardTime)
        return {std::nullopt, "clock-offset " + std::to_string(*offset) +
                                  " puts the clock outside 1970-01-01 ... 2106-02-07, the "
                                  "register's 32-bit time"};
    return {t, ""};
}

}  // namespace sim
