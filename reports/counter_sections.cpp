#include "reports/counter_sections.h"

#include <vector>

#include "documents/print_text.h"
#include "encoding/tax.h"
#include "printing/print_layout.h"

using namespace print_text;

namespace report {

namespace {

constexpr const char* kKindNames[kOperationKinds] = {"ПРОДАЖ", "ПОКУПОК", "ВОЗВРАТОВ ПРОДАЖ",
                                                     "ВОЗВРАТОВ ПОКУПОК"};

std::string amount(std::uint64_t kopecks) { return amountText(static_cast<std::int64_t>(kopecks)); }

printing::PrintBlock sectionTitle(const char* utf8) {
    return block(kSmallFont, kCentred, {cp(utf8)});
}

// The cash-in, cash-out and receipt lines both kinds of set begin with.
void addMovementLines(printing::PrintBlock& body, const CounterHead& head) {
    printing::addText(body, cp("ВНЕСЕНИЙ ") + std::to_string(head.cashInCount) + cp("\tНА ") +
                                amount(head.cashInAmount));
    printing::addText(body, cp("ВЫПЛАТ ") + std::to_string(head.cashOutCount) + cp("\tНА ") +
                                amount(head.cashOutAmount));
    printing::addText(body, cp("ВСЕГО ЧЕКОВ\t") + std::to_string(head.receiptCount));
}

printing::PrintBlock operationBlock(std::size_t kind, const GrossOperationTotals& entry) {
    printing::PrintBlock b = block(kSmallFont, kLeft,
                                   {cp(kKindNames[kind]) + " " + std::to_string(entry.count) +
                                    cp("\tНА ") + amount(entry.total)});
    if (entry.count == 0) return b;
    printing::addText(b, cp("НАЛИЧНЫМИ\t") + amount(entry.byPayment[0]));
    printing::addText(b, cp("БЕЗНАЛИЧНЫМИ\t") + amount(entry.byPayment[1]));
    return b;
}

std::string taxLineLabel(const RegData& registration, std::size_t index) {
    const Tax tax = registration.taxAt(index);
    if (tax.isValid()) return taxLabel(tax);
    return cp("НАЛОГ ") + std::to_string(index + 1);
}

printing::PrintBlock operationBlock(std::size_t kind, const OperationTotals& entry,
                                    const RegData& registration) {
    printing::PrintBlock b = operationBlock(kind, static_cast<const GrossOperationTotals&>(entry));
    if (entry.count == 0) return b;
    for (std::size_t i = 0; i < OperationTotals::kTaxes; ++i) {
        // A sum is a signed amount: nothing is printed for 0 or below.
        if (static_cast<std::int64_t>(entry.byTax[i]) <= 0) continue;
        printing::addText(b, taxLineLabel(registration, i) + "\t" + amount(entry.byTax[i]));
    }
    return b;
}

}  // namespace

std::string counterSection(const CounterSet* counters, CounterPeriod period,
                           const RegData& registration) {
    if (!counters) return {};
    const bool sinceRegistration = period == CounterPeriod::sinceRegistration;
    std::vector<printing::PrintBlock> blocks{
        sectionTitle(sinceRegistration ? "ИТОГО С ПОСЛЕДНЕЙ РЕГИСТРАЦИИ" : "ИТОГИ СМЕНЫ")};
    printing::PrintBlock body = block(kSmallFont, kLeft, {});
    if (sinceRegistration)
        printing::addText(body, cp("СМЕН\t") + std::to_string(counters->shiftField));
    addMovementLines(body, *counters);
    printing::addText(body, cp("НАЛ. В КАССЕ\t") + amount(counters->cashInDrawer));
    blocks.push_back(body);
    for (std::size_t kind = 0; kind < kOperationKinds; ++kind)
        blocks.push_back(operationBlock(kind, counters->operations[kind], registration));
    return printing::renderBlocks(blocks, false);
}

std::string grossSection(const GrossCounterSet* counters) {
    if (!counters) return {};
    std::vector<printing::PrintBlock> blocks{sectionTitle("ГРОСС ИТОГИ")};
    printing::PrintBlock body =
        block(kSmallFont, kLeft, {cp("СМЕН\t") + std::to_string(counters->shiftField)});
    addMovementLines(body, *counters);
    blocks.push_back(body);
    for (std::size_t kind = 0; kind < kOperationKinds; ++kind)
        blocks.push_back(operationBlock(kind, counters->operations[kind]));
    return printing::renderBlocks(blocks, false);
}

}  // namespace report
