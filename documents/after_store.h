#pragma once
// What follows a document once the archive has stored it: the device status
// brought in line with it, and what is printed of it. Runs without the
// documents lock; each status field is written under the status lock.

#include <functional>
#include <string>
#include <vector>

#include "documents/base_work_document.h"
#include "state/status.h"
#include "storage/document_archive.h"

// The counter body a closing document prints after it is stored (the Z
// report's shift counters, the totals of a registration or an archive
// close); empty for other documents. The reports above this folder give it.
using BodyPrinter = std::function<std::string(const BaseWorkDocument&)>;

// The status changes of a stored document, by its type:
//   registration   fiscalized; registrationCount := the archive's count
//   shift close    shiftOpen cleared; the shift's close number and time
//   receipt        the drawer's cash moved by its cash payment (added for a
//                  sale or a return of purchase, else taken out, never
//                  below 0); the shift's close number; shiftReceipts :=
//                  its receipt number
//   archive close  archiveClosed
//   cash in / out  the drawer's cash moved by the amount (out: never below
//                  0); the shift's close number
//   shift open     shiftOpen; shiftReceipts := 0; open number and time and
//                  close number := its own, close time := 0
// and for every type: lastDocumentNumber, lastDocumentTime, shiftNumber
// from the document, freeDocumentPlaces := the card's remaining capacity.
void accountStoredDocument(const BaseWorkDocument& document, DocumentArchive& archive,
                           FrStatus::Store& status = FrStatus::status());

// The texts printed after a document is stored, in order: for a
// registration its common header (showing the new registration), the
// counter body, then the footer with the cut. Empty texts are left out.
std::vector<std::string> storedDocumentPrints(const BaseWorkDocument& document,
                                              const BodyPrinter& body);
