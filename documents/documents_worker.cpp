// Opening, filling, cancelling and asking after the open document.

#include "documents/documents_worker.h"

#include <utility>

#include "config/identity.h"
#include "documents/document_codes.h"
#include "documents/make_document.h"
#include "documents/print_text.h"
#include "platform/board.h"
#include "printing/printer.h"

DocumentsWorker::DocumentsWorker(DocumentArchive* archive, rs::SerialPort* printer,
                                 BodyPrinter body, CurrentDocument& current)
    : archive_(archive), printer_(printer), body_(std::move(body)), current_(current) {}

ResultCode DocumentsWorker::printerStatus() {
    printing::ensurePrinterOpen(printer_);
    return printing::statusBeforeJob(printer_);
}

ResultCode DocumentsWorker::print(std::string_view text) {
    printing::ensurePrinterOpen(printer_);
    return printing::printBytes(printer_, text, true);
}

CoreApiResult DocumentsWorker::open(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (auth.result != ResultCode::Success) return CoreApiResult(auth.result);
    const document_codes::TypeCodes* codes = document_codes::forOpenCode(t.command);
    if (!codes) return CoreApiResult(ResultCode::UnknownCommand);

    const auto model = identity::store().factoryData();
    if (!model->isValid()) return CoreApiResult(ResultCode::FactoryDataInvalid);
    if (!clockValid()) return CoreApiResult(ResultCode::ClockTooEarly);
    {
        MutexLock hold(current_.lock);
        if (current_.get()) return CoreApiResult(ResultCode::DocumentAlreadyOpen);
    }
    if ((auth.cashier.rights & codes->openingRights) == 0)
        return CoreApiResult(ResultCode::NoRight);
    const ResultCode device = FrStatus::status().checkDocument(codes->type, platform::now());
    if (device != ResultCode::Success) return CoreApiResult(device);
    const ResultCode printer = printerStatus();
    if (printer != ResultCode::Success) return CoreApiResult(printer);

    const auto registration = identity::store().registrationData();
    std::shared_ptr<BaseWorkDocument> document =
        makeDocument(codes->type, model.get(), registration.get(), auth.cashier);
    if (!document) return CoreApiResult(ResultCode::NoDocumentObject);
    const ResultCode opened = document->applyOpenData(auth.payload);
    if (opened != ResultCode::Success) return CoreApiResult(opened);

    {
        MutexLock hold(current_.lock);
        current_.set(document);
    }
    const std::string header = document->printHeader();
    if (header.empty()) return CoreApiResult(ResultCode::Success);
    const ResultCode printed = print(header);
    if (printed != ResultCode::Success) {
        MutexLock hold(current_.lock);
        current_.drop();
    }
    return CoreApiResult(printed);
}

CoreApiResult DocumentsWorker::add(const CoreTransaction& t) {
    MutexLock hold(current_.lock);
    const std::shared_ptr<BaseWorkDocument> document = current_.get();
    if (!document) return CoreApiResult(ResultCode::NoOpenDocument);
    Tlv value;
    // A malformed value is still handed over: the document refuses it.
    value.decodeExact(t.data);
    std::string line;
    ResultCode result = document->addItem(value, line);
    if (result == ResultCode::Success) result = print(line);
    if (result != ResultCode::Success) current_.drop();
    return CoreApiResult(result);
}

CoreApiResult DocumentsWorker::cancel(const CoreTransaction&) {
    {
        MutexLock hold(current_.lock);
        if (!current_.get()) return CoreApiResult(ResultCode::NoOpenDocument);
        current_.drop();
    }
    using namespace print_text;
    print(printing::renderBlock(
        block(kDoubleSizeFont, kCentredBoldDouble, {cp("\nДОКУМЕНТ ОТМЕНЕН\n")}), true));
    return CoreApiResult(ResultCode::Success);
}

CoreApiResult DocumentsWorker::state(const CoreTransaction&) {
    MutexLock hold(current_.lock);
    const std::shared_ptr<BaseWorkDocument>& document = current_.get();
    if (!document) return CoreApiResult(ResultCode::NoOpenDocument);
    return CoreApiResult(ResultCode::Success, document->stateReply());
}
