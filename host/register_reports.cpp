// Typed calls for the counters (54 to 57), the reports (177), the control
// tape (58) and copies of stored documents (178).

#include "host/answer.h"
#include "host/register.h"

namespace hostkit {

namespace {
enum : std::uint8_t {
    kShiftCounters = 54,
    kTotalsSinceRegistration = 55,
    kGrossTotals = 56,
    kDepartmentTotals = 57,
    kControlTape = 58,
    kReport = 177,
    kCopy = 178,
};
}  // namespace

Result<CounterSet> Register::shiftCounters() {
    return decodeAnswer<CounterSet>(client_.call(kShiftCounters), kShiftCounters, decodeCounterSet);
}

Result<CounterSet> Register::totalsSinceRegistration() {
    return decodeAnswer<CounterSet>(client_.call(kTotalsSinceRegistration),
                                    kTotalsSinceRegistration, decodeCounterSet);
}

Result<CounterSet> Register::grossTotals() {
    return decodeAnswer<CounterSet>(client_.call(kGrossTotals), kGrossTotals,
                                    decodeGrossCounterSet);
}

Result<DepartmentTotals> Register::departmentTotals() {
    return decodeAnswer<DepartmentTotals>(client_.call(kDepartmentTotals), kDepartmentTotals,
                                          decodeDepartmentTotals);
}

Result<Done> Register::printReport(ReportType type, std::uint32_t first, std::uint32_t last) {
    if (type < ReportType::X || type > ReportType::ShiftRange)
        return Rejected{"report types run from 1 to 6"};
    if (type == ReportType::ShiftRange && (first > 0xFFFF || last > 0xFFFF))
        return Rejected{"shift numbers run from 0 to 65535"};
    return doneAnswer(authorised(kReport, reportData(type, first, last)));
}

Result<std::uint32_t> Register::printControlTape(std::uint32_t from) {
    Bytes payload;
    if (from != 0) le::put32(payload, from);
    return decodeAnswer<std::uint32_t>(authorised(kControlTape, payload), kControlTape,
                                       [](const Bytes& data) -> std::optional<std::uint32_t> {
                                           if (data.size() != 4) return std::nullopt;
                                           return le::u32(data.data());
                                       });
}

Result<Done> Register::printCopy(std::uint32_t documentNumber) {
    Bytes payload;
    le::put32(payload, documentNumber);
    return doneAnswer(authorised(kCopy, payload));
}

}  // namespace hostkit
