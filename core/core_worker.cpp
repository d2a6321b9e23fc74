#include "core/core_worker.h"

#include <ctime>

#include "config/cashiers.h"
#include "config/discounts.h"
#include "config/printer_settings.h"
#include "config/sections.h"
#include "core/dispatch.h"
#include "core/status.h"
#include "device/eeprom.h"
#include "device/sdcard.h"
#include "platform/board.h"
#include "printing/printer.h"

namespace {
// A relative 20 ms sleep, resumed with the remaining time after a signal.
void sleep20ms() {
    timespec request{0, 20'000'000};
    timespec remaining{};
    while (nanosleep(&request, &remaining) != 0) request = remaining;
}
}  // namespace

CoreWorker::CoreWorker()
    : queue_(std::make_unique<CoreQueue>()),
      printer_(printing::createPrinterPort()) {}

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
    if (!eeprom::loadIdentity()) FrStatus::status().setFlag(FrStatus::eepromError, true);
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
        sleep20ms();
    }
}

CoreApiResult CoreWorker::dispatch(const CoreTransaction& t) {
    CommandHandler handler = findHandler(t.command);
    if (!handler) return CoreApiResult(ResultCode::UnknownCommand);
    return handler(*this, t);
}
