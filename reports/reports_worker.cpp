#include "reports/reports_worker.h"

#include "config/cashiers.h"
#include "reports/control_tape.h"
#include "reports/counter_reports.h"
#include "reports/document_copy.h"
#include "reports/range_reports.h"

namespace {

enum ReportType : std::uint8_t {
    xReport = 1,
    registrationTotals = 2,
    grossTotals = 3,
    xReportWithDepartments = 4,
    periodReport = 5,
    shiftRangeReport = 6,
};

constexpr std::size_t kPeriodArguments = 8;
constexpr std::size_t kShiftRangeArguments = 4;
constexpr std::size_t kNumberSize = 4;
constexpr std::uint16_t kTapeRights = kRightSale | kRightReports | kRightReturn;

bool holdsAll(const Cashier& c, std::uint16_t rights) { return (c.rights & rights) == rights; }

// The prefix check with the rights the command needs: its result code.
ResultCode authorise(const Authorisation& auth, std::uint16_t rights) {
    if (auth.result != ResultCode::Success) return auth.result;
    return holdsAll(auth.cashier, rights) ? ResultCode::Success : ResultCode::NoRight;
}

}  // namespace

ReportsWorker::ReportsWorker(DocumentArchive* archive, report::ReportPrinter& printer,
                             FrStatus::Store& status)
    : archive_(archive), printer_(printer), status_(status) {}

CoreApiResult ReportsWorker::printReport(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (const ResultCode r = authorise(auth, kRightReports); r != ResultCode::Success)
        return CoreApiResult(r);
    if (auth.payload.empty()) return CoreApiResult(ResultCode::BadDataLength);
    if (const ResultCode r = printer_.queryStatus(); r != ResultCode::Success)
        return CoreApiResult(r);

    const std::uint8_t type = auth.payload.front();
    le::Reader arguments(auth.payload.data() + 1, auth.payload.size() - 1);
    if ((type == periodReport && arguments.remaining() != kPeriodArguments) ||
        (type == shiftRangeReport && arguments.remaining() != kShiftRangeArguments))
        return CoreApiResult(ResultCode::BadDataLength);
    if (type < xReport || type > shiftRangeReport) return CoreApiResult(ResultCode::TypeMismatch);

    if (const ResultCode r = status_.checkDevice(true); r != ResultCode::Success)
        return CoreApiResult(r);
    if (status_.shiftNumber() == 0) return CoreApiResult(ResultCode::NotFound);
    return CoreApiResult(runReport(type, arguments));
}

ResultCode ReportsWorker::runReport(std::uint8_t type, le::Reader& arguments) {
    switch (type) {
        case periodReport: {
            const std::uint32_t from = arguments.u32();
            return report::printPeriodReport(printer_, from, arguments.u32());
        }
        case shiftRangeReport: {
            const std::uint16_t from = arguments.u16();
            return report::printShiftRangeReport(printer_, from, arguments.u16());
        }
        default:
            break;
    }
    // The counter reports read the archive.
    if (!archive_) return ResultCode::ArchiveNotReady;
    switch (type) {
        case registrationTotals:
            return report::printRegistrationTotals(*archive_, printer_);
        case grossTotals:
            return report::printGrossTotals(*archive_, printer_);
        default:
            return report::printXReport(*archive_, printer_, type == xReportWithDepartments,
                                        status_);
    }
}

CoreApiResult ReportsWorker::printControlTape(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (const ResultCode r = authorise(auth, kTapeRights); r != ResultCode::Success)
        return CoreApiResult(r);
    // Anything but a number is a request for a fresh tape.
    const std::uint32_t continueFrom =
        auth.payload.size() == kNumberSize ? le::u32(auth.payload.data()) : 0;
    if (const ResultCode r = printer_.queryStatus(); r != ResultCode::Success)
        return CoreApiResult(r);
    if (const ResultCode r = status_.checkDevice(true); r != ResultCode::Success)
        return CoreApiResult(r);
    if (!archive_) return CoreApiResult(ResultCode::ArchiveNotReady);

    const report::ControlTapeResult tape =
        report::printControlTape(*archive_, printer_, continueFrom, status_);
    Bytes data;
    if (tape.lastPrinted) le::put32(data, *tape.lastPrinted);
    return CoreApiResult(tape.result, std::move(data));
}

CoreApiResult ReportsWorker::printDocumentCopy(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (const ResultCode r = authorise(auth, kRightReports); r != ResultCode::Success)
        return CoreApiResult(r);
    if (auth.payload.size() != kNumberSize) return CoreApiResult(ResultCode::BadDataLength);
    if (const ResultCode r = printer_.queryStatus(); r != ResultCode::Success)
        return CoreApiResult(r);
    if (!archive_) return CoreApiResult(ResultCode::ArchiveNotReady);
    return CoreApiResult(
        report::printDocumentCopy(*archive_, printer_, le::u32(auth.payload.data())));
}

void addReportCommands(CommandTable& table, std::function<DocumentArchive*()> archive,
                       rs::SerialPort& printer) {
    using Handler = CoreApiResult (ReportsWorker::*)(const CoreTransaction&);
    const auto row = [&](std::uint8_t command, Handler handler) {
        table.add(command, [archive, &printer, handler](const CoreTransaction& t) {
            report::PortPrinter jobs(printer);
            ReportsWorker worker(archive(), jobs);
            return (worker.*handler)(t);
        });
    };
    row(58, &ReportsWorker::printControlTape);
    row(177, &ReportsWorker::printReport);
    row(178, &ReportsWorker::printDocumentCopy);
}
