#include "reports/document_body.h"

#include "documents/archive_close_doc.h"
#include "documents/close_cycle_doc.h"
#include "documents/fiscalization_document.h"
#include "reports/counter_sections.h"

namespace report {

std::string documentBody(const BaseWorkDocument& document) {
    const RegData& registration = document.registrationRecord();
    if (const auto* z = dynamic_cast<const CloseCycleDoc*>(&document))
        return counterSection(z->shiftCounters(), CounterPeriod::shift, registration);
    if (const auto* r = dynamic_cast<const FiscalizationDocument*>(&document))
        return counterSection(r->registrationTotals(), CounterPeriod::sinceRegistration,
                              registration);
    if (const auto* a = dynamic_cast<const ArchiveCloseDoc*>(&document))
        return counterSection(a->registrationTotals(), CounterPeriod::sinceRegistration,
                              registration) +
               grossSection(a->grossTotals());
    return {};
}

}  // namespace report
