#include "core/core_worker.h"

#include "config/config_worker.h"
#include "core/counter_commands.h"
#include "core/factory_number_command.h"
#include "core/printer_commands.h"
#include "documents/documents_worker.h"
#include "platform/board.h"
#include "printing/printer.h"
#include "reports/document_body.h"
#include "reports/reports_worker.h"
#include "state/status.h"

CoreWorker::CoreWorker()
    : queue_(std::make_unique<CoreQueue>()), printer_(printing::createPrinterPort()) {
    addConfigCommands(commands_);
    addFactoryNumberCommand(commands_);
    addPrinterCommands(commands_, *printer_);
    addCounterCommands(commands_, [this] { return readyArchive(); });
    addDocumentCommands(
        commands_, [this] { return readyArchive(); }, *printer_, report::documentBody);
    addReportCommands(
        commands_, [this] { return readyArchive(); }, *printer_);
}

CoreWorker::~CoreWorker() = default;

void CoreWorker::runLoop(const std::atomic<bool>* stop) {
    while (!stop || !stop->load()) {
        CoreTransaction t;
        if (queue_->pop(t)) {
            CoreApiResult result = dispatch(t);
            result.id = t.id;
            queue_->postResult(result);
        }
        platform::sleepMs(20);
    }
}

DocumentArchive* CoreWorker::readyArchive() {
    // An archive that start-up rejected, or whose last store is left to the
    // next start-up, is neither read nor written.
    return FrStatus::status().testFlags(FrStatus::archiveReady) ? archive_.get() : nullptr;
}

CoreApiResult CoreWorker::dispatch(const CoreTransaction& t) {
    const CommandHandler* handler = commands_.find(t.command);
    if (!handler) return CoreApiResult(ResultCode::UnknownCommand);
    return (*handler)(t);
}
