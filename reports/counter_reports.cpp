#include "reports/counter_reports.h"

#include <array>
#include <string>

#include "config/identity.h"
#include "documents/print_text.h"
#include "reports/counter_sections.h"
#include "reports/department_section.h"
#include "reports/report_frame.h"
#include "reports/report_pieces.h"

using print_text::cp;

namespace report {

namespace {

// "СМЕНА", "ОТКРЫТА" and, for a closed shift, "ЗАКРЫТА".
std::string shiftLines(FrStatus::Store& status) {
    FrStatus::StatusStruct device;
    FrStatus::CycleStatus shift;
    status.snapshot(device, shift);
    std::string lines = cp("СМЕНА\t") + std::to_string(device.shiftNumber) + "\n" +
                        cp("ОТКРЫТА\t") + print_text::dateTimeText(shift.openTime);
    if ((device.flags & FrStatus::shiftOpen) == 0)
        lines += "\n" + cp("ЗАКРЫТА\t") + print_text::dateTimeText(shift.closeTime);
    return bodyLines({lines});
}

}  // namespace

ResultCode printXReport(DocumentArchive& archive, ReportPrinter& printer, bool withDepartments,
                        FrStatus::Store& status) {
    CounterSet counters;
    if (!archive.readCounters(DocumentArchive::Counters::shift, counters))
        return ResultCode::ArchiveNotReady;
    std::array<DepartmentTotals, kOperationKinds> departments{};
    if (withDepartments && !archive.readDepartmentTotals(departments))
        return ResultCode::ArchiveNotReady;
    const auto registration = identity::store().registrationData();

    return printFramed(printer, [&] {
        printer.printUnchecked(title(cp("X-Отчет")));
        printer.printUnchecked(shiftLines(status));
        const ResultCode r =
            printer.print(counterSection(&counters, CounterPeriod::shift, *registration));
        if (r != ResultCode::Success || !withDepartments) return r;
        return printer.print(departmentSection(departments));
    });
}

ResultCode printRegistrationTotals(DocumentArchive& archive, ReportPrinter& printer) {
    CounterSet totals;
    if (!archive.readCounters(DocumentArchive::Counters::registrationTotals, totals))
        return ResultCode::ArchiveNotReady;
    const auto registration = identity::store().registrationData();
    return printFramed(printer, [&] {
        return printer.print(
            counterSection(&totals, CounterPeriod::sinceRegistration, *registration));
    });
}

ResultCode printGrossTotals(DocumentArchive& archive, ReportPrinter& printer) {
    GrossCounterSet gross;
    if (!archive.readGrossCounters(gross)) return ResultCode::ArchiveNotReady;
    return printFramed(printer, [&] { return printer.print(grossSection(&gross)); });
}

}  // namespace report
