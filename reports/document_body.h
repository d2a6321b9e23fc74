#pragma once
// The counter body a closing document prints between its header and its
// footer, both right after it is stored and in a copy of it:
//   registration report: the totals since the previous registration (none
//     for the first registration);
//   shift close (the Z report): the counters of the shift it closed;
//   archive close: the totals since registration, then the lifetime totals.
// Other documents have no such body: empty text.

#include <string>

#include "documents/base_work_document.h"

namespace report {

std::string documentBody(const BaseWorkDocument& document);

}  // namespace report
