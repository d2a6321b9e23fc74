#include "printing/notices.h"

#include "common/cp866.h"

namespace printing {

namespace {
constexpr unsigned kSmallFont = 1;
constexpr unsigned kLargeFont = 3;
constexpr std::uint8_t kCentredBold = 0x0C;
constexpr std::uint8_t kCentredBoldDouble = 0x4C;
}  // namespace

PrintBlock copyMarkerBlock() {
    PrintBlock block;
    block.attributes = PrintAttributes::of(kSmallFont, kCentredBold);
    block.lines = {cp866::fromUtf8("(КОПИЯ)")};
    return block;
}

PrintBlock storageWarningBlock() {
    PrintBlock block;
    block.attributes = PrintAttributes::of(kLargeFont, kCentredBoldDouble);
    for (const char* line : {"ВНИМАНИЕ!", "ИДЕТ ФОРМИРОВАНИЕ ВНУТРЕННЕГО", "ИДЕТ ФОРМИРОВАНИЕ",
                             "ХРАНИЛИЩА!", "НЕ ВЫКЛЮЧАЙТЕ АППАРАТ", "ДО ПЕЧАТИ ПРИВЕТСТВИЯ!"})
        block.lines.push_back(cp866::fromUtf8(line));
    return block;
}

}  // namespace printing
