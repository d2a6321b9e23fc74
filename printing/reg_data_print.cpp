#include "printing/reg_data_print.h"

#include "common/cp866.h"
#include "printing/print_layout.h"
#include "printing/printable_text.h"

namespace {

constexpr std::uint8_t kTextsStyle = 0x04;
constexpr std::uint8_t kNumbersStyle = 0x01;

printing::PrintBlock blockInStyle(std::uint8_t style) {
    printing::PrintAttributes attributes;  // the default paper width
    attributes.setStyle(style);
    printing::PrintBlock block;
    block.attributes = attributes;
    return block;
}

// A full number field reads with one zero byte after it (it is part of the
// number's text in check values and tagged values); paper gets the digits
// only, and only they count in the padding.
std::string printable(std::string text) {
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

}  // namespace

std::string registrationTextLines(const RegData& reg) {
    if (!reg.isValid()) return {};
    printing::PrintBlock block = blockInStyle(kTextsStyle);
    // The host's texts: a tab in them is no layout of ours.
    block.lines = {printing::printableText(reg.regText1()), printing::printableText(reg.regText2()),
                   printing::printableText(reg.regText3())};
    return printing::renderBlock(block, false);
}

std::string registrationNumberLines(const RegData& reg, bool cut) {
    if (!reg.isValid()) return {};
    printing::PrintBlock block = blockInStyle(kNumbersStyle);
    block.lines = {cp866::fromUtf8("ИНН\t") + printable(reg.taxpayerNumberText()),
                   cp866::fromUtf8("ФН\t") + printable(reg.storageNumberText())};
    return printing::renderBlock(block, cut);
}
