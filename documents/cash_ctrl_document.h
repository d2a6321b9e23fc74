#pragma once
// CashCtrlDocument: cash put into the drawer (cash in, type 5, "Внесение")
// or taken out of it (cash out, type 6, "Выплата") during an open shift.
// The one amount arrives with the close command; after storing, the
// documents worker moves the drawer's cash by it and the archive adds it
// to the counters.

#include "documents/base_work_document.h"
#include "encoding/decimal.h"

class CashCtrlDocument : public BaseWorkDocument {
  public:
    // The largest cash in, in kopecks.
    static constexpr std::int64_t kMaxCashIn = 100'000'000'000;

    // `cashIn` set makes a cash in (type 5), clear a cash out (type 6).
    CashCtrlDocument(bool cashIn, const ModelData* model, const RegData* registration,
                     const Cashier& cashier);

    bool isCashIn() const;
    // Scale 100; 0 until the document is closed.
    const Decimal& amount() const { return amount_; }
    std::int64_t cashAmount() const override { return amount_.value(); }

    std::shared_ptr<BaseWorkDocument> clone() const override;
    std::string title() const override;
    // The base test and an amount above 0.
    bool isComplete() const override;
    // The close data is the amount: exactly 8 bytes, signed kopecks (LE).
    // dateTime := now; then 37 with 11021 without a cashier name, 37 with
    // 11031 for data of another length; DrawerEmpty (40) for an amount not
    // above 0 or a cash out above the drawer's cash; CashInTooLarge (41)
    // for a cash in above kMaxCashIn.
    ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                     std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) override;
    // Registration check value, shift number, document number, date (u32
    // u16 u32 u32, LE), then the amount as text.
    Bytes signData() const override;
    // Base values, 11031 amount in kopecks, 11038 shift number.
    Bytes toTlv() const override;
    void setStoredTag(const Tlv& value) override;
    // The base 12 bytes, the shift number and the drawer's cash after this
    // document (i64 LE, device status): 22 bytes.
    Bytes closeReply() const override;
    // The common header, then "СМЕНА" and the shift number.
    std::string printHeader() const override;
    // "НАЛ." and the amount in double size, then the base footer.
    std::string printFooter(bool cut) const override;
    BaseWorkDocument* copyInto(BaseWorkDocument* other) const override;

    // The control tape: the title with "ФД" and the number, "КАССИР" and
    // the name; then "НАЛ." with the amount and "ДАТА" with the date.
    std::string summaryHead() const override;
    std::string summaryTail() const override;

  private:
    Decimal amount_;
};
