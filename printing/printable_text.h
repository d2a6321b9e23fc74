#pragma once
// Texts that come from outside the register (the host's names, lines and
// free texts, the stored records they became) are printed as text only: a
// byte the printer would read as a command (below 0x20, and 0x7F) is
// replaced by a visible stand-in, so that no text can announce a data block
// that swallows the jobs after it, or put any other command on a fiscal
// document. What is stored keeps the bytes as received; only the printed
// form changes.

#include <string>
#include <string_view>

namespace printing {

// "■" in CP866: stands for a byte that cannot be printed as it is.
constexpr char kStandIn = '\xFE';

// A byte the printer reads as (the start of) a command.
constexpr bool isPrinterControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

// `text` with every printer control byte replaced by kStandIn. With
// `keepTabs`, tabs stay: in a line of the print layout a tab is the
// label/value separator that the layout itself consumes.
std::string printableText(std::string_view text, bool keepTabs = false);

}  // namespace printing
