#include "printing/notices.h"

#include "common/cp866.h"

namespace printing {

namespace {
constexpr unsigned kSmallFont = 1;
constexpr unsigned kLargeFont = 3;

// Centred and bold, the alignment written as its one value.
PrintAttributes centredBold(unsigned font) {
    PrintAttributes a;
    a.setFont(font);
    a.setAlignment(PrintAttributes::alignCentre);
    a.setBold(true);
    return a;
}
}  // namespace

PrintBlock copyMarkerBlock() {
    PrintBlock block;
    block.attributes = centredBold(kSmallFont);
    block.lines = {cp866::fromUtf8("(КОПИЯ)")};
    return block;
}

PrintBlock storageWarningBlock() {
    PrintBlock block;
    block.attributes = centredBold(kLargeFont);
    block.attributes.setDoubleSize(true);
    for (const char* line : {"ВНИМАНИЕ!", "ИДЕТ ФОРМИРОВАНИЕ ВНУТРЕННЕГО", "ИДЕТ ФОРМИРОВАНИЕ",
                             "ХРАНИЛИЩА!", "НЕ ВЫКЛЮЧАЙТЕ АППАРАТ", "ДО ПЕЧАТИ ПРИВЕТСТВИЯ!"})
        block.lines.push_back(cp866::fromUtf8(line));
    return block;
}

}  // namespace printing
