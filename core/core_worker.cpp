#include "core/core_worker.h"

#include "config/cashiers.h"
#include "config/config_worker.h"
#include "config/discounts.h"
#include "config/identity.h"
#include "config/printer_settings.h"
#include "config/sections.h"
#include "core/factory_number_command.h"
#include "core/printer_commands.h"
#include "device/sdcard.h"
#include "platform/board.h"
#include "printing/printer.h"
#include "state/status.h"

CoreWorker::CoreWorker()
    : queue_(std::make_unique<CoreQueue>()), printer_(printing::createPrinterPort()) {
    addConfigCommands(commands_);
    addFactoryNumberCommand(commands_);
    addPrinterCommands(commands_, *printer_);
}

CoreWorker::~CoreWorker() = default;

namespace {
// Mounts the SD card and brings up what lives on it. Without a card both
// archive flags stay clear and the document commands answer 15.
void startArchive() {
    FrStatus::Store& status = FrStatus::status();
    const std::uint16_t archiveFlags = FrStatus::archiveMounted | FrStatus::archiveReady;
    if (!sdcard::mountSdCard()) {
        status.setFlag(archiveFlags, false);
        return;
    }
    status.setFlag(archiveFlags, true);
    // The archive is opened or created here (clearing archiveReady when that
    // fails), then the internal storage is formed and the shift state restored.
    status.setFreeDocumentPlaces(sdcard::computeFreeDocumentPlaces());
}
}  // namespace

void CoreWorker::startUp() {
    FrStatus::status().resetStatus();
    // Reference data: the tables' files are created on a new device.
    cashiers().prepareCashiers();
    sections().loadSections();
    discounts().loadDiscounts();
    // Identity from the EEPROM; what could not be read keeps its default.
    if (!identity::loadIdentity()) FrStatus::status().setFlag(FrStatus::eepromError, true);
    startArchive();
    // The stored paper width becomes the print layout's width before anything prints.
    settings::setCurrentPaperWidth(settings::PrinterSettings().paperWidth);
}

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
