// okta-host report, control-tape, copy: printing without making a fiscal
// document (commands 177, 58, 178).

#include <cstdio>
#include <utility>

#include "host/tool/cli.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

using hostkit::ReportType;

int printReport(Context& ctx, ReportType type, const std::string& name, std::uint32_t first = 0,
                std::uint32_t last = 0) {
    auto r = ctx.reg.printReport(type, first, last);
    if (!r) return ctx.failed(r);
    return ctx.done({{"printed", true}, {"report", name}});
}

int runPeriod(Context& ctx, const Args& args) {
    std::string first = args.positional[0], second = args.positional[1];
    std::uint32_t from = 0, to = 0;
    std::string error;
    if (!parseTime(first, from, error) || !parseTime(second, to, error))
        return ctx.fail(kUsage, error);
    // A period given backwards is put in order before TO is taken to the
    // end of its day.
    if (from > to) std::swap(first, second);
    if (!parseTime(first, from, error) || !parseTime(second, to, error, true))
        return ctx.fail(kUsage, error);
    return printReport(ctx, ReportType::Period, "period", from, to);
}

int runShifts(Context& ctx, const Args& args) {
    long long first = 0, last = 0;
    if (!parseNumber(args.positional[0], 0, 65535, first) ||
        !parseNumber(args.positional[1], 0, 65535, last))
        return ctx.fail(kUsage, "shift numbers run from 0 to 65535");
    return printReport(ctx, ReportType::ShiftRange, "shifts", static_cast<std::uint32_t>(first),
                       static_cast<std::uint32_t>(last));
}

// Prints the control tape, going on after an interruption from the
// document after the last one printed in full, as long as each call gets
// further; stops where it could not go on.
int runControlTape(Context& ctx, const Args& args) {
    long long from = 0;
    if (args.has("--from") && !parseNumber(args.value("--from"), 0, 0xFFFFFFFFLL, from))
        return ctx.fail(kUsage, "--from takes a document number");
    auto start = static_cast<std::uint32_t>(from);
    unsigned long long calls = 0;
    for (;;) {
        ++calls;
        auto r = ctx.reg.printControlTape(start);
        if (r)
            return ctx.done(
                {{"complete", true}, {"lastPrinted", number(r.value())}, {"calls", calls}});
        // The last document printed in full; 0 when none was (or the
        // register stopped before printing).
        const hostkit::Refusal* refusal = r.refusal();
        const std::uint32_t stop = refusal ? hostkit::controlTapeStop(*refusal).value_or(0) : 0;
        if (stop != 0 && stop + 1 > start) {
            if (!ctx.json)
                std::fprintf(stderr,
                             "okta-host: the control tape is printed to document %u; going on "
                             "from %u\n",
                             static_cast<unsigned>(stop), static_cast<unsigned>(stop + 1));
            start = stop + 1;
            continue;
        }
        const Fields where{{"complete", false},
                           {"calls", calls},
                           {"lastPrinted", number(stop)},
                           {"continueFrom", number(stop != 0 ? stop + 1 : start)}};
        return ctx.failed(r, where);
    }
}

int runCopy(Context& ctx, const Args& args) {
    long long document = 0;
    if (!parseNumber(args.positional[0], 1, 0xFFFFFFFFLL, document))
        return ctx.fail(kUsage, "copy takes a document number, 1 or more");
    auto r = ctx.reg.printCopy(static_cast<std::uint32_t>(document));
    if (!r) return ctx.failed(r);
    return ctx.done({{"printed", true}, {"document", number(document)}});
}

Command simpleReport(const std::string& word, ReportType type, const std::string& summary) {
    return {"report " + word,
            "",
            summary + " (command 177, type " + std::to_string(static_cast<int>(type)) + ")",
            {},
            0,
            0,
            true,
            [word, type](Context& ctx, const Args&) { return printReport(ctx, type, word); }};
}

}  // namespace

void addReportCommands(CommandTable& table) {
    table.push_back(simpleReport("x", ReportType::X, "the X report of the shift"));
    table.push_back(simpleReport("x-departments", ReportType::XWithDepartments,
                                 "the X report with the department totals"));
    table.push_back(simpleReport("totals", ReportType::TotalsSinceRegistration,
                                 "the totals since the last registration"));
    table.push_back(simpleReport("gross", ReportType::Gross, "the gross totals"));
    table.push_back({"report period",
                     "FROM TO",
                     "the shifts closed from FROM to TO, dates or local times (command 177, "
                     "type 5); a date TO counts to its end",
                     {},
                     2,
                     2,
                     true,
                     runPeriod});
    table.push_back({"report shifts",
                     "FIRST LAST",
                     "the shifts FIRST to LAST (command 177, type 6)",
                     {},
                     2,
                     2,
                     true,
                     runShifts});
    table.push_back({"control-tape",
                     "[--from N]",
                     "print the control tape of the shift (command 58); after an interruption "
                     "it goes on from the next document while it gets further",
                     {{"--from", "N", "go on from document N"}},
                     0,
                     0,
                     true,
                     runControlTape});
    table.push_back(
        {"copy", "N", "print a copy of stored document N (command 178)", {}, 1, 1, true, runCopy});
}

}  // namespace hosttool
