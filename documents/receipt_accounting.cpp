// A stored receipt added to the counters: the shift counters and the totals
// since registration, the gross totals and the department totals. Amounts
// are kopecks; the receipt never holds a negative one once closed.

#include <algorithm>

#include "documents/receipt_doc.h"

namespace {

std::uint64_t kopecks(const Decimal& amount) { return static_cast<std::uint64_t>(amount.value()); }

// What a receipt adds to any set of counters: one receipt and, for kinds 0..3,
// the count, total and payments of its kind, whose entry is returned (null
// for other kinds).
template <class Counters>
auto* countReceipt(Counters& counters, std::uint8_t kind, const Decimal& total, const Decimal& cash,
                   const Decimal& nonCash) {
    ++counters.receiptCount;
    decltype(&counters.operations[0]) entry = nullptr;
    if (kind >= kOperationKinds) return entry;
    entry = &counters.operations[kind];
    entry->kind = kind;
    ++entry->count;
    entry->total += kopecks(total);
    entry->byPayment[0] += kopecks(cash);
    entry->byPayment[1] += kopecks(nonCash);
    return entry;
}

}  // namespace

int ReceiptDoc::receiptKind() const { return receiptKind_; }

void ReceiptDoc::accountInto(CounterSet& counters) const {
    const std::uint64_t cash = kopecks(cash_);
    if (isIncome())
        counters.cashInDrawer += cash;
    else
        counters.cashInDrawer -= std::min(counters.cashInDrawer, cash);
    OperationTotals* entry = countReceipt(counters, receiptKind_, total_, cash_, nonCash_);
    if (!entry) return;
    for (const auto& [number, sum] : taxSums_)
        if (number >= 1 && number <= OperationTotals::kTaxes)
            entry->byTax[number - 1] += kopecks(sum);
}

void ReceiptDoc::accountInto(GrossCounterSet& counters) const {
    countReceipt(counters, receiptKind_, total_, cash_, nonCash_);
}

void ReceiptDoc::accountInto(DepartmentTotals& totals) const {
    for (const auto& [number, sum] : sectionSums_)
        if (validRecordNumber(number)) totals.amounts[number - 1] += kopecks(sum);
}
