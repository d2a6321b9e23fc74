#include "sim/paper_roll.h"

#include <charconv>
#include <numeric>
#include <string_view>

#include "sim/text_file.h"

namespace sim {

namespace {
constexpr int kWideFontA = 48, kWideFontB = 64;
constexpr int kNarrowFontA = 34, kNarrowFontB = 44;
constexpr int kWidestRollMm = 255;  // the setting is one byte
}  // namespace

int PaperRoll::charsPerLine(bool fontB) const {
    if (wide()) return fontB ? kWideFontB : kWideFontA;
    return fontB ? kNarrowFontB : kNarrowFontA;
}

int PaperRoll::lineUnits() const { return std::lcm(charsPerLine(false), charsPerLine(true)); }

int parseRollWidth(const std::string& text) {
    std::string_view t = text;
    const auto first = t.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return 0;
    t.remove_prefix(first);
    t = t.substr(0, t.find_last_not_of(" \t\r\n") + 1);
    if (t.ends_with("mm")) t.remove_suffix(2);
    int mm = 0;
    const auto [at, error] = std::from_chars(t.data(), t.data() + t.size(), mm);
    if (error != std::errc() || at != t.data() + t.size() || mm < 1 || mm > kWidestRollMm) return 0;
    return mm;
}

PaperRoll loadedRoll(const std::string& root) {
    if (const auto named = readTextFile(root + "/printer/paper"))
        if (const int mm = parseRollWidth(*named)) return {mm};
    if (const auto settings = readTextFile(root + "/nv/PRINTER_SETTINGS");
        settings && !settings->empty())
        return {static_cast<unsigned char>(settings->front())};
    return {};
}

}  // namespace sim
