// Closing the open document: stored, accounted and printed; and the preview
// of a registration report, closed on a clone and printed, never stored.

#include <utility>

#include "config/identity.h"
#include "documents/document_codes.h"
#include "documents/documents_worker.h"
#include "documents/print_text.h"
#include "platform/board.h"

namespace {

// Font selector 2: the large font, single size.
constexpr unsigned kLargeFont = 2;

// The reply of a close that failed: 37 carries the missing tag.
CoreApiResult closeFailure(ResultCode result, std::uint16_t missingTag) {
    Bytes data;
    if (result == ResultCode::RequiredTagMissing) le::put16(data, missingTag);
    return CoreApiResult(result, std::move(data));
}

std::uint32_t nowSeconds() { return static_cast<std::uint32_t>(platform::now()); }

}  // namespace

void DocumentsWorker::numberRegistration(BaseWorkDocument& document) {
    if (document.registrationRecord().registrationNumber() == 0 && archive_)
        document.setRegistrationRecordNumber(archive_->readArchiveIdentifier());
}

CoreApiResult DocumentsWorker::close(const CoreTransaction& t) {
    std::shared_ptr<BaseWorkDocument> stored;
    {
        MutexLock hold(current_.lock);
        const std::shared_ptr<BaseWorkDocument> document = current_.get();
        if (!document) return CoreApiResult(ResultCode::NoOpenDocument);
        const document_codes::TypeCodes* codes = document_codes::forCloseCode(t.command);
        if (!codes || codes->type != document->documentType())
            return CoreApiResult(ResultCode::TypeMismatch);
        if (!clockValid()) return CoreApiResult(ResultCode::ClockTooEarly);
        const ResultCode printer = printerStatus();
        if (printer != ResultCode::Success) {
            // The document could not be printed once stored: it goes.
            current_.drop();
            return CoreApiResult(printer);
        }
        numberRegistration(*document);
        std::uint16_t missingTag = 0;
        const ResultCode closed =
            document->close(nowSeconds(), identity::store().deviceKey(), t.data, missingTag);
        if (closed != ResultCode::Success) return closeFailure(closed, missingTag);
        const ResultCode result =
            archive_ ? archive_->storeDocument(document) : ResultCode::ArchiveNotReady;
        if (result != ResultCode::Success) return CoreApiResult(result);
        stored = current_.take();
    }
    accountStoredDocument(*stored, *archive_);
    // Stored is stored: a print that fails now changes nothing.
    for (const std::string& text : storedDocumentPrints(*stored, body_)) print(text);
    return CoreApiResult(ResultCode::Success, stored->closeReply());
}

CoreApiResult DocumentsWorker::preview(const CoreTransaction& t) {
    MutexLock hold(current_.lock);
    const std::shared_ptr<BaseWorkDocument>& document = current_.get();
    if (!document) return CoreApiResult(ResultCode::NoOpenDocument);
    if (document->documentType() != FrStatus::registrationDoc)
        return CoreApiResult(ResultCode::TypeMismatch);
    if (!clockValid()) return CoreApiResult(ResultCode::ClockTooEarly);

    const std::shared_ptr<BaseWorkDocument> copy = document->clone();
    numberRegistration(*copy);
    std::uint16_t missingTag = 0;
    const ResultCode closed =
        copy->close(nowSeconds(), identity::store().deviceKey(), t.data, missingTag);
    if (closed != ResultCode::Success) return closeFailure(closed, missingTag);

    const std::uint32_t last = FrStatus::status().lastDocumentNumber();
    CounterSet totals;
    if (last != 0 && last != 0xFFFFFFFF && archive_ &&
        archive_->readCounters(DocumentArchive::Counters::registrationTotals, totals))
        copy->attachRegistrationTotals(totals);
    // Numbered as the archive would number it. Without the key it cannot be
    // signed, so it is not complete and nothing more is made of it.
    PreparedDocument unused;
    copy->prepareForStorage(last + 1, last + 1, Bytes{}, 0, unused);

    using namespace print_text;
    const std::string notice = printing::renderBlock(
        block(kLargeFont, kCentredBold, {cp("ПРЕДВАРИТЕЛЬНАЯ ПЕЧАТЬ\n")}), false);
    for (const std::string& text : {copy->commonHeader(), notice,
                                    body_ ? body_(*copy) : std::string(), copy->printFooter(true)})
        if (!text.empty()) print(text);
    return CoreApiResult(ResultCode::Success);
}
