#pragma once
// The control tape of the current shift (code 58): the receipts and cash
// documents made since the shift's opening document, each in its short
// form, in the report frame (reports/report_frame.h).
//
// A tape asked to continue from a number not above the shift's opening
// document is a fresh tape: it starts after that document and its title
// block carries the shift's number and opening date-time, followed by the
// shift counters. Otherwise it is a continuation from that number, titled
// "(ПРОДОЛЖЕНИЕ)". Then a separator, and for every document to the last
// one stored, each part its own job: a receipt's first summary lines, each
// of its positions, its last summary lines; a cash document's two summary
// blocks; then the document counts as printed and a separator follows.
//
// A print that fails ends the tape with its result, except the title
// block's and the separator's before the documents and the registration
// footer's, which are not looked at. Nothing already printed is repeated:
// the host continues an interrupted tape from the last document printed in
// full, plus one.

#include <cstdint>
#include <optional>

#include "common/result_code.h"
#include "reports/report_printer.h"
#include "state/status.h"
#include "storage/document_archive.h"

namespace report {

struct ControlTapeResult {
    ResultCode result = ResultCode::Success;
    // The number of the last document printed in full (0 when none), given
    // on every ending once the documents are reached, except a header that
    // cannot be read; absent on the earlier endings.
    std::optional<std::uint32_t> lastPrinted;
};

// `continueFrom` is the host's number (0 when it gave none). 17 when no
// document lies between the start and the last document; 5 when the shift
// counters or a document header cannot be read; a document that cannot be
// read ends the tape with readDocument's result, one whose object does not
// match its type with 255.
ControlTapeResult printControlTape(DocumentArchive& archive, ReportPrinter& printer,
                                   std::uint32_t continueFrom, FrStatus::Store& status);

}  // namespace report
