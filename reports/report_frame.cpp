#include "reports/report_frame.h"

#include "config/identity.h"
#include "reports/report_pieces.h"

namespace report {

ResultCode printFramed(ReportPrinter& printer, const std::function<ResultCode()>& parts) {
    const auto registration = identity::store().registrationData();
    const std::string header = registrationHeaderBlock(*registration);
    if (!header.empty()) {
        if (const ResultCode r = printer.print(header); r != ResultCode::Success) return r;
    }
    if (const ResultCode r = parts(); r != ResultCode::Success) return r;
    const std::string footer = registrationFooterBlock(*registration);
    if (!footer.empty()) printer.printUnchecked(footer);
    return printer.print(closingLine(*identity::store().factoryData()));
}

}  // namespace report
