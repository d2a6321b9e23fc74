#pragma once
// The counter reads the core serves from the document archive:
//   54  the shift counters, 406 bytes
//   55  the totals since the last registration, 406 bytes
//   56  the gross totals, 238 bytes
//   57  the department totals of the shift, 640 bytes (four blocks: sale,
//       purchase, return of sale, return of purchase)
// No request data; 5 with no data while there is no archive or it cannot
// be read.

#include <functional>

#include "state/command_table.h"
#include "storage/document_archive.h"

// The rows of 54 ... 57. `archive` gives the core's archive at the time of
// the request (null before the card is mounted).
void addCounterCommands(CommandTable& table, std::function<DocumentArchive*()> archive);
