#pragma once
// PrintAttributes: the 32-bit word that says how a print block looks.
//
//   bits  0-12  paper width in millimetres (the process-wide default when
//               the word is made or set)
//   bits 13-14  font selector 0-3; bit 14 set (2, 3) is the large font,
//               otherwise the small one; bit 13 has no effect
//   bits 15-19  line-spacing selector 0-31; only bits 16-19 count
//   bits 24-31  the style byte: 24 left, 25 right, 26 centre, 27 bold,
//               28 a carried flag without effect on printing, 29 inverse,
//               30 double size
//
// Alignment is written as one value (left 0x01000000, right 0x03000000,
// centre 0x05000000) and read with right before centre; anything else is
// left. Paper above 60 mm is "wide": the printer aligns the text itself.

#include <cstddef>
#include <cstdint>

namespace printing {

class PrintAttributes {
  public:
    enum Alignment : std::uint32_t {
        alignLeft = 0x01000000,
        alignRight = 0x03000000,
        alignCentre = 0x05000000,
    };

    static constexpr std::uint32_t kPaperWidthMask = 0x00001FFF;
    static constexpr std::uint32_t kFontMask = 0x00006000;
    static constexpr int kFontShift = 13;
    static constexpr std::uint32_t kLargeFontBit = 0x00004000;
    static constexpr std::uint32_t kLineSpacingMask = 0x000F8000;
    static constexpr int kLineSpacingShift = 15;
    static constexpr std::uint32_t kStyleMask = 0xFF000000;
    static constexpr int kStyleShift = 24;
    static constexpr std::uint32_t kAlignmentMask = 0x07000000;
    static constexpr std::uint32_t kRightBit = 0x02000000;
    static constexpr std::uint32_t kCentreBit = 0x04000000;
    static constexpr std::uint32_t kBold = 0x08000000;
    static constexpr std::uint32_t kCarriedFlag = 0x10000000;
    static constexpr std::uint32_t kInverse = 0x20000000;
    static constexpr std::uint32_t kDoubleSize = 0x40000000;

    // Widths above this many millimetres are wide paper.
    static constexpr unsigned kNarrowPaperLimit = 60;

    // A word holding only the default paper width.
    PrintAttributes();
    // As setWord.
    explicit PrintAttributes(std::uint32_t word);
    // A word with the default paper width, the font selector and the style
    // byte, e.g. of(3, 0x0C) for large, centred, bold.
    static PrintAttributes of(unsigned font, std::uint8_t style);

    // Keeps the caller's bits 13-31 and puts the default paper width into
    // bits 0-12.
    void setWord(std::uint32_t word);
    void setFont(unsigned font);             // replaces bits 13-14
    void setLineSpacing(unsigned selector);  // replaces bits 15-19
    void setStyle(std::uint8_t style);       // replaces bits 24-31
    void setAlignment(Alignment alignment);  // replaces bits 24-26
    void setBold(bool on) { setBit(kBold, on); }
    void setCarriedFlag(bool on) { setBit(kCarriedFlag, on); }
    void setInverse(bool on) { setBit(kInverse, on); }
    void setDoubleSize(bool on) { setBit(kDoubleSize, on); }

    std::uint32_t word() const { return word_; }
    unsigned paperWidth() const { return word_ & kPaperWidthMask; }
    bool widePaper() const { return paperWidth() > kNarrowPaperLimit; }
    unsigned font() const { return (word_ & kFontMask) >> kFontShift; }
    bool largeFont() const { return (word_ & kLargeFontBit) != 0; }
    unsigned lineSpacing() const { return (word_ & kLineSpacingMask) >> kLineSpacingShift; }
    std::uint8_t style() const { return static_cast<std::uint8_t>(word_ >> kStyleShift); }
    Alignment alignment() const;
    bool bold() const { return (word_ & kBold) != 0; }
    bool carriedFlag() const { return (word_ & kCarriedFlag) != 0; }
    bool inverse() const { return (word_ & kInverse) != 0; }
    bool doubleSize() const { return (word_ & kDoubleSize) != 0; }

    bool operator==(const PrintAttributes&) const = default;

  private:
    void setBit(std::uint32_t bit, bool on) { word_ = on ? (word_ | bit) : (word_ & ~bit); }

    std::uint32_t word_;
};

// The host's formatted print (command 195) describes its text with four
// bytes: 0 line spacing (taken modulo 6), 1 alignment (1 centre, 2 right,
// anything else left), 2 font (its two low bits), 3 flags.
struct FormattedPrint {
    static constexpr std::size_t kFormatSize = 4;
    // Bits of byte 3.
    static constexpr std::uint8_t kBold = 0x01;
    static constexpr std::uint8_t kCarriedFlag = 0x02;
    static constexpr std::uint8_t kInverse = 0x04;
    static constexpr std::uint8_t kDoubleSize = 0x08;
    static constexpr std::uint8_t kCut = 0x10;

    PrintAttributes attributes;
    bool cut = false;
};

// The attribute word and the cut request of the four format bytes at `format`.
FormattedPrint formattedPrintAttributes(const std::uint8_t* format);

}  // namespace printing
