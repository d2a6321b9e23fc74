#pragma once
// ArchiveCloseDoc (type 4, "Отчет о закрытии архива"): ends the use of the
// archive; once it is stored the device refuses every further document.
// The archive attaches the totals since registration (11158) and the
// lifetime totals (11157) before storing it; after storing, the worker
// prints them as its body between the header printed at open and the
// footer. The close data is ignored; a copy or clone does not take the
// totals.

#include <memory>

#include "documents/base_work_document.h"
#include "storage/records.h"

class ArchiveCloseDoc : public BaseWorkDocument {
  public:
    ArchiveCloseDoc(const ModelData* model, const RegData* registration, const Cashier& cashier);

    // Null until attached or restored.
    const CounterSet* registrationTotals() const { return registrationTotals_.get(); }
    void setRegistrationTotals(const CounterSet& totals);
    const GrossCounterSet* grossTotals() const { return grossTotals_.get(); }
    void setGrossTotals(const GrossCounterSet& totals);

    void attachRegistrationTotals(const CounterSet& totals) override;
    void attachGrossTotals(const GrossCounterSet& totals) override;
    const CounterSet* carriedCounters() const override { return registrationTotals(); }

    std::shared_ptr<BaseWorkDocument> clone() const override;
    std::string title() const override;
    // dateTime := now, shiftNumber := the current shift; 37 with 11021
    // without a cashier name.
    ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                     std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) override;
    // 12 bytes: registration check value, document number, date.
    Bytes signData() const override;
    // Base values, 11038 shift number, then the containers 11158 and 11157
    // of the totals that are attached.
    Bytes toTlv() const override;
    void setStoredTag(const Tlv& value) override;

  private:
    std::unique_ptr<CounterSet> registrationTotals_;
    std::unique_ptr<GrossCounterSet> grossTotals_;
};
