// okta-host counters shift|totals|gross|departments: the counters kept in
// the archive (commands 54 to 57) as readable tables, or as JSON.

#include <cstdio>

#include "host/tool/cli.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

using hostkit::CounterSet;

constexpr const char* kKinds[] = {"sale", "purchase", "return-sale", "return-purchase"};

// The kind as the register's record names it (its kind byte), so that a
// record out of order shows as such.
std::string kindName(std::uint8_t kind) {
    return kind < hostkit::kOperationKinds ? kKinds[kind] : "kind " + std::to_string(kind);
}

Fields operationFields(const hostkit::OperationTotals& op, bool withTaxes) {
    std::vector<std::string> taxes;
    for (std::int64_t t : op.byTax) taxes.push_back(hundredthsText(t));
    Fields f{{"kind", kindName(op.kind)},
             {"kindByte", number(op.kind)},
             {"count", number(op.count)},
             {"total", moneyValue(op.total)},
             {"cash", moneyValue(op.byPayment[0])},
             {"nonCash", moneyValue(op.byPayment[1])}};
    if (withTaxes) f.push_back({"taxes", taxes});
    return f;
}

Fields counterFields(const std::string& name, const CounterSet& c, bool gross) {
    std::vector<Fields> operations;
    for (int k = 0; k < hostkit::kOperationKinds; ++k)
        operations.push_back(operationFields(c.operations[k], !gross));
    Fields f{{"counters", name},
             {"shiftField", number(c.shiftField)},
             {"cashInCount", number(c.cashInCount)},
             {"cashInAmount", moneyValue(c.cashInAmount)},
             {"cashOutCount", number(c.cashOutCount)},
             {"cashOutAmount", moneyValue(c.cashOutAmount)},
             {"receiptCount", number(c.receiptCount)}};
    if (!gross) f.push_back({"cashInDrawer", moneyValue(c.cashInDrawer)});
    f.push_back({"operations", operations});
    return f;
}

// What `shiftField` counts in each record.
const char* shiftLabel(const std::string& name) {
    if (name == "shift") return "shift";
    if (name == "totals") return "shifts since the registration";
    return "last shift";
}

void printCounterTable(const std::string& name, const CounterSet& c, bool gross) {
    std::printf("%-30s %u\n", (std::string(shiftLabel(name)) + ":").c_str(), c.shiftField);
    std::printf("%-30s %u for %s\n", "cash in:", c.cashInCount,
                hundredthsText(c.cashInAmount).c_str());
    std::printf("%-30s %u for %s\n", "cash out:", c.cashOutCount,
                hundredthsText(c.cashOutAmount).c_str());
    std::printf("%-30s %u\n", "receipts:", c.receiptCount);
    if (!gross)
        std::printf("%-30s %s\n", "cash in the drawer:", hundredthsText(c.cashInDrawer).c_str());
    std::printf("\n%-16s %6s %14s %14s %14s", "kind", "count", "total", "cash", "non-cash");
    if (!gross)
        for (int t = 1; t <= 5; ++t) std::printf(" %12s", ("tax " + std::to_string(t)).c_str());
    std::printf("\n");
    for (int k = 0; k < hostkit::kOperationKinds; ++k) {
        const hostkit::OperationTotals& op = c.operations[k];
        std::printf("%-16s %6u %14s %14s %14s", kindName(op.kind).c_str(), op.count,
                    hundredthsText(op.total).c_str(), hundredthsText(op.byPayment[0]).c_str(),
                    hundredthsText(op.byPayment[1]).c_str());
        if (!gross)
            for (std::int64_t tax : op.byTax) std::printf(" %12s", hundredthsText(tax).c_str());
        std::printf("\n");
    }
}

int showCounters(Context& ctx, const std::string& name, const hostkit::Result<CounterSet>& r) {
    if (!r) return ctx.failed(r);
    const bool gross = name == "gross";
    if (ctx.json) return ctx.done(counterFields(name, r.value(), gross));
    printCounterTable(name, r.value(), gross);
    return kOk;
}

int runShift(Context& ctx, const Args&) {
    return showCounters(ctx, "shift", ctx.reg.shiftCounters());
}

int runTotals(Context& ctx, const Args&) {
    return showCounters(ctx, "totals", ctx.reg.totalsSinceRegistration());
}

int runGross(Context& ctx, const Args&) {
    return showCounters(ctx, "gross", ctx.reg.grossTotals());
}

// Departments with any amount, or every one with --all.
int runDepartments(Context& ctx, const Args& args) {
    auto r = ctx.reg.departmentTotals();
    if (!r) return ctx.failed(r);
    const hostkit::DepartmentTotals& d = r.value();
    std::vector<Fields> rows;
    if (!ctx.json)
        std::printf("%-10s %14s %14s %14s %16s\n", "department", "sale", "purchase", "return-sale",
                    "return-purchase");
    for (int department = 0; department < 20; ++department) {
        bool any = args.has("--all");
        for (const auto& block : d) any = any || block[department] != 0;
        if (!any) continue;
        Fields row{{"department", number(department + 1)}};
        for (int k = 0; k < hostkit::kOperationKinds; ++k)
            row.push_back({kKinds[k], moneyValue(d[k][department])});
        rows.push_back(row);
        if (!ctx.json)
            std::printf(
                "%-10d %14s %14s %14s %16s\n", department + 1,
                hundredthsText(d[0][department]).c_str(), hundredthsText(d[1][department]).c_str(),
                hundredthsText(d[2][department]).c_str(), hundredthsText(d[3][department]).c_str());
    }
    if (ctx.json)
        return ctx.done({{"counters", std::string("departments")}, {"departments", rows}});
    return kOk;
}

}  // namespace

void addCounterCommands(CommandTable& table) {
    table.push_back({"counters shift",
                     "",
                     "the counters of the current shift (command 54)",
                     {},
                     0,
                     0,
                     false,
                     runShift});
    table.push_back({"counters totals",
                     "",
                     "the totals since the last registration (command 55)",
                     {},
                     0,
                     0,
                     false,
                     runTotals});
    table.push_back(
        {"counters gross", "", "the gross totals (command 56)", {}, 0, 0, false, runGross});
    table.push_back({"counters departments",
                     "",
                     "the shift's totals by department (command 57)",
                     {{"--all", "", "show departments without any amount too"}},
                     0,
                     0,
                     false,
                     runDepartments});
}

}  // namespace hosttool
