// The document commands' rows in the dispatch table.

#include <utility>

#include "documents/document_codes.h"
#include "documents/documents_worker.h"

void addDocumentCommands(CommandTable& table, std::function<DocumentArchive*()> archive,
                         rs::SerialPort& printer, BodyPrinter body) {
    using Handler = CoreApiResult (DocumentsWorker::*)(const CoreTransaction&);
    const auto add = [&](std::uint8_t code, Handler handler) {
        table.add(code, [archive, &printer, body, handler](const CoreTransaction& t) {
            DocumentsWorker worker(archive(), &printer, body);
            return (worker.*handler)(t);
        });
    };
    add(document_codes::kCancel, &DocumentsWorker::cancel);
    add(document_codes::kAdd, &DocumentsWorker::add);
    add(document_codes::kPreview, &DocumentsWorker::preview);
    add(document_codes::kState, &DocumentsWorker::state);
    for (const document_codes::TypeCodes& codes : document_codes::kTypes) {
        add(codes.open, &DocumentsWorker::open);
        add(codes.close, &DocumentsWorker::close);
    }
}
