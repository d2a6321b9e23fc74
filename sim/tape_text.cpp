#include "sim/tape_text.h"

#include <algorithm>

#include "sim/utf8_text.h"

namespace sim {

std::string cutMarkText(const PaperRoll& roll) {
    return "✂" + std::string(static_cast<std::size_t>(roll.charsPerLine(false) - 1), '-');
}

std::string tapeTextLine(const TapeLine& line, const PaperRoll& roll) {
    const bool fontB = !line.runs.empty() && line.runs.front().style.fontB;
    const int columns = roll.charsPerLine(fontB);
    std::string text;
    int used = 0;
    for (const TapeRun& run : line.runs) {
        const std::string widening(static_cast<std::size_t>(run.style.width - 1), ' ');
        for (std::size_t at = 0; at < run.text.size();) {
            const std::size_t next = utf8CharEnd(run.text, at);
            text.append(run.text, at, next - at);
            text += widening;
            used += run.style.width;
            at = next;
        }
    }
    const int room = std::max(columns - used, 0);
    const int before = line.align == TapeAlign::centre  ? room / 2
                       : line.align == TapeAlign::right ? room
                                                        : 0;
    return std::string(static_cast<std::size_t>(before), ' ') + text +
           std::string(static_cast<std::size_t>(room - before), ' ');
}

std::string tapeText(const std::vector<TapeItem>& items) {
    std::string out;
    for (const TapeItem& item : items) {
        if (item.kind == TapeItem::line) out += tapeTextLine(item.printed, item.roll) + "\n";
        if (item.kind == TapeItem::cut) out += cutMarkText(item.roll) + "\n";
    }
    return out;
}

}  // namespace sim
