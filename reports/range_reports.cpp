#include "reports/range_reports.h"

#include <algorithm>
#include <string>

#include "documents/print_text.h"
#include "reports/counter_sections.h"
#include "reports/report_frame.h"
#include "reports/report_pieces.h"
#include "storage/internal_storage.h"

using print_text::cp;
using print_text::dateTimeText;

namespace report {

namespace {

// What a range sum found: the first and last shift-close headers and the
// sum of their shifts.
struct RangeSum {
    DocDescriptor first;
    DocDescriptor last;
    GrossCounterSet sum;
};

// `periodLine` is printed after the title when it is not empty.
ResultCode printRange(ReportPrinter& printer, const char* titleText, const std::string& periodLine,
                      const RangeSum& found) {
    return printFramed(printer, [&] {
        printer.printUnchecked(title(cp(titleText)));
        if (!periodLine.empty()) printer.printUnchecked(periodLine);
        printer.printUnchecked(
            bodyLines({cp("СМЕНЫ С  ") + std::to_string(found.first.shiftNumber) + "\t" +
                       dateTimeText(found.first.dateTime)}));
        const ResultCode r =
            printer.print(bodyLines({cp("ПО ") + std::to_string(found.last.shiftNumber) + "\t" +
                                     dateTimeText(found.last.dateTime)}));
        if (r != ResultCode::Success) return r;
        return printer.print(grossSection(&found.sum));
    });
}

}  // namespace

ResultCode printPeriodReport(ReportPrinter& printer, std::uint32_t from, std::uint32_t to) {
    const auto [lower, upper] = std::minmax(from, to);
    RangeSum found;
    if (!internal_storage::sumPeriod(lower, upper, found.first, found.last, found.sum))
        return ResultCode::NotFound;
    return printRange(
        printer, "ОТЧЕТ ЗА ПЕРИОД",
        bodyLines({cp("С  ") + dateTimeText(lower) + cp("\tПО ") + dateTimeText(upper)}), found);
}

ResultCode printShiftRangeReport(ReportPrinter& printer, std::uint16_t from, std::uint16_t to) {
    const auto [lower, upper] = std::minmax(from, to);
    RangeSum found;
    if (!internal_storage::sumShiftRange(lower, upper, found.first, found.last, found.sum))
        return ResultCode::NotFound;
    return printRange(printer, "ОТЧЕТ ПО ДИАПАЗОНУ СМЕН", {}, found);
}

}  // namespace report
