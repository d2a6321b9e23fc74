#include "reports/department_section.h"

#include <vector>

#include "documents/print_text.h"
#include "printing/print_layout.h"

using namespace print_text;

namespace report {

namespace {

constexpr const char* kAmountLabels[kOperationKinds] = {
    "ПРОДАЖ НА\t", "ПОКУПОК НА\t", "ВОЗВРАТОВ ПРОДАЖ НА\t", "ВОЗВРАТОВ ПОКУПОК НА\t"};

}  // namespace

std::string departmentSection(const std::array<DepartmentTotals, kOperationKinds>& byKind) {
    std::vector<printing::PrintBlock> blocks{block(kSmallFont, kCentred, {cp("ИТОГИ ПО ОТДЕЛАМ")})};
    for (std::size_t d = 0; d < DepartmentTotals::kDepartments; ++d) {
        // Amounts are never negative, so any amount at all shows the
        // department (a sum of the four could wrap to 0).
        bool any = false;
        for (const DepartmentTotals& kind : byKind) any = any || kind.amounts[d] != 0;
        if (!any) continue;
        printing::PrintBlock department =
            block(kSmallFont, kLeft, {cp("ОТДЕЛ ") + std::to_string(d + 1)});
        for (std::size_t k = 0; k < kOperationKinds; ++k)
            printing::addText(
                department,
                cp(kAmountLabels[k]) + amountText(static_cast<std::int64_t>(byKind[k].amounts[d])));
        blocks.push_back(department);
    }
    return printing::renderBlocks(blocks, false);
}

}  // namespace report
