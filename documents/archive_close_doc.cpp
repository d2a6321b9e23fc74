#include "documents/archive_close_doc.h"

#include "documents/counter_tlv.h"
#include "documents/print_text.h"
#include "encoding/tags.h"
#include "state/status.h"

ArchiveCloseDoc::ArchiveCloseDoc(const ModelData* model, const RegData* registration,
                                 const Cashier& cashier)
    : BaseWorkDocument(FrStatus::archiveCloseDoc, model, registration, cashier) {}

void ArchiveCloseDoc::setRegistrationTotals(const CounterSet& totals) {
    registrationTotals_ = std::make_unique<CounterSet>(totals);
}

void ArchiveCloseDoc::setGrossTotals(const GrossCounterSet& totals) {
    grossTotals_ = std::make_unique<GrossCounterSet>(totals);
}

void ArchiveCloseDoc::attachRegistrationTotals(const CounterSet& totals) {
    setRegistrationTotals(totals);
}

void ArchiveCloseDoc::attachGrossTotals(const GrossCounterSet& totals) { setGrossTotals(totals); }

std::shared_ptr<BaseWorkDocument> ArchiveCloseDoc::clone() const {
    return cloneThroughCopy(*this, &modelRecord(), &registrationRecord(), cashier());
}

std::string ArchiveCloseDoc::title() const { return print_text::cp("Отчет о закрытии архива"); }

ResultCode ArchiveCloseDoc::close(std::uint32_t now, const Bytes&, std::span<const std::uint8_t>,
                                  std::uint16_t& missingTag) {
    const ResultCode result = closeCommon(now, missingTag);
    setShiftNumber(FrStatus::status().shiftNumber());
    return result;
}

Bytes ArchiveCloseDoc::signData() const {
    Bytes data;
    le::put32(data, registrationRecord().checkValue());
    le::put32(data, documentNumber());
    le::put32(data, dateTime());
    return data;
}

Bytes ArchiveCloseDoc::toTlv() const {
    Bytes data = BaseWorkDocument::toTlv();
    Tlv().setU16(tags::kShiftNumber, shiftNumber()).encodeTo(data);
    if (registrationTotals_)
        countersToTlv(tags::kRegistrationPeriodCounters, *registrationTotals_).encodeTo(data);
    if (grossTotals_) countersToTlv(*grossTotals_).encodeTo(data);
    return data;
}

void ArchiveCloseDoc::setStoredTag(const Tlv& value) {
    if (value.tag == tags::kRegistrationPeriodCounters) {
        registrationTotals_ = std::make_unique<CounterSet>();
        tlvToCounters(value, *registrationTotals_);
    } else if (value.tag == tags::kGrossCounters) {
        grossTotals_ = std::make_unique<GrossCounterSet>();
        tlvToCounters(value, *grossTotals_);
    } else {
        BaseWorkDocument::setStoredTag(value);
    }
}
