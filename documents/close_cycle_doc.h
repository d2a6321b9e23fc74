#pragma once
// CloseCycleDoc (type 2, "Z-Отчет"): closes the current shift. The archive
// attaches the shift's counters just before storing it; they are stored in
// its data (container 11194) and printed, after storing, as the Z report's
// body. The close data is ignored; a copy or clone does not take the
// counters.

#include <memory>

#include "documents/base_work_document.h"
#include "storage/records.h"

class CloseCycleDoc : public BaseWorkDocument {
  public:
    CloseCycleDoc(const ModelData* model, const RegData* registration, const Cashier& cashier);

    // The counters of the shift it closes; null until attached or restored.
    const CounterSet* shiftCounters() const { return shiftCounters_.get(); }
    void setShiftCounters(const CounterSet& counters);

    void attachShiftCounters(const CounterSet& counters) override;
    const CounterSet* carriedCounters() const override { return shiftCounters(); }

    std::shared_ptr<BaseWorkDocument> clone() const override;
    std::string title() const override;
    // dateTime := now, shiftNumber := the current shift; 37 with 11021
    // without a cashier name.
    ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                     std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) override;
    // 14 bytes: registration check value, document number, shift number,
    // date (u32 u32 u16 u32, LE).
    Bytes signData() const override;
    // Base values, 11038 shift number, then the counters' container 11194
    // when they are attached.
    Bytes toTlv() const override;
    void setStoredTag(const Tlv& value) override;
    // The base 12 bytes and the shift number: 14 bytes.
    Bytes closeReply() const override;
    // The common header, then "СМЕНА" and the shift number.
    std::string printHeader() const override;

  private:
    // Serialising writes the kind bytes into the record (they always equal
    // the entries' indices), so a const document may do it.
    std::unique_ptr<CounterSet> shiftCounters_;
};
