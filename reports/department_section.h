#pragma once
// The printed department totals of the current shift (the X report with
// departments): "ИТОГИ ПО ОТДЕЛАМ", then, for every department 1..20 with
// any amount, "ОТДЕЛ <d>" and its sale, purchase, return-of-sale and
// return-of-purchase amounts, all four lines even when one is 0.

#include <array>
#include <string>

#include "storage/records.h"

namespace report {

// `byKind` holds the department blocks of the four operation kinds, in the
// order sale, purchase, return of sale, return of purchase.
std::string departmentSection(const std::array<DepartmentTotals, kOperationKinds>& byKind);

}  // namespace report
