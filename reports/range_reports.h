#pragma once
// The reports summed from the internal storage's shift-close records (code
// 177, types 5 and 6), in the report frame (reports/report_frame.h):
//   period report:      "ОТЧЕТ ЗА ПЕРИОД", "С  <from>\tПО <to>", then the
//                       shift lines and the gross section of the shifts
//                       closed within the two date-times;
//   shift-range report: "ОТЧЕТ ПО ДИАПАЗОНУ СМЕН", then the shift lines and
//                       the gross section of the shifts numbered within the
//                       two numbers.
// The shift lines name the first and the last shift found with their
// closing date-times ("СМЕНЫ С  <n>\t<date>", "ПО <n>\t<date>"). The bounds
// may come in either order and are both inclusive. Nothing found (or the
// internal storage unreadable): 17, with nothing printed. A failed print of
// the second shift line or of the gross section ends the report.

#include <cstdint>

#include "common/result_code.h"
#include "reports/report_printer.h"

namespace report {

ResultCode printPeriodReport(ReportPrinter& printer, std::uint32_t from, std::uint32_t to);

ResultCode printShiftRangeReport(ReportPrinter& printer, std::uint16_t from, std::uint16_t to);

}  // namespace report
