#pragma once
// The copy of a stored document (code 178): the document is read back from
// the archive and printed again, in four jobs: its heading, the copy marker
// "(КОПИЯ)", its body, and its footer (date, number, fiscal sign) after
// which the paper is cut. Heading and body by type:
//   registration report: the heading and totals it printed when stored;
//   shift close, archive close: the heading and the counters they carry;
//   receipt: the heading, then the positions in order with each text line
//     before the position that followed it when it was added, and the text
//     lines added after the last position at the end;
//   other documents: the heading only.
// Only the footer's result is the copy's: the earlier jobs' results are not
// looked at, and an empty body prints nothing.

#include <cstdint>
#include <string>

#include "common/result_code.h"
#include "documents/receipt_doc.h"
#include "reports/report_printer.h"
#include "storage/document_archive.h"

namespace report {

// The body of a receipt's copy: what its positions and text lines printed
// as they were added, in that order.
std::string receiptBody(const ReceiptDoc& receipt);

// 5 or 17 when the document cannot be read (readDocument), 255 when the
// stored document is not the object its type names; otherwise the result
// of the footer's print.
ResultCode printDocumentCopy(DocumentArchive& archive, ReportPrinter& printer,
                             std::uint32_t number);

}  // namespace report
