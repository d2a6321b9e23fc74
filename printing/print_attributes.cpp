#include "printing/print_attributes.h"

#include "config/paper_width.h"

namespace printing {

namespace {
std::uint32_t defaultPaperWidth() {
    return settings::currentPaperWidth() & PrintAttributes::kPaperWidthMask;
}
}  // namespace

PrintAttributes::PrintAttributes() : word_(defaultPaperWidth()) {}

PrintAttributes::PrintAttributes(std::uint32_t word) : word_(0) { setWord(word); }

PrintAttributes PrintAttributes::of(unsigned font, std::uint8_t style) {
    PrintAttributes a;
    a.setFont(font);
    a.setStyle(style);
    return a;
}

void PrintAttributes::setWord(std::uint32_t word) {
    word_ = (word & ~kPaperWidthMask) | defaultPaperWidth();
}

void PrintAttributes::setFont(unsigned font) {
    word_ = (word_ & ~kFontMask) | ((font << kFontShift) & kFontMask);
}

void PrintAttributes::setLineSpacing(unsigned selector) {
    word_ = (word_ & ~kLineSpacingMask) | ((selector << kLineSpacingShift) & kLineSpacingMask);
}

void PrintAttributes::setStyle(std::uint8_t style) {
    word_ = (word_ & ~kStyleMask) | (static_cast<std::uint32_t>(style) << kStyleShift);
}

void PrintAttributes::setAlignment(Alignment alignment) {
    word_ = (word_ & ~kAlignmentMask) | alignment;
}

PrintAttributes::Alignment PrintAttributes::alignment() const {
    if (word_ & kRightBit) return alignRight;
    if (word_ & kCentreBit) return alignCentre;
    return alignLeft;
}

FormattedPrint formattedPrintAttributes(const std::uint8_t* format) {
    FormattedPrint result;
    PrintAttributes& a = result.attributes;
    a.setLineSpacing(format[0] % 6);
    switch (format[1]) {
        case 1:
            a.setAlignment(PrintAttributes::alignCentre);
            break;
        case 2:
            a.setAlignment(PrintAttributes::alignRight);
            break;
        default:
            a.setAlignment(PrintAttributes::alignLeft);
            break;
    }
    a.setFont(format[2] & 3);
    const std::uint8_t flags = format[3];
    a.setBold(flags & FormattedPrint::kBold);
    a.setCarriedFlag(flags & FormattedPrint::kCarriedFlag);
    a.setInverse(flags & FormattedPrint::kInverse);
    a.setDoubleSize(flags & FormattedPrint::kDoubleSize);
    result.cut = (flags & FormattedPrint::kCut) != 0;
    return result;
}

}  // namespace printing
