#include "core/dispatch.h"

#include <array>

#include "config/config_worker.h"
#include "core/factory_number_command.h"
#include "core/printer_commands.h"

namespace {

struct Row {
    std::uint8_t command;
    CommandHandler handler;
};

// Rows are added with the workers that serve them.
constexpr Row kTable[] = {
    {1, serveConfig<&ConfigWorker::readRecord>},
    {2, serveConfig<&ConfigWorker::writeRecord>},
    {3, serveConfig<&ConfigWorker::readClock>},
    {4, serveConfig<&ConfigWorker::setClock>},
    {63, setFactoryNumberCommand},
    {64, serveConfig<&ConfigWorker::readDeviceSetting>},
    {65, serveConfig<&ConfigWorker::setDeviceSetting>},
    {192, printerStatusCommand},
    {193, serveConfig<&ConfigWorker::readPrinterSetting>},
    {194, serveConfig<&ConfigWorker::setPrinterSetting>},
    {195, formattedPrintCommand},
    {196, rawPrintCommand},
    {197, feedAndCutCommand},
};

}  // namespace

CommandHandler findHandler(std::uint8_t command) {
    for (const Row& row : kTable)
        if (row.command == command) return row.handler;
    return nullptr;
}
