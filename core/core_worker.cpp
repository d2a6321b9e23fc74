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

CoreWorker::CoreWorker()
    : queue_(std::make_unique<CoreQueue>()), printer_(printing::createPrinterPort()) {
    addConfigCommands(commands_);
    addFactoryNumberCommand(commands_);
    addPrinterCommands(commands_, *printer_);
    addCounterCommands(commands_, [this] { return archive_.get(); });
    addDocumentCommands(
        commands_, [this] { return archive_.get(); }, *printer_, report::documentBody);
    addReportCommands(
        commands_, [this] { return archive_.get(); }, *printer_);
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

CoreApiResult CoreWorker::dispatch(const CoreTransaction& t) {
    const CommandHandler* handler = commands_.find(t.command);
    if (!handler) return CoreApiResult(ResultCode::UnknownCommand);
    return (*handler)(t);
}
