#pragma once
// The reports printed from the archive's running counters (code 177, types
// 1 to 4), each in the report frame (reports/report_frame.h):
//   X report:        "X-Отчет", the shift's number, its opening and (once
//                    closed) closing date and time, the shift counters and,
//                    with departments, the department totals of the shift;
//   totals since the last registration;
//   gross totals (lifetime).
// The counters are read before anything is printed: an archive that cannot
// be read gives 5 with nothing on paper. A failed print of a section ends
// the report with its result; the title's and body lines' results are not
// looked at.

#include "common/result_code.h"
#include "reports/report_printer.h"
#include "state/status.h"
#include "storage/document_archive.h"

namespace report {

ResultCode printXReport(DocumentArchive& archive, ReportPrinter& printer, bool withDepartments,
                        FrStatus::Store& status);

ResultCode printRegistrationTotals(DocumentArchive& archive, ReportPrinter& printer);

ResultCode printGrossTotals(DocumentArchive& archive, ReportPrinter& printer);

}  // namespace report
