#pragma once
// The register a document target works against, set up once per process:
// a temporary board, two sections, a percentage discount, a registered
// device with two taxes (20 % contained, 10 % on top) and a cashier who may
// make every document. Texts are CP866.

#include "config/discounts.h"
#include "config/sections.h"
#include "state/status.h"
#include "tests/support/temp_board.h"
#include "tests/unit/documents/sample_device.h"

namespace fuzz {

inline const sample::Device& sampleRegister() {
    static testing_support::ScopedTempBoard* board = new testing_support::ScopedTempBoard;
    static const sample::Device device = [] {
        (void)board;
        sample::Device d = sample::device();
        Tax onTop;
        onTop.kind = Tax::kOnTop;
        onTop.rate = 1000;
        onTop.name = sample::cp("НДС 10%");
        d.registration.setTaxAt(1, onTop);
        d.registration.sealRegistration(d.model.serialText(), toString(d.key));
        d.cashier.rights = 0xFFFF;
        sections().loadSections();
        sections().writeSection(Section{2, sample::cp("Бакалея")});
        discounts().loadDiscounts();
        discounts().writeDiscount(Discount{5, Discount::kPercentage, 1000, ""});
        FrStatus::status().setShiftNumber(7);
        FrStatus::status().setShiftReceipts(4);
        FrStatus::status().setCashInDrawer(1'000'000);
        return d;
    }();
    return device;
}

}  // namespace fuzz
