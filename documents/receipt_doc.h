#pragma once
// ReceiptDoc: the cash receipt (type 3): a sale, a purchase, or the return
// of either. Opened with its kind, filled with positions (container 11059)
// and free text lines (12120) one tagged value at a time, closed with the
// cash and non-cash payments; then stored and printed like every document.
//
// The receipt owns its positions, text lines and the section, tax and
// discount records its positions refer to; the records are looked up once
// and kept in the receipt's maps, whose entries never move, so a position's
// references stay good for the receipt's life. A receipt is never copied
// whole: clone and copyInto make deep copies and point the copied positions
// at the copy's own records.
//
// Stored data: the base values, then 11042 receiptNumber, 11020 total,
// 11031 cash, 11081 nonCash, 11019 change (each of these three only above
// 0), 11038 shiftNumber, 11054 receiptKind and one 12118 per usable text
// line; then, as further parts, a tax container (13105 + number - 1) with
// its sum for every tax a position carries, a section container (11300) for every section
// a position carries, and every position's container 11059.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "documents/base_work_document.h"
#include "encoding/additional_line.h"
#include "encoding/decimal.h"
#include "encoding/receipt_operation.h"

class ReceiptDoc : public BaseWorkDocument {
  public:
    // Kinds 0..3 have names; kinds up to 14 are accepted.
    enum Kind : std::uint8_t {
        sale = 0,
        purchase = 1,
        returnOfSale = 2,
        returnOfPurchase = 3,
    };
    static constexpr std::uint8_t kMaxKind = 14;
    static constexpr std::uint8_t kNotOpened = 15;
    // Positions and text lines are refused once the receipt's data would
    // reach this size: the rest of the archive's room is for the tax and
    // section containers.
    static constexpr std::size_t kMaxRunningSize = 24'576;
    // The largest total of a receipt that takes money in, in kopecks.
    static constexpr std::int64_t kMaxIncomeTotal = 100'000'000'000;

    ReceiptDoc(const ModelData* model, const RegData* registration, const Cashier& cashier);
    ReceiptDoc(const ReceiptDoc&) = delete;
    ReceiptDoc& operator=(const ReceiptDoc&) = delete;

    // Kinds 0 (sale) and 3 (return of purchase) bring money into the drawer.
    bool isIncome() const;
    // "ПРОДАЖА", "ПОКУПКА", "ВОЗВРАТ ПРОДАЖИ", "ВОЗВРАТ ПОКУПКИ"; empty for
    // other kinds (CP866).
    std::string kindName() const;

    std::uint8_t kind() const { return receiptKind_; }
    // The bytes the receipt would take in the archive, with room for the
    // payments of its close.
    std::size_t storedDataSize() const;
    std::uint16_t receiptNumber() const { return receiptNumber_; }
    const Decimal& total() const { return total_; }
    const Decimal& cash() const { return cash_; }
    const Decimal& nonCash() const { return nonCash_; }
    const Decimal& change() const { return change_; }
    const std::vector<ReceiptOperation>& positions() const { return positions_; }
    const std::vector<AdditionalLine>& textLines() const { return textLines_; }
    // The sums by tax number and by section number.
    const std::map<std::uint8_t, Decimal>& taxSums() const { return taxSums_; }
    const std::map<std::uint8_t, Decimal>& sectionSums() const { return sectionSums_; }

    std::shared_ptr<BaseWorkDocument> clone() const override;
    // Kinds 0 and 3: "ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК НА ТОВАРЫ (УСЛУГИ)"; 1 and
    // 2: "ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК ВЫДАЧИ СРЕДСТВ"; other kinds: empty.
    std::string title() const override;
    // The base test and a receipt number.
    bool isComplete() const override;

    // Open data: the kind byte, then the base open data. BadReceiptKind
    // (42) without data or for a kind above 14 (kept all the same);
    // NoRight (16) when the cashier lacks 0x0001 (kinds 0, 1) or 0x0010
    // (kinds 2, 3); otherwise the base result. The receipt number is the
    // shift's receipt count (device status) + 1.
    ResultCode applyOpenData(std::span<const std::uint8_t> openData) override;

    // A position (11059) or a text line (12120); the reply text is its
    // printed form. DataTooLong (7) when the receipt would grow too large;
    // for a position: 19 without children, 22 for a child it does not take
    // (after a diagnostic line), 43/44/45 for a section, discount or tax
    // that is not found, PositionInvalid (46) for a position that is not
    // valid or whose amounts would overflow the receipt's sums; any other
    // tag TagNotAccepted (34). A refused value adds nothing to the sums,
    // the positions or the lines (records looked up stay in the maps).
    ResultCode addItem(const Tlv& value, std::string& replyText) override;

