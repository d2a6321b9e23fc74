#pragma once
// ReportsWorker: serves the host commands that print without making a
// fiscal document. A fresh worker serves one request with the core's
// archive and printer and keeps nothing; nothing is written to the archive.
// Runs on the core thread.
//
// Every request begins with the cashier prefix (authoriseRequest), whose
// result codes end it; a cashier without a needed right gets 16.
//
//   177  report: type (1 byte), then its arguments. Right 0x0002.
//          empty payload 22; then the paper status (53, 54); then types
//          5 and 6 need exactly 8 and 4 argument bytes (22), and a type
//          outside 1..6 gives 30. Every report then runs the device check
//          with the printer and needs a shift other than 0 (17):
//            1 X report            2 totals since registration
//            3 gross totals        4 X report with department totals
//            5 period: two u32 date-times, either order
//            6 shift range: two u16 shift numbers, either order
//          No response data.
//   58   control tape of the current shift: nothing, or a u32 number to
//          continue from. Rights 0x0001, 0x0002 and 0x0010. The paper
//          status and the device check with the printer come first. The
//          response data, once the documents were reached, is the number of
//          the last document printed in full (u32 LE).
//   178  copy of a stored document: its number (exactly 4 bytes, else 22).
//          Right 0x0002. The paper status first. No response data.

#include <functional>

#include "config/base_worker.h"
#include "reports/report_printer.h"
#include "serial/serialport.h"
#include "state/command_table.h"
#include "state/status.h"
#include "state/transaction.h"
#include "storage/document_archive.h"

class ReportsWorker : public BaseWorker {
  public:
    // `archive` is the core's archive, null before the card is mounted:
    // then the reports that need it answer 5.
    ReportsWorker(DocumentArchive* archive, report::ReportPrinter& printer,
                  FrStatus::Store& status = FrStatus::status());

    CoreApiResult printReport(const CoreTransaction& t);        // 177
    CoreApiResult printControlTape(const CoreTransaction& t);   // 58
    CoreApiResult printDocumentCopy(const CoreTransaction& t);  // 178

  private:
    ResultCode runReport(std::uint8_t type, le::Reader& arguments);

    DocumentArchive* archive_;
    report::ReportPrinter& printer_;
    FrStatus::Store& status_;
};

// The rows of 58, 177 and 178: each serves one request with a fresh
// ReportsWorker. `archive` gives the core's archive at the time of the
// request; `printer` is the core's printer port.
void addReportCommands(CommandTable& table, std::function<DocumentArchive*()> archive,
                       rs::SerialPort& printer);
