#include "core/printer_commands.h"

#include <string_view>

#include "core/core_worker.h"
#include "printing/print_layout.h"
#include "printing/printer.h"

namespace {

rs::SerialPort* openPrinter(CoreWorker& core) {
    rs::SerialPort* port = &core.printer();
    printing::ensurePrinterOpen(port);
    return port;
}

std::string_view textOf(const Bytes& data, std::size_t from) {
    return {reinterpret_cast<const char*>(data.data()) + from, data.size() - from};
}

}  // namespace

CoreApiResult printerStatusCommand(CoreWorker& core, const CoreTransaction&) {
    return CoreApiResult(printing::queryPrinterStatus(openPrinter(core)));
}

CoreApiResult formattedPrintCommand(CoreWorker& core, const CoreTransaction& t) {
    using printing::FormattedPrint;
    if (t.data.size() < FormattedPrint::kFormatSize)
        return CoreApiResult(ResultCode::BadDataLength);
    const FormattedPrint format = printing::formattedPrintAttributes(t.data.data());
    // Split at the line feeds so that each line is aligned and wrapped alone.
    printing::PrintBlock block;
    block.attributes = format.attributes;
    printing::addText(block, textOf(t.data, FormattedPrint::kFormatSize));
    return CoreApiResult(
        printing::printBytes(openPrinter(core), printing::renderBlock(block, format.cut), true));
}

CoreApiResult rawPrintCommand(CoreWorker& core, const CoreTransaction& t) {
    if (t.data.empty()) return CoreApiResult(ResultCode::BadDataLength);
    return CoreApiResult(printing::writeRaw(openPrinter(core), textOf(t.data, 0)));
}

CoreApiResult feedAndCutCommand(CoreWorker& core, const CoreTransaction&) {
    return CoreApiResult(printing::feedAndCut(openPrinter(core)));
}
