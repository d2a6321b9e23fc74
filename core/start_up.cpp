// The start-up sequence of the core: everything the register does once
// before the host link starts.

#include <ctime>

#include "common/cp866.h"
#include "config/cashiers.h"
#include "config/discounts.h"
#include "config/identity.h"
#include "config/printer_settings.h"
#include "config/sections.h"
#include "core/core_worker.h"
#include "device/sdcard.h"
#include "documents/make_document.h"
#include "platform/board.h"
#include "printing/notices.h"
#include "printing/printer.h"
#include "printing/reg_data_print.h"
#include "state/status.h"
#include "storage/internal_storage.h"

namespace {

constexpr unsigned kLargeFont = 3;
constexpr std::uint8_t kCentredBold = 0x0C;

// Opens the printer port if needed and resets the printer, which ends with
// its status polled.
void bringUpPrinter(rs::SerialPort& printer) {
    printing::ensurePrinterOpen(&printer);
    printing::resetPrinter(&printer);
}

std::string localDateTime(std::int64_t seconds, const char* format) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

}  // namespace

void CoreWorker::startUp() {
    FrStatus::Store& status = FrStatus::status();
    status.resetStatus();
    // Reference data: the tables' files are made whole on a new device.
    cashiers().prepareCashiers();
    sections().loadSections();
    discounts().loadDiscounts();
    // Identity from the EEPROM; what could not be read keeps its default.
    if (!identity::loadIdentity()) status.setFlag(FrStatus::eepromError, true);
    startArchive();
    printGreeting();
}

void CoreWorker::startArchive() {
    FrStatus::Store& status = FrStatus::status();
    const std::uint16_t archiveFlags = FrStatus::archiveMounted | FrStatus::archiveReady;
    if (!sdcard::mountSdCard()) {
        status.setFlag(archiveFlags, false);
        return;
    }
    archive_.reset();
    archive_ = std::make_unique<DocumentArchive>(sdcard::archivePath(), documentFactory());
    status.setFlag(archiveFlags, true);
    if (!archive_->openOrCreate(status) || !archive_->open()) {
        status.setFlag(FrStatus::archiveReady, false);
        return;
    }
    if (!internal_storage::storageExists() || internal_storage::lockExists()) {
        // Forming takes a while over a large archive: say so on paper first.
        // A lock left by a formation that was cut short forms it all again.
        bringUpPrinter(*printer_);
        printing::printBytes(printer_.get(),
                             printing::renderBlock(printing::storageWarningBlock(), true), true);
    }
    archive_->formInternalStorage();
    status.setFreeDocumentPlaces(archive_->freePlaces());
    status.setRegistrationCount(archive_->readRegistrationCount());
    const DocumentArchive::DocumentInfo last = archive_->lastDocumentInfo();
    status.setLastDocumentNumber(last.number);
    status.setLastDocumentTime(last.dateTime);
    archive_->restoreStatus(status);
}

void CoreWorker::printGreeting() {
    // The stored paper width becomes the print layout's width before anything prints.
    settings::setCurrentPaperWidth(settings::PrinterSettings().paperWidth);
    bringUpPrinter(*printer_);

    const auto factory = identity::store().factoryData();
    const auto registration = identity::store().registrationData();
    printing::PrintBlock greeting;
    greeting.attributes = printing::PrintAttributes::of(kLargeFont, kCentredBold);
    greeting.lines.push_back(factory->modelName());
    greeting.lines.push_back(factory->isValid() ? cp866::fromUtf8("ЗН ") + factory->serialText()
                                                : cp866::fromUtf8("НЕ УСТАНОВЛЕН ЗАВОДСКОЙ НОМЕР"));
    greeting.lines.push_back(localDateTime(platform::now(), "%d.%m.%Y %H:%M"));
    // The registration's blocks follow when it is valid; the last block
    // printed ends with the cut.
    const bool registered = registration->isValid();
    std::string text = printing::renderBlock(greeting, !registered);
    if (registered) {
        text += registrationTextLines(*registration);
        text += registrationNumberLines(*registration, true);
    }
    printing::printBytes(printer_.get(), text, true);
}
