#include "printing/print_layout.h"

#include "printing/escpos.h"
#include "printing/printable_text.h"

namespace printing {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kTab = '\t';

// ESC 3 n for a line-spacing selector; its lowest bit does not count.
std::uint8_t lineSpacingDots(unsigned selector) {
    const unsigned s = selector & ~1u;
    if (s == 0) return 1;
    if (s < 6) return static_cast<std::uint8_t>(35 * s + 1);
    return 255;
}

std::uint8_t alignmentArgument(const PrintAttributes& a) {
    if (!a.widePaper()) return 0;  // narrow paper: the register pads itself
    switch (a.alignment()) {
        case PrintAttributes::alignRight:
            return 2;
        case PrintAttributes::alignCentre:
            return 1;
        default:
            return 0;
    }
}

std::uint8_t printMode(const PrintAttributes& a) {
    std::uint8_t mode = 0;
    if (a.doubleSize()) mode |= 0x30;  // double height and width
    if (a.bold()) mode |= 0x08;
    if (!a.largeFont()) mode |= 0x01;  // font B
    return mode;
}

}  // namespace

PrintBlock makeBlock(std::string_view text, PrintAttributes attributes) {
    PrintBlock block;
    block.lines.emplace_back(text);
    block.attributes = attributes;
    return block;
}

void addText(PrintBlock& block, std::string_view text) {
    if (block.kind != PrintBlock::kText) return;
    for (;;) {
        const std::size_t feed = text.find(kLineFeed);
        block.lines.emplace_back(text.substr(0, feed));
        if (feed == std::string_view::npos) return;
        text.remove_prefix(feed + 1);
    }
}

void setAttributes(PrintBlock& block, PrintAttributes attributes) { block.attributes = attributes; }

int charsPerLine(const PrintAttributes& a) {
    int width = a.widePaper() ? (a.largeFont() ? 48 : 64) : (a.largeFont() ? 34 : 44);
    return a.doubleSize() ? width / 2 : width;
}

std::string styleCommands(const PrintAttributes& a) {
    return std::string{'\x1B', '\x33', static_cast<char>(lineSpacingDots(a.lineSpacing())),
                       '\x1B', '\x61', static_cast<char>(alignmentArgument(a)),
                       '\x1B', '\x21', static_cast<char>(printMode(a)),
                       '\x1D', '\x42', static_cast<char>(a.inverse() ? 1 : 0)};
}

std::string layoutLine(std::string_view line, const PrintAttributes& a) {
    const std::size_t width = static_cast<std::size_t>(charsPerLine(a));
    const std::size_t n = line.size();
    if (n >= width) return std::string(line);

    const std::size_t tab = line.find(kTab);
    if (tab != std::string_view::npos) {
        std::string out(line.substr(0, tab));
        out.append(width - n + 1, ' ');
        out.append(line.substr(tab + 1));
        for (char& c : out)
            if (c == kTab) c = ' ';
        return out;
    }
    if (a.widePaper()) return std::string(line);  // the printer aligns it

    std::size_t indent = 0;
    switch (a.alignment()) {
        case PrintAttributes::alignCentre:
            indent = (width - n) / 2;
            break;
        case PrintAttributes::alignRight:
            indent = width - n;
            break;
        default:
            break;
    }
    return std::string(indent, ' ') + std::string(line);
}

std::string wrapLine(std::string_view line, const PrintAttributes& a) {
    const std::size_t width = static_cast<std::size_t>(charsPerLine(a));
    std::string out;
    // Each pass emits one printed line and continues with what is left.
    for (;;) {
        if (a.widePaper() || line.size() <= width) return out + layoutLine(line, a);

        const std::size_t tab = line.find(kTab);
        if (tab != std::string_view::npos) {
            // Label and value on lines of their own.
            out += wrapLine(line.substr(0, tab), a);
            out += kLineFeed;
            line.remove_prefix(tab + 1);
            continue;
        }
        const std::size_t space = line.substr(0, width).rfind(' ');
        if (space == std::string_view::npos) {
            out.append(line.substr(0, width));
            out += kLineFeed;
            line.remove_prefix(width);
        } else {
            out += layoutLine(line.substr(0, space), a);
            out += kLineFeed;
            line.remove_prefix(space + 1);
        }
    }
}

std::string renderBlock(const PrintBlock& block, bool cut) {
    if (block.kind != PrintBlock::kText) return {};
    std::string out = styleCommands(block.attributes);
    for (const std::string& line : block.lines) {
        // Lines carry texts from outside (names, free texts, stored
        // records): none of their bytes may reach the printer as a command.
        out += wrapLine(printableText(line, true), block.attributes);
        out += kLineFeed;
    }
    if (cut) out.append(escpos::kFeedAndCut);
    return out;
}

std::string renderBlocks(const std::vector<PrintBlock>& blocks, bool cut) {
    std::string out;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        out += renderBlock(blocks[i], cut && i + 1 == blocks.size());
    return out;
}

}  // namespace printing
