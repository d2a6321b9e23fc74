#pragma once
// tape.txt's form of the paper: one text line per printed line, padded with
// spaces to the roll's width in characters of the line's font (its first
// run's), so that centred and right-aligned text stands where the printer
// put it. A character in n-fold width takes n columns: itself and n - 1
// spaces. A cut is a line of the roll's width: scissors, then dashes.

#include <string>
#include <vector>

#include "sim/tape_renderer.h"

namespace sim {

// The text line that shows a cut on the roll.
std::string cutMarkText(const PaperRoll& roll);

// The text of one printed line on its roll, without the line end.
std::string tapeTextLine(const TapeLine& line, const PaperRoll& roll);

// tape.txt's text for the printed lines and cuts among `items`.
std::string tapeText(const std::vector<TapeItem>& items);

}  // namespace sim
