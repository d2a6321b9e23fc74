#include "config/printer_settings.h"

#include "config/record_file.h"

namespace settings {

namespace {
constexpr std::size_t kFileSize = 5;
}

PrinterSettings::PrinterSettings() {
    const Bytes bytes = recordfile::readFromStart(kPrinterSettingsPath, kFileSize);
    if (bytes.size() >= 1) paperWidth = bytes[0];
    if (bytes.size() >= kFileSize) printerFlags = le::u32(bytes.data() + 1);
}

bool savePrinterSettings(const PrinterSettings& record) {
    Bytes bytes;
    le::put8(bytes, record.paperWidth);
    le::put32(bytes, record.printerFlags);
    if (recordfile::writeFromStart(kPrinterSettingsPath, bytes)) return true;
    // The width in use stays the one the file holds.
    setCurrentPaperWidth(PrinterSettings().paperWidth);
    return false;
}

bool printerValueComplete(std::uint8_t parameter, const Bytes& value) {
    return parameter == 2 ? value.size() >= 4 : !value.empty();
}

bool setPrinterParameter(PrinterSettings& record, std::uint8_t parameter, const Bytes& value) {
    if (!printerValueComplete(parameter, value)) return false;
    switch (parameter) {
        case 1:
            record.paperWidth = value[0];
            setCurrentPaperWidth(record.paperWidth);
            return true;
        case 2:
            record.printerFlags = le::u32(value.data());
            return true;
        default:
            return false;
    }
}

Bytes getPrinterParameter(const PrinterSettings& record, std::uint8_t parameter) {
    Bytes out;
    if (parameter == 1) le::put8(out, record.paperWidth);
    if (parameter == 2) le::put32(out, record.printerFlags);
    return out;
}

}  // namespace settings