    // Close data: cash and non-cash, i64 LE kopecks each. 37 with 11021
    // (no cashier name), 11031 (under 8 bytes), 11081 (not 16 bytes) or
    // 11059 (no positions); 42 for a kind above 14; then the payment
    // checks: both 0 pays the total in cash; 47 below the total; 48 for a
    // negative payment, non-cash above the total, any overpayment of a
    // receipt that pays out, or an income total above kMaxIncomeTotal; 40
    // when a receipt that pays out needs more cash than the drawer holds.
    // An income receipt paid above its total gives change out of the cash.
    ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                     std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) override;

    // 32 bytes: documentNumber, fiscalSign, dateTime (u32), shiftNumber,
    // receiptNumber (u16), total, change (i64 kopecks); all LE.
    Bytes closeReply() const override;
    // 14 bytes: type 3, kind, receiptNumber (u16), number of positions
    // (u16), total (i64 kopecks); all LE.
    Bytes stateReply() const override;

    // The base header, then the kind, " ЧЕК ", the number, "СМЕНА" and the
    // shift number.
    std::string printHeader() const override;
    // "ИТОГО" in double size, the tendered cash, the non-cash payment, the
    // change, the sum of every tax used; then the base footer.
    std::string printFooter(bool cut) const override;
    // The control tape: "КАССИР" with the name, the kind with the receipt
    // and document numbers; then the payments, the taxes and "ДАТА".
    std::string summaryHead() const override;
    std::string summaryTail() const override;

    BaseWorkDocument* copyInto(BaseWorkDocument* other) const override;

    Bytes toTlv() const override;
    // The stored form followed by the registration's check value (u32 LE).
    Bytes signData() const override;
    std::size_t maxDataSize() const override;
    // The taxes with their sums, the sections, then the positions.
    std::vector<Bytes> archiveParts() override;
    // The receipt's own values, the tax and section containers and the
    // positions (linked to the sections and taxes restored before them, or
    // to empty records of their numbers); others as the base.
    void setStoredTag(const Tlv& value) override;

    // The receipt added to the counters after it is stored.
    int receiptKind() const override;
    void accountInto(CounterSet& counters) const override;
    void accountInto(GrossCounterSet& counters) const override;
    void accountInto(DepartmentTotals& totals) const override;

  private:
    ResultCode addPosition(const Tlv& container, std::string& replyText);
    ResultCode addTextLine(const Tlv& value, std::string& replyText);
    ResultCode applyPositionChild(ReceiptOperation& position, const Tlv& child);
    // Lookups through the receipt's maps: a number already there is served
    // from them, otherwise the record is fetched and kept when usable.
    const Section* findSection(std::uint8_t number);
    const Tax* findTax(std::uint8_t number);
    const Discount* findDiscount(std::uint8_t number);
    ResultCode checkPayment();
    // Points every position at this receipt's own records.
    void relinkPositions();
    // The stored containers of a tax and a section its positions carry.
    Bytes taxContainer(std::uint8_t number, const Decimal& sum) const;
    Bytes sectionContainer(std::uint8_t number) const;
    // The tax lines of the footer and the control tape.
    std::vector<std::string> taxLines() const;

    std::uint8_t receiptKind_ = kNotOpened;
    std::uint16_t receiptNumber_ = 0;
    Decimal total_;
    Decimal cash_;  // after closing, the cash kept: tendered less change
    Decimal nonCash_;
    Decimal change_;
    std::vector<ReceiptOperation> positions_;
    std::vector<AdditionalLine> textLines_;
    std::map<std::uint8_t, Section> sections_;
    // Every section and tax looked up, also those a refused position or an
    // overwritten child named; only those in sectionSums_ and taxSums_
    // (those the positions carry) are stored and printed.
    std::map<std::uint8_t, Tax> taxes_;
    std::map<std::uint8_t, Discount> discounts_;
    std::map<std::uint8_t, Decimal> taxSums_;
    std::map<std::uint8_t, Decimal> sectionSums_;
    // The size of the data so far, positions and text lines counted as the
    // host sent them; bounds what may still be added.
    std::size_t runningSize_ = 0;
    // The positions as they are stored.
    std::size_t storedPositionsSize_ = 0;
};
