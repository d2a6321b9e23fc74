#include "core/printer_commands.h"

#include <string_view>

#include "printing/print_layout.h"
#include "printing/printer.h"

namespace {

rs::SerialPort* openPrinter(rs::SerialPort& port) {
    printing::ensurePrinterOpen(&port);
    return &port;
}

std::string_view textOf(const Bytes& data, std::size_t from) {
    return {reinterpret_cast<const char*>(data.data()) + from, data.size() - from};
}

CoreApiResult formattedPrint(rs::SerialPort& printer, const CoreTransaction& t) {
    using printing::FormattedPrint;
    if (t.data.size() < FormattedPrint::kFormatSize)
        return CoreApiResult(ResultCode::BadDataLength);
    const FormattedPrint format = printing::formattedPrintAttributes(t.data.data());
    // Split at the line feeds so that each line is aligned and wrapped alone.
    printing::PrintBlock block;
    block.attributes = format.attributes;
    printing::addText(block, textOf(t.data, FormattedPrint::kFormatSize));
    return CoreApiResult(
        printing::printBytes(openPrinter(printer), printing::renderBlock(block, format.cut), true));
}

CoreApiResult rawPrint(rs::SerialPort& printer, const CoreTransaction& t) {
    if (t.data.empty()) return CoreApiResult(ResultCode::BadDataLength);
    return CoreApiResult(printing::writeRaw(openPrinter(printer), textOf(t.data, 0)));
}

}  // namespace

void addPrinterCommands(CommandTable& table, rs::SerialPort& printer) {
    table.add(192, [&printer](const CoreTransaction&) {
        return CoreApiResult(printing::queryPrinterStatus(openPrinter(printer)));
    });
    table.add(195, [&printer](const CoreTransaction& t) { return formattedPrint(printer, t); });
    table.add(196, [&printer](const CoreTransaction& t) { return rawPrint(printer, t); });
    table.add(197, [&printer](const CoreTransaction&) {
        return CoreApiResult(printing::feedAndCut(openPrinter(printer)));
    });
}
