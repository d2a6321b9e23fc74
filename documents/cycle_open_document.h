#pragma once
// CycleOpenDocument (type 7, "Открытие смены"): opens a shift. It carries
// the new shift's number (the last shift's plus one, taken at open and
// again at close, so a shift closed meanwhile counts) and the cash in the
// drawer at that moment. The close data is ignored.

#include "documents/base_work_document.h"
#include "encoding/decimal.h"

class CycleOpenDocument : public BaseWorkDocument {
  public:
    CycleOpenDocument(const ModelData* model, const RegData* registration, const Cashier& cashier);

    // Scale 100.
    const Decimal& openingCash() const { return openingCash_; }

    std::shared_ptr<BaseWorkDocument> clone() const override;
    std::string title() const override;
    // The base open data, then shiftNumber := current shift + 1 and
    // openingCash := the drawer's cash (device status).
    ResultCode applyOpenData(std::span<const std::uint8_t> openData) override;
    // dateTime := now, shiftNumber := current shift + 1; 37 with 11021
    // without a cashier name.
    ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                     std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) override;
    // 14 bytes: registration check value, shift number, document number,
    // date (u32 u16 u32 u32, LE).
    Bytes signData() const override;
    // Base values, 11038 shift number, 11136 opening cash in kopecks.
    Bytes toTlv() const override;
    void setStoredTag(const Tlv& value) override;
    // The base 12 bytes and the shift number: 14 bytes.
    Bytes closeReply() const override;
    // The common header, then "СМЕНА" and "НАЛ. В КАССЕ" with their values.
    std::string printHeader() const override;
    BaseWorkDocument* copyInto(BaseWorkDocument* other) const override;

  private:
    Decimal openingCash_;
};
