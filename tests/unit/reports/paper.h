#pragma once
// What printer bytes put on paper, for the report tests: the lines in
// UTF-8 with the printer's style commands left out, and the forms of the
// lines on 44-character narrow paper.

#include <string>
#include <vector>

#include "common/cp866.h"

namespace paper {

// The lines of `printed` (CP866) in UTF-8, without the style commands
// (ESC 3 n, ESC a n, ESC ! n, GS B n, ESC i).
inline std::vector<std::string> lines(const std::string& printed) {
    std::vector<std::string> out;
    std::string line;
    for (std::size_t i = 0; i < printed.size(); ++i) {
        const char c = printed[i];
        if (c == '\x1b' && i + 1 < printed.size()) {
            i += printed[i + 1] == 'i' ? 1 : 2;
        } else if (c == '\x1d') {
            i += 2;
        } else if (c == '\n') {
            out.push_back(cp866::toUtf8(line));
            line.clear();
        } else {
            line += c;
        }
    }
    return out;
}

inline std::size_t width(const std::string& utf8) { return cp866::fromUtf8(utf8).size(); }

// A label-and-value line: the value pushed to the right margin.
inline std::string row(const std::string& label, const std::string& value) {
    return label + std::string(44 - width(label) - width(value), ' ') + value;
}

inline std::string centred(const std::string& text) {
    return std::string((44 - width(text)) / 2, ' ') + text;
}

}  // namespace paper
