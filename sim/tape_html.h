#pragma once
// tape.html's form of the paper: a page on which every printed line is a
// strip of paper exactly as wide as the roll's line of font A characters
// (plus the paper's margins), so consecutive lines make one receipt and
// nothing ever widens it. Characters keep their proportions: a font B
// character is the roll's font A line divided by its font B count, a
// double-size one is twice as wide and high. Alignment is the browser's, in
// the same line width the printer aligned in. A cut separates two pieces of
// paper with a dashed line and scissors.

#include <string>
#include <vector>

#include "sim/tape_renderer.h"

namespace sim {

// The page up to where the paper goes, style sheet included.
std::string tapeHtmlHead();

// What closes the page after the paper.
extern const char* const kTapeHtmlTail;

// The markup of the printed lines and cuts among `items`.
std::string tapeHtml(const std::vector<TapeItem>& items);

}  // namespace sim
