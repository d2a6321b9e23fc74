// The printed receipt: its title and kind, its header and footer, and its
// short form on the control tape. The positions and text lines print as
// they are added (addItem's reply texts).

#include "documents/print_text.h"
#include "documents/receipt_doc.h"

using namespace print_text;

std::string ReceiptDoc::kindName() const {
    switch (receiptKind_) {
        case sale:
            return cp("ПРОДАЖА");
        case purchase:
            return cp("ПОКУПКА");
        case returnOfSale:
            return cp("ВОЗВРАТ ПРОДАЖИ");
        case returnOfPurchase:
            return cp("ВОЗВРАТ ПОКУПКИ");
        default:
            return {};
    }
}

std::string ReceiptDoc::title() const {
    switch (receiptKind_) {
        case sale:
        case returnOfPurchase:
            return cp("ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК НА ТОВАРЫ (УСЛУГИ)");
        case purchase:
        case returnOfSale:
            return cp("ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК ВЫДАЧИ СРЕДСТВ");
        default:
            return {};
    }
}

std::vector<std::string> ReceiptDoc::taxLines() const {
    std::vector<std::string> lines;
    for (const auto& [number, sum] : taxSums_) {
        const auto tax = taxes_.find(number);
        if (tax != taxes_.end()) lines.push_back(taxLabel(tax->second) + "\t" + sum.toText());
    }
    return lines;
}

std::string ReceiptDoc::printHeader() const {
    return commonHeader() +
           printing::renderBlock(block(kSmallFont, kLeft,
                                       {kindName() + cp(" ЧЕК ") + std::to_string(receiptNumber_) +
                                        cp("\tСМЕНА ") + std::to_string(shiftNumber())}),
                                 false);
}

std::string ReceiptDoc::printFooter(bool cut) const {
    std::vector<printing::PrintBlock> blocks{
        block(kDoubleSizeFont, kLeftDouble, {cp("ИТОГО\t") + total_.toText()})};
    printing::PrintBlock payments = block(kSmallFont, kLeft, {});
    const Decimal tendered = cash_ + change_;
    if (tendered.value() > 0) payments.lines.push_back(cp("НАЛИЧНЫМИ\t") + tendered.toText());
    if (nonCash_.value() > 0) payments.lines.push_back(cp("БЕЗНАЛИЧНЫМИ\t") + nonCash_.toText());
    blocks.push_back(payments);
    if (change_.value() > 0)
        blocks.push_back(block(kSmallFont, kLeftDouble, {cp("СДАЧА\t") + change_.toText()}));
    printing::PrintBlock taxes = block(kSmallFont, kLeft, {});
    taxes.lines = taxLines();
    blocks.push_back(taxes);
    // A block without lines would print nothing but its style commands.
    std::erase_if(blocks, [](const printing::PrintBlock& b) { return b.lines.empty(); });
    return printing::renderBlocks(blocks, false) + BaseWorkDocument::printFooter(cut);
}

std::string ReceiptDoc::summaryHead() const {
    return printing::renderBlock(block(kSmallFont, kLeft,
                                       {cashierLine(cashier().name),
                                        kindName() + cp(" ЧЕК ") + std::to_string(receiptNumber_) +
                                            cp("\tФД ") + std::to_string(documentNumber())}),
                                 false);
}

std::string ReceiptDoc::summaryTail() const {
    printing::PrintBlock lines =
        block(kSmallFont, kLeft,
              {cp("ИТОГО\t") + total_.toText(), cp("НАЛИЧНЫМИ\t") + (cash_ + change_).toText(),
               cp("БЕЗНАЛИЧНЫМИ\t") + nonCash_.toText()});
    for (std::string& tax : taxLines()) lines.lines.push_back(std::move(tax));
    lines.lines.push_back(cp("ДАТА\t") + dateTimeText(dateTime()));
    return printing::renderBlock(lines, false);
}
