#pragma once
// The counter records as tagged values, inside the stored data of the
// documents that close a period: the shift close carries its shift's
// counters (container 11194), the registration report and the archive
// close the totals since registration (11158), the archive close also the
// lifetime totals (11157).
//
// A container holds 11038 shiftField, 12001 cashInCount, 12003
// cashOutCount, 12002 cashInAmount, 12004 cashOutAmount, 11118
// receiptCount and, for a CounterSet only, 11136 cashInDrawer, all always;
// then one container per operation kind: 11129 sale, 11131 purchase, 11130
// return of sale, 11132 return of purchase. A kind container holds 11118
// count, and only for a count other than 0: 11201 total, 11136 cash and
// 11138 non-cash (each when not 0) and, for a CounterSet, the tax sums
// 13110..13114 (each when not 0). The other payment forms are not kept.

#include <cstdint>

#include "encoding/tlv.h"
#include "storage/records.h"

// The container `tag` (11194 or 11158) made from `counters`. Sets the kind
// byte of every entry to its index on the way, in the record itself.
Tlv countersToTlv(std::uint16_t tag, CounterSet& counters);
// Container 11157 made from `counters`, the kind bytes set likewise.
Tlv countersToTlv(GrossCounterSet& counters);

// Fills `counters` (zeroed by the caller) from a container read back from
// the archive. Counts of another length than theirs read as 0; amounts take
// at most 8 bytes. A child no record of this kind holds is skipped after the
// line "tlvToCounters UNKNOWN TAG <tag>". Children after bytes that do not
// decode are lost; those before them are kept.
void tlvToCounters(const Tlv& container, CounterSet& counters);
void tlvToCounters(const Tlv& container, GrossCounterSet& counters);
