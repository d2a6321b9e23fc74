#pragma once
// Print layout: every printed text is a list of print blocks, each a list of
// CP866 lines under one PrintAttributes word. Rendering a block gives one
// ESC/POS byte string ready for printBytes: the style commands, then every
// line wrapped and aligned to the paper and ended by a line feed, then
// optionally the feed-and-cut sequence.
//
// On paper of 60 mm and less the register pads and breaks lines itself; on
// wider paper the printer aligns the text and long lines are left to it. A
// tab in a line splits it into a label and a value pushed to the right
// margin. Widths count CP866 bytes.

#include <string>
#include <string_view>
#include <vector>

#include "printing/print_attributes.h"

namespace printing {

struct PrintBlock {
    static constexpr int kText = 0;  // only text blocks are printed

    int kind = kText;
    std::vector<std::string> lines;  // CP866
    PrintAttributes attributes;
};

// A text block whose single line is the whole text (line feeds included).
PrintBlock makeBlock(std::string_view text, PrintAttributes attributes);

// Appends the text's lines: it is split at every line feed, and what
// follows the last one is a line too, even when empty. Ignored for a block
// that is not a text block.
void addText(PrintBlock& block, std::string_view text);

void setAttributes(PrintBlock& block, PrintAttributes attributes);

// Characters per line: 48 large / 64 small on wide paper, 34 / 44 on
// narrow paper; halved for double size.
int charsPerLine(const PrintAttributes& attributes);

// The bytes that open a rendered block: ESC 3 n (line spacing), ESC a n
// (alignment, always left on narrow paper), ESC ! m (print mode), GS B n
// (inverse). A block's style commands undo those of the block before it.
std::string styleCommands(const PrintAttributes& attributes);

// One line padded for its tab (label left, value right, W bytes in all) or,
// on narrow paper, for its alignment. A line of W bytes or more is returned
// unchanged, a tab in it too.
std::string layoutLine(std::string_view line, const PrintAttributes& attributes);

// One line broken into printable lines joined by line feeds (on narrow
// paper only): a label and value that do not fit go on two lines, a long
// text breaks at the last space before the margin, or at the margin when it
// has no space there.
std::string wrapLine(std::string_view line, const PrintAttributes& attributes);

// The block's bytes; the empty string for a block that is not a text block.
// Every printer control byte of a line but the tab prints as the stand-in
// of printing/printable_text.h.
// With `cut`, the feed-and-cut sequence follows.
std::string renderBlock(const PrintBlock& block, bool cut);

// Several blocks in one string; with `cut`, the feed-and-cut sequence after
// the last.
std::string renderBlocks(const std::vector<PrintBlock>& blocks, bool cut);

}  // namespace printing
