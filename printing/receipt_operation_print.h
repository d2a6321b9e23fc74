#pragma once
// The printed form of a receipt position: the text block that is printed
// as soon as the position is added to a receipt.

#include <string>

#include "encoding/receipt_operation.h"
#include "printing/print_layout.h"

namespace printing {

// Puts a left text and a right text into `block`. When both fit on one line
// (their lengths add up to less than the block's width), the first tab of
// each becomes a space and one line "left<tab>right" is added, so the right
// text goes to the right margin; otherwise each is a line of its own.
void addPairLine(PrintBlock& block, std::string left, std::string right);

// The position's lines rendered in font 1, style 0x01 (left). The printer
// settings are read afresh: their position-layout flag puts the section and
// the code first, before the name and the price line. Then the discount
// line, the tax line and the extra line.
std::string printLines(const ReceiptOperation& position);

}  // namespace printing
