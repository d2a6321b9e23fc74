#include "config/printer_settings.h"

#include "platform/files.h"

namespace settings {

namespace {
constexpr std::size_t kFileSize = 5;
}

PrinterSettings::PrinterSettings() {
    if (!platform::fileExists(kPrinterSettingsPath)) return;
    platform::FileHandle file(kPrinterSettingsPath, "r+");
    if (!file) return;
    std::uint8_t bytes[kFileSize];
    const std::size_t got = std::fread(bytes, 1, kFileSize, file.get());
    if (got >= 1) paperWidth = bytes[0];
    if (got >= kFileSize) printerFlags = le::u32(bytes + 1);
}

void savePrinterSettings(const PrinterSettings& record) {
    platform::FileHandle file(kPrinterSettingsPath,
                              platform::fileExists(kPrinterSettingsPath) ? "r+" : "w+");
    if (!file) return;
    std::uint8_t bytes[kFileSize];
    bytes[0] = record.paperWidth;
    le::store32(bytes + 1, record.printerFlags);
    std::fwrite(bytes, 1, kFileSize, file.get());
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
