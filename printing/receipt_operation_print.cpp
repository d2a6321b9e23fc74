#include "printing/receipt_operation_print.h"

#include "common/cp866.h"
#include "config/printer_settings.h"
#include "printing/printable_text.h"

namespace printing {

namespace {

constexpr unsigned kFont = 1;
constexpr std::uint8_t kStyle = 0x01;  // left

void replaceFirstTab(std::string& text) {
    const std::size_t tab = text.find('\t');
    if (tab != std::string::npos) text[tab] = ' ';
}

bool fitsOneLine(const PrintBlock& block, const std::string& left, const std::string& right) {
    return left.size() + right.size() < static_cast<std::size_t>(charsPerLine(block.attributes));
}

// "КОД<tab>code", or nothing without a code.
std::string codeText(const ReceiptOperation& p) {
    return p.code.empty() ? std::string() : cp866::fromUtf8("КОД\t") + printableText(p.code);
}

// The section's name, or "ОТДЕЛ<tab>number" for a section without one.
std::string sectionText(const ReceiptOperation& p) {
    if (!p.section) return {};
    if (!p.section->name.empty()) return printableText(p.section->name);
    return cp866::fromUtf8("ОТДЕЛ\t") + std::to_string(p.section->number);
}

// "<tab>price x quantity unit = cost".
std::string priceText(const ReceiptOperation& p) {
    return "\t" + p.price.toText() + " x " + printableText(p.quantityText(true)) + " = " +
           p.cost().toText();
}

void addDiscountLine(PrintBlock& block, const ReceiptOperation& p) {
    std::string label;
    if (p.hasTableDiscount())
        label = printableText(discountLabel(*p.discount));
    else if (p.discountSum.value() > 0)
        label = cp866::fromUtf8("СКИДКА");
    else
        return;
    // The first letter is the Latin C (0x43), as every receipt has shown it.
    const std::string afterDiscount = cp866::fromUtf8("C УЧЕТОМ СКИДКИ\t");
    addPairLine(block, label + "\t" + p.discountAmount().toText(),
                afterDiscount + p.totalAfterDiscount().toText());
}

void addTaxLine(PrintBlock& block, const ReceiptOperation& p) {
    if (!p.tax) return;
    std::string line = printableText(taxLabel(*p.tax));
    if (!p.tax->chargesNothing()) line += "\t" + p.taxSum().toText();
    block.lines.push_back(line);
}

}  // namespace

void addPairLine(PrintBlock& block, std::string left, std::string right) {
    if (!fitsOneLine(block, left, right)) {
        block.lines.push_back(std::move(left));
        block.lines.push_back(std::move(right));
        return;
    }
    replaceFirstTab(left);
    replaceFirstTab(right);
    block.lines.push_back(left + "\t" + right);
}

std::string printLines(const ReceiptOperation& position) {
    PrintBlock block;
    block.attributes = PrintAttributes::of(kFont, kStyle);
    const settings::PrinterSettings printer;
    // A tab in a name would move the price; a line feed would end the line.
    const std::string name = printableText(position.name);
    if (printer.printerFlags & settings::kPositionLayoutFlag) {
        addPairLine(block, sectionText(position), codeText(position));
        // The name and the price line stay one line with the price at the
        // right margin when they fit.
        const std::string price = priceText(position);
        if (fitsOneLine(block, name, price)) {
            block.lines.push_back(name + price);
        } else {
            block.lines.push_back(name);
            block.lines.push_back(price);
        }
    } else {
        block.lines.push_back(name);
        addPairLine(block, codeText(position), priceText(position));
    }
    addDiscountLine(block, position);
    addTaxLine(block, position);
    if (position.extraLine) block.lines.push_back(printableText(*position.extraLine));
    return renderBlock(block, false);
}

}  // namespace printing
