#pragma once
// The printed sections of the counter records: the shift counters (the X
// and Z reports), the totals since registration and the lifetime totals.
// Each gives printer bytes: a centred title, the body lines, then one block
// per operation kind (sale, purchase, return of sale, return of purchase)
// with its count and total and, when it counted anything, its cash and
// non-cash sums and its tax sums above 0.

#include <string>

#include "config/reg_data.h"
#include "storage/records.h"

namespace report {

enum class CounterPeriod {
    shift,              // "ИТОГИ СМЕНЫ"
    sinceRegistration,  // "ИТОГО С ПОСЛЕДНЕЙ РЕГИСТРАЦИИ", with the shift count
};

// Empty for a null set. The tax lines are labelled with the names of the
// registration's taxes, or "НАЛОГ <n>" where tax n is not valid.
std::string counterSection(const CounterSet* counters, CounterPeriod period,
                           const RegData& registration);

// "ГРОСС ИТОГИ": the shift count, cash in and out, receipts and the kinds
// without tax lines; empty for a null set.
std::string grossSection(const GrossCounterSet* counters);

}  // namespace report
