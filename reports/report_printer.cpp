#include "reports/report_printer.h"

#include "printing/printer.h"

namespace report {

PortPrinter::PortPrinter(rs::SerialPort& port) : port_(port) {
    printing::ensurePrinterOpen(&port_);
}

ResultCode PortPrinter::queryStatus() { return printing::statusBeforeJob(&port_); }

ResultCode PortPrinter::print(std::string_view job) {
    return printing::printBytes(&port_, job, true);
}

}  // namespace report
