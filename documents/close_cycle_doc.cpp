#include "documents/close_cycle_doc.h"

#include "documents/counter_tlv.h"
#include "documents/print_text.h"
#include "encoding/tags.h"
#include "state/status.h"

using namespace print_text;

CloseCycleDoc::CloseCycleDoc(const ModelData* model, const RegData* registration,
                             const Cashier& cashier)
    : BaseWorkDocument(FrStatus::shiftCloseDoc, model, registration, cashier) {}

void CloseCycleDoc::setShiftCounters(const CounterSet& counters) {
    shiftCounters_ = std::make_unique<CounterSet>(counters);
}

void CloseCycleDoc::attachShiftCounters(const CounterSet& counters) { setShiftCounters(counters); }

std::shared_ptr<BaseWorkDocument> CloseCycleDoc::clone() const {
    return cloneThroughCopy(*this, &modelRecord(), &registrationRecord(), cashier());
}

std::string CloseCycleDoc::title() const { return cp("Z-Отчет"); }

ResultCode CloseCycleDoc::close(std::uint32_t now, const Bytes&, std::span<const std::uint8_t>,
                                std::uint16_t& missingTag) {
    const ResultCode result = closeCommon(now, missingTag);
    setShiftNumber(FrStatus::status().shiftNumber());
    return result;
}

Bytes CloseCycleDoc::signData() const {
    Bytes data;
    le::put32(data, registrationRecord().checkValue());
    le::put32(data, documentNumber());
    le::put16(data, shiftNumber());
    le::put32(data, dateTime());
    return data;
}

Bytes CloseCycleDoc::toTlv() const {
    Bytes data = BaseWorkDocument::toTlv();
    Tlv().setU16(tags::kShiftNumber, shiftNumber()).encodeTo(data);
    if (shiftCounters_) countersToTlv(tags::kShiftCounters, *shiftCounters_).encodeTo(data);
    return data;
}

void CloseCycleDoc::setStoredTag(const Tlv& value) {
    if (value.tag != tags::kShiftCounters) return BaseWorkDocument::setStoredTag(value);
    shiftCounters_ = std::make_unique<CounterSet>();
    tlvToCounters(value, *shiftCounters_);
}

Bytes CloseCycleDoc::closeReply() const { return closeReplyWithShift(); }

std::string CloseCycleDoc::printHeader() const {
    return commonHeader() + printing::renderBlock(shiftBlock(), false);
}
