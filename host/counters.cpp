#include "host/counters.h"

namespace hostkit {

namespace {

std::int64_t amount(le::Reader& r) { return static_cast<std::int64_t>(r.u64()); }

// Bytes 0 to 25 of both sets, and the cash in the drawer when `withDrawer`.
CounterSet readHead(le::Reader& r, bool withDrawer) {
    CounterSet c;
    c.shiftField = r.u16();
    c.cashInCount = r.u16();
    c.cashOutCount = r.u16();
    c.cashInAmount = amount(r);
    c.cashOutAmount = amount(r);
    c.receiptCount = r.u32();
    if (withDrawer) c.cashInDrawer = amount(r);
    return c;
}

void readEntries(le::Reader& r, CounterSet& c, bool withTaxes) {
    for (OperationTotals& op : c.operations) {
        op.kind = r.u8();
        op.count = r.u32();
        op.total = amount(r);
        for (auto& v : op.byPayment) v = amount(r);
        if (withTaxes)
            for (auto& v : op.byTax) v = amount(r);
    }
}

}  // namespace

std::optional<CounterSet> decodeCounterSet(const Bytes& data) {
    if (data.size() != kCounterSetSize) return std::nullopt;
    le::Reader r(data);
    CounterSet c = readHead(r, true);
    readEntries(r, c, true);
    return c;
}

std::optional<CounterSet> decodeGrossCounterSet(const Bytes& data) {
    if (data.size() != kGrossCounterSetSize) return std::nullopt;
    le::Reader r(data);
    CounterSet c = readHead(r, false);
    readEntries(r, c, false);
    return c;
}

std::optional<DepartmentTotals> decodeDepartmentTotals(const Bytes& data) {
    if (data.size() != kDepartmentTotalsSize) return std::nullopt;
    le::Reader r(data);
    DepartmentTotals d{};
    for (auto& block : d)
        for (auto& v : block) v = amount(r);
    return d;
}

}  // namespace hostkit
