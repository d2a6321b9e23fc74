#pragma once
// The frame every printed report shares: the registration's header block
// (the three texts of the device's current registration), the report's own
// parts, then the registration's footer block ("ИНН", "ФН") and the closing
// line (model name and serial number) after which the paper is cut.

#include <functional>

#include "common/result_code.h"
#include "reports/report_printer.h"

namespace report {

// A failed print of the header block ends the report with its result, and
// so does any result other than 0 from `parts`; the footer block's result
// is not looked at; the closing line's result is the report's. A device
// that is not registered has no header and footer blocks: nothing of them
// is printed.
ResultCode printFramed(ReportPrinter& printer, const std::function<ResultCode()>& parts);

}  // namespace report
