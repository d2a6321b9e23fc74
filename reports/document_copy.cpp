#include "reports/document_copy.h"

#include <memory>
#include <optional>
#include <string>

#include "documents/print_text.h"
#include "documents/receipt_doc.h"
#include "printing/notices.h"
#include "printing/receipt_operation_print.h"
#include "reports/document_body.h"

namespace report {

namespace {

// A text line as the receipt printed it when it was added.
std::string textLine(const AdditionalLine& line) {
    return printing::renderBlock(
        print_text::block(print_text::kSmallFont, print_text::kLeft, {line.text}), false);
}

}  // namespace

// A text line records how many positions the receipt held when it was
// added: it goes before the position of that index. The lines keep their
// stored order.
std::string receiptBody(const ReceiptDoc& receipt) {
    const auto& lines = receipt.textLines();
    const auto& positions = receipt.positions();
    std::string body;
    std::size_t next = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        for (; next < lines.size() && static_cast<std::size_t>(lines[next].number) <= i; ++next)
            body += textLine(lines[next]);
        body += printing::printLines(positions[i]);
    }
    for (; next < lines.size(); ++next) body += textLine(lines[next]);
    return body;
}

namespace {

struct CopyParts {
    std::string heading;
    std::string body;
};

// None when the document is not the class its type names.
std::optional<CopyParts> copyParts(const BaseWorkDocument& document) {
    switch (document.documentType()) {
        case FrStatus::registrationDoc:
            // Nothing is printed when a registration report is opened: its
            // heading is the one printed with its body when it was stored.
            return CopyParts{document.commonHeader(), documentBody(document)};
        case FrStatus::receiptDoc: {
            const auto* receipt = dynamic_cast<const ReceiptDoc*>(&document);
            if (!receipt) return std::nullopt;
            return CopyParts{receipt->printHeader(), receiptBody(*receipt)};
        }
        default:
            // documentBody gives the counters of the closing documents and
            // nothing for the others.
            return CopyParts{document.printHeader(), documentBody(document)};
    }
}

}  // namespace

ResultCode printDocumentCopy(DocumentArchive& archive, ReportPrinter& printer,
                             std::uint32_t number) {
    std::shared_ptr<StoredDocument> stored;
    if (const ResultCode r = archive.readDocument(number, stored); r != ResultCode::Success)
        return r;
    const auto document = std::dynamic_pointer_cast<BaseWorkDocument>(stored);
    const std::optional<CopyParts> parts = document ? copyParts(*document) : std::nullopt;
    if (!parts) return ResultCode::NotSet;

    printer.printUnchecked(parts->heading);
    printer.printUnchecked(printing::renderBlock(printing::copyMarkerBlock(), false));
    if (!parts->body.empty()) printer.printUnchecked(parts->body);
    return printer.print(document->printFooter(true));
}

}  // namespace report
