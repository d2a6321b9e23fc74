#pragma once
// FiscalizationDocument (type 1, "Отчет о фискализации/перерегистрации"):
// the registration report. It registers the register for the first time or
// again: it starts from a fresh registration record, which the host fills
// through it (texts and taxes as data commands, the taxpayer and storage
// numbers with the close command) and which close seals. When it is stored
// the archive makes that record the device's registration. From the second
// registration on it carries the totals since the previous one (11158); a
// copy or clone does not take them.
//
// Nothing is printed when it is opened; after storing, the worker prints
// commonHeader (the new registration's texts), the totals, then the footer.

#include <memory>

#include "documents/base_work_document.h"
#include "storage/records.h"

class FiscalizationDocument : public BaseWorkDocument {
  public:
    // The longest text of the registration the host may give.
    static constexpr std::size_t kMaxText = 255;
    // Close data that carries the numbers: 12 bytes taxpayer number, 16
    // bytes storage number.
    static constexpr std::size_t kNumbersSize = 28;

    // The registration record starts fresh whatever the device holds.
    FiscalizationDocument(const ModelData* model, const Cashier& cashier);

    // The totals since the previous registration; null until attached or
    // restored (and for the first registration).
    const CounterSet* registrationTotals() const { return registrationTotals_.get(); }
    void setRegistrationTotals(const CounterSet& totals);

    void attachRegistrationTotals(const CounterSet& totals) override;
    const CounterSet* carriedCounters() const override { return registrationTotals(); }

    std::shared_ptr<BaseWorkDocument> clone() const override;
    std::string title() const override;
    // Empty: nothing is printed at open.
    std::string printHeader() const override;
    // 11048, 11187, 11009: the first, second, third text (BadTaxContainer,
    // 35, when empty or longer than kMaxText); 13105..13109: the tax of
    // that index (35 when it does not decode, has no name or a kind above 3); 11021 the
    // cashier's name; any other tag 34.
    ResultCode addItem(const Tlv& value, std::string& replyText) override;
    // Close data of exactly kNumbersSize bytes sets the numbers first (they
    // stay set when the close fails). dateTime := now; then 37 with the
    // first missing item: 11021 cashier name, 11018 taxpayer number (12
    // digits, zeros allowed after the tenth), 11037 storage number (16
    // digits, likewise), 11048, 11187, 11009 the texts, 13105 a usable
    // tax. Then the registration time := now and the record is sealed with
    // the serial number and the key: SealedRegistrationInvalid (36) when
    // it is not valid.
    ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                     std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) override;
    // 12 bytes: registration check value, shift number (as u32), date.
    Bytes signData() const override;
    // Base values, the whole registration record's values, then the totals'
    // container 11158 when attached.
    Bytes toTlv() const override;
    void setStoredTag(const Tlv& value) override;

  protected:
    // The registration record was sealed by close: only the model record
    // is checked against the key.
    bool signingRecordsValid(const Bytes& deviceKey, std::string_view serialNumber) const override;

  private:
    std::unique_ptr<CounterSet> registrationTotals_;
};
