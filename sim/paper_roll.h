#pragma once
// The roll in the virtual printer. Its width decides how many characters a
// printed line holds, exactly as many as the register's print layout counts
// on: 48 in font A (the large font) and 64 in font B (the small one) on
// rolls wider than 60 mm, 34 and 44 on rolls of 60 mm and less, and n times
// fewer in n-fold width (half in double width).
//
// Positions on a line are counted in units that both fonts fill exactly: a
// line is as many units as the least common multiple of the two character
// counts, and a character takes the line's units divided by its font's
// count, times its width factor.

#include <string>

namespace sim {

struct PaperRoll {
    static constexpr int kDefaultWidthMm = 60;  // the register's default paper width
    static constexpr int kNarrowestWideMm = 61;

    int widthMm = kDefaultWidthMm;

    bool wide() const { return widthMm >= kNarrowestWideMm; }
    // Characters a line holds in font A or B at single width.
    int charsPerLine(bool fontB) const;
    int lineUnits() const;
    int charUnits(bool fontB) const { return lineUnits() / charsPerLine(fontB); }

    bool operator==(const PaperRoll&) const = default;
};

// The roll width that a text names: a whole number of millimetres, 1 to
// 255, with optional white space and an optional "mm"; 0 when it names none.
int parseRollWidth(const std::string& text);

// The roll the printer holds on the board under `root`: the one that
// ROOT/printer/paper names, else the register's paper-width setting (byte 0
// of ROOT/nv/PRINTER_SETTINGS), else the default. Read afresh on every call.
PaperRoll loadedRoll(const std::string& root);

}  // namespace sim
