#include "reports/control_tape.h"

#include <memory>
#include <string>
#include <vector>

#include "config/identity.h"
#include "documents/cash_ctrl_document.h"
#include "documents/print_text.h"
#include "documents/receipt_doc.h"
#include "printing/receipt_operation_print.h"
#include "reports/counter_sections.h"
#include "reports/report_frame.h"
#include "reports/report_pieces.h"

using print_text::cp;

namespace report {

namespace {

bool onTape(std::uint8_t type) {
    return type == FrStatus::receiptDoc || type == FrStatus::cashInDoc ||
           type == FrStatus::cashOutDoc;
}

// The jobs of one document's short form; none when the stored object is
// not the class its type names.
std::optional<std::vector<std::string>> tapeJobs(const BaseWorkDocument& document) {
    if (document.documentType() == FrStatus::receiptDoc) {
        const auto* receipt = dynamic_cast<const ReceiptDoc*>(&document);
        if (!receipt) return std::nullopt;
        std::vector<std::string> jobs{receipt->summaryHead()};
        for (const ReceiptOperation& position : receipt->positions())
            jobs.push_back(printing::printLines(position));
        jobs.push_back(receipt->summaryTail());
        return jobs;
    }
    if (!dynamic_cast<const CashCtrlDocument*>(&document)) return std::nullopt;
    return std::vector<std::string>{document.summaryHead(), document.summaryTail()};
}

ResultCode printDocument(DocumentArchive& archive, ReportPrinter& printer, std::uint32_t number) {
    std::shared_ptr<StoredDocument> stored;
    if (const ResultCode r = archive.readDocument(number, stored); r != ResultCode::Success)
        return r;
    const auto document = std::dynamic_pointer_cast<BaseWorkDocument>(stored);
    const auto jobs = document ? tapeJobs(*document) : std::nullopt;
    if (!jobs) return ResultCode::NotSet;
    for (const std::string& job : *jobs)
        if (const ResultCode r = printer.print(job); r != ResultCode::Success) return r;
    return ResultCode::Success;
}

std::string titleBlock(bool fresh, const FrStatus::StatusStruct& device,
                       const FrStatus::CycleStatus& shift) {
    std::string text = cp("КОНТРОЛЬНАЯ ЛЕНТА") + "\n";
    if (fresh)
        text += cp("СМЕНА\t") + std::to_string(device.shiftNumber) + "\n" + cp("ОТКРЫТА\t") +
                print_text::dateTimeText(shift.openTime);
    else
        text += cp("(ПРОДОЛЖЕНИЕ)");
    return title(text);
}

}  // namespace

ControlTapeResult printControlTape(DocumentArchive& archive, ReportPrinter& printer,
                                   std::uint32_t continueFrom, FrStatus::Store& status) {
    FrStatus::StatusStruct device;
    FrStatus::CycleStatus shift;
    status.snapshot(device, shift);
    // 64-bit, so that no number near the top of the range wraps the walk.
    const std::uint64_t opening = shift.openDocumentNumber;
    const bool fresh = continueFrom <= opening;
    const std::uint64_t start = fresh ? opening + 1 : continueFrom;
    const std::uint64_t last = device.lastDocumentNumber;
    if (last < start) return {ResultCode::NotFound, std::nullopt};
    CounterSet counters;
    if (fresh && !archive.readCounters(DocumentArchive::Counters::shift, counters))
        return {ResultCode::ArchiveNotReady, std::nullopt};

    std::uint32_t lastPrinted = 0;
    bool documentsReached = false;
    bool headerUnreadable = false;
    const ResultCode result = printFramed(printer, [&] {
        printer.printUnchecked(titleBlock(fresh, device, shift));
        if (fresh) {
            const ResultCode r = printer.print(counterSection(
                &counters, CounterPeriod::shift, *identity::store().registrationData()));
            if (r != ResultCode::Success) return r;
        }
        printer.printUnchecked(separator());
        documentsReached = true;
        for (std::uint64_t n = start; n <= last; ++n) {
            const auto number = static_cast<std::uint32_t>(n);
            DocDescriptor header;
            if (!archive.readHeader(number, header)) {
                headerUnreadable = true;
                return ResultCode::ArchiveNotReady;
            }
            if (!onTape(header.type)) continue;
            if (const ResultCode r = printDocument(archive, printer, number);
                r != ResultCode::Success)
                return r;
            lastPrinted = number;
            if (const ResultCode r = printer.print(separator()); r != ResultCode::Success) return r;
        }
        return ResultCode::Success;
    });
    if (!documentsReached || headerUnreadable) return {result, std::nullopt};
    return {result, lastPrinted};
}

}  // namespace report
