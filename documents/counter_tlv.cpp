#include "documents/counter_tlv.h"

#include <string>
#include <type_traits>
#include <vector>

#include "common/diagnostics.h"
#include "encoding/tags.h"

namespace {

// Kind containers in entry order: sale, purchase, return of sale, return
// of purchase.
constexpr std::uint16_t kKindTags[kOperationKinds] = {tags::kSaleCounters, tags::kPurchaseCounters,
                                                      tags::kReturnOfSaleCounters,
                                                      tags::kReturnOfPurchaseCounters};

int kindOfTag(std::uint16_t tag) {
    for (std::size_t kind = 0; kind < kOperationKinds; ++kind)
        if (kKindTags[kind] == tag) return static_cast<int>(kind);
    return -1;
}

Tlv amountValue(std::uint16_t tag, std::uint64_t amount) {
    return Tlv().setVarInt(tag, static_cast<std::int64_t>(amount));
}

// Amounts are stored as VarInts of at most 8 bytes, zero-extended.
std::uint64_t amountOf(const Tlv& value) { return static_cast<std::uint64_t>(value.getVarInt()); }

void appendWhenNotZero(std::vector<Tlv>& children, std::uint16_t tag, std::uint64_t amount) {
    if (amount != 0) children.push_back(amountValue(tag, amount));
}

std::vector<Tlv> entryValues(const GrossOperationTotals& entry) {
    std::vector<Tlv> values{Tlv().setU32(tags::kCount, entry.count)};
    if (entry.count == 0) return values;
    values.push_back(amountValue(tags::kCountersTotal, entry.total));
    appendWhenNotZero(values, tags::kCashAmount, entry.byPayment[0]);
    appendWhenNotZero(values, tags::kNonCashAmount, entry.byPayment[1]);
    return values;
}

std::vector<Tlv> entryValues(const OperationTotals& entry) {
    std::vector<Tlv> values = entryValues(static_cast<const GrossOperationTotals&>(entry));
    if (entry.count == 0) return values;
    for (std::size_t i = 0; i < OperationTotals::kTaxes; ++i)
        appendWhenNotZero(values, static_cast<std::uint16_t>(tags::kTaxAmountFirst + i),
                          entry.byTax[i]);
    return values;
}

template <class Set>
Tlv containerOf(std::uint16_t tag, Set& counters) {
    std::vector<Tlv> children{
        Tlv().setU16(tags::kShiftNumber, counters.shiftField),
        Tlv().setU16(tags::kCashInCount, counters.cashInCount),
        Tlv().setU16(tags::kCashOutCount, counters.cashOutCount),
        amountValue(tags::kCashInAmount, counters.cashInAmount),
        amountValue(tags::kCashOutAmount, counters.cashOutAmount),
        Tlv().setU32(tags::kCount, counters.receiptCount),
    };
    if constexpr (std::is_same_v<Set, CounterSet>)
        children.push_back(amountValue(tags::kCashAmount, counters.cashInDrawer));
    for (std::size_t kind = 0; kind < kOperationKinds; ++kind) {
        auto& entry = counters.operations[kind];
        entry.kind = static_cast<std::uint8_t>(kind);
        children.push_back(Tlv().setContainer(kKindTags[kind], entryValues(entry)));
    }
    return Tlv().setContainer(tag, children);
}

void reportUnknown(std::uint16_t tag) {
    diagnosticLine("tlvToCounters UNKNOWN TAG " + std::to_string(tag));
}

// Each reader takes one value into its record and says whether the record
// holds such a value.
bool readEntryValue(const Tlv& value, GrossOperationTotals& entry) {
    switch (value.tag) {
        case tags::kCount:
            entry.count = value.getU32();
            return true;
        case tags::kCountersTotal:
            entry.total = amountOf(value);
            return true;
        case tags::kCashAmount:
            entry.byPayment[0] = amountOf(value);
            return true;
        case tags::kNonCashAmount:
            entry.byPayment[1] = amountOf(value);
            return true;
        default:
            return false;
    }
}

bool readEntryValue(const Tlv& value, OperationTotals& entry) {
    if (value.tag >= tags::kTaxAmountFirst && value.tag <= tags::kTaxAmountLast) {
        entry.byTax[value.tag - tags::kTaxAmountFirst] = amountOf(value);
        return true;
    }
    return readEntryValue(value, static_cast<GrossOperationTotals&>(entry));
}

bool readTopValue(const Tlv& value, CounterHead& head) {
    switch (value.tag) {
        case tags::kShiftNumber:
            head.shiftField = value.getU16();
            return true;
        case tags::kCashInCount:
            head.cashInCount = value.getU16();
            return true;
        case tags::kCashOutCount:
            head.cashOutCount = value.getU16();
            return true;
        case tags::kCashInAmount:
            head.cashInAmount = amountOf(value);
            return true;
        case tags::kCashOutAmount:
            head.cashOutAmount = amountOf(value);
            return true;
        case tags::kCount:
            head.receiptCount = value.getU32();
            return true;
        default:
            return false;
    }
}

bool readTopValue(const Tlv& value, CounterSet& counters) {
    if (value.tag == tags::kCashAmount) {
        counters.cashInDrawer = amountOf(value);
        return true;
    }
    return readTopValue(value, static_cast<CounterHead&>(counters));
}

template <class Set>
void readContainer(const Tlv& container, Set& counters) {
    for (const Tlv& child : decodeList(container)) {
        const int kind = kindOfTag(child.tag);
        if (kind < 0) {
            if (!readTopValue(child, counters)) reportUnknown(child.tag);
            continue;
        }
        auto& entry = counters.operations[static_cast<std::size_t>(kind)];
        entry.kind = static_cast<std::uint8_t>(kind);
        for (const Tlv& value : decodeList(child))
            if (!readEntryValue(value, entry)) reportUnknown(value.tag);
    }
}

}  // namespace

Tlv countersToTlv(std::uint16_t tag, CounterSet& counters) { return containerOf(tag, counters); }

Tlv countersToTlv(GrossCounterSet& counters) { return containerOf(tags::kGrossCounters, counters); }

void tlvToCounters(const Tlv& container, CounterSet& counters) {
    readContainer(container, counters);
}

void tlvToCounters(const Tlv& container, GrossCounterSet& counters) {
    readContainer(container, counters);
}
