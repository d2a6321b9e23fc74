#pragma once
// PrinterSettings: the printer's settings record, kept in
// "/nv/PRINTER_SETTINGS" (five bytes: paperWidth, then printerFlags
// little-endian). There is no cache: every user builds a fresh record, which
// reads the file. Used without a lock: only the core thread reads or writes
// it.

#include <cstdint>

#include "common/bytes.h"
#include "config/paper_width.h"

namespace settings {

constexpr const char* kPrinterSettingsPath = "/nv/PRINTER_SETTINGS";

// printerFlags bit: the layout of a printed receipt position.
constexpr std::uint32_t kPositionLayoutFlag = 0x1;

struct PrinterSettings {
    std::uint8_t paperWidth = kDefaultPaperWidth;
    std::uint32_t printerFlags = 0;

    // The defaults, then whatever of the file can be read: byte 0 the width,
    // bytes 1..4 the flags. A field whose bytes are missing keeps its default.
    PrinterSettings();
};

// Writes the five bytes from offset 0: in place when the file exists, else
// creating it whole. False when that failed; the process-wide paper width
// then goes back to what the file holds, since it was set with the value.
bool savePrinterSettings(const PrinterSettings& record);

// Whether `value` has the form `parameter` takes: parameter 1 one byte or
// more, parameter 2 four bytes or more. Unknown parameters pass here and are
// refused by setPrinterParameter.
bool printerValueComplete(std::uint8_t parameter, const Bytes& value);

// Parameter 1: paperWidth takes the first byte and becomes the process-wide
// current paper width at once. Parameter 2: printerFlags takes the first four
// bytes. False for another parameter or an incomplete value (nothing changes).
bool setPrinterParameter(PrinterSettings& record, std::uint8_t parameter, const Bytes& value);

// Parameter 1: one byte; parameter 2: four bytes little-endian; else empty.
Bytes getPrinterParameter(const PrinterSettings& record, std::uint8_t parameter);

}  // namespace settings
