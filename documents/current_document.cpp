#include "documents/current_document.h"

#include <utility>

CurrentDocument::CurrentDocument(FrStatus::Store& status) : status_(status) {}

void CurrentDocument::set(std::shared_ptr<BaseWorkDocument> document) {
    document_ = std::move(document);
    status_.setOpenDocumentType(document_ ? document_->documentType() : 0);
}

std::shared_ptr<BaseWorkDocument> CurrentDocument::take() {
    std::shared_ptr<BaseWorkDocument> taken = std::move(document_);
    drop();
    return taken;
}

void CurrentDocument::drop() {
    document_.reset();
    status_.setOpenDocumentType(0);
}

CurrentDocument& CurrentDocument::process() {
    static CurrentDocument* current = new CurrentDocument();  // lives until exit
    return *current;
}

namespace {
// Made before main, like the process's other shared state.
[[maybe_unused]] CurrentDocument& eagerCurrentDocument = CurrentDocument::process();
}  // namespace
