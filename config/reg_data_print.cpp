#include "config/reg_data_print.h"

#include "common/cp866.h"
#include "printing/print_layout.h"

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

}  // namespace

std::string registrationTextLines(const RegData& reg) {
    if (!reg.isValid()) return {};
    printing::PrintBlock block = blockInStyle(kTextsStyle);
    block.lines = {reg.regText1(), reg.regText2(), reg.regText3()};
    return printing::renderBlock(block, false);
}

std::string registrationNumberLines(const RegData& reg, bool cut) {
    if (!reg.isValid()) return {};
    printing::PrintBlock block = blockInStyle(kNumbersStyle);
    block.lines = {cp866::fromUtf8("ИНН\t") + reg.taxpayerNumberText(),
                   cp866::fromUtf8("ФН\t") + reg.storageNumberText()};
    return printing::renderBlock(block, cut);
}
