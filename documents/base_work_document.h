#pragma once
// BaseWorkDocument: a document that is numbered, signed and stored, and the
// life cycle every document class shares.
//
//   1. made by makeDocument from the open command's type, the device's
//      records and the authorising cashier; applyOpenData takes the open
//      command's data, then printHeader is printed;
//   2. addItem takes one tagged value per data command;
//   3. close takes the time, the device key and the close data; 37 names
//      a missing tag, any other failure leaves the document open;
//   4. the archive stores it: prepareForStorage numbers, signs and
//      serialises it and makes its 64-byte header;
//   5. the documents worker accounts for it and prints printFooter; the
//      close command replies with closeReply.
// A document rebuilt from the archive (restoreHeader, then setStoredTag
// for every stored value) serves printing and reports only.
//
// The operations below are the document's 21 overridable operations; the
// classes in this folder give their own where they differ. Open and close
// data are the bytes of the host's request after the cashier prefix.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "common/result_code.h"
#include "documents/base_document.h"
#include "encoding/tlv.h"
#include "printing/print_layout.h"

class BaseWorkDocument : public BaseDocument {
  public:
    using BaseDocument::BaseDocument;

    // Given when the document is stored.
    std::uint32_t documentNumber() const { return documentNumber_; }
    // The number of the registration document in force when it was stored
    // (a registration document's own number).
    std::uint32_t registrationNumber() const { return registrationNumber_; }

    // A known type, a fiscal sign other than 0, a usable cashier, valid
    // model and registration records and, for a work-document type, a
    // document number and a registration number.
    virtual bool isComplete() const;

    // A new document of the same class with the fields copyInto copies.
    virtual std::shared_ptr<BaseWorkDocument> clone() const = 0;

    // Recomputes the sign as `sign` would and compares it with fiscalSign;
    // false when the records are not valid for the key. Changes nothing.
    virtual bool verifySign(const Bytes& deviceKey, std::string_view serialNumber) const;

    // fiscalSign := CRC-32 over the device key, the serial number text and
    // signData, when the records the sign binds are valid for the key
    // (signingRecordsValid); otherwise false and the sign unchanged.
    virtual bool sign(const Bytes& deviceKey, std::string_view serialNumber);

    virtual std::string title() const = 0;

    // Printer bytes printed when the document is opened: commonHeader.
    virtual std::string printHeader() const;

    // Printer bytes printed after the document is stored, after its body:
    // the registration's "ИНН" and "ФН" lines (when the record is valid),
    // "ДАТА", "ФД" with the model name and serial number, and "ФП" in
    // double size; with `cut`, the paper is fed and cut after the sign.
    virtual std::string printFooter(bool cut) const;

    // Copies the fields documents of this type share into `other` and
    // returns it; null for a null `other`; `other` unchanged when its type
    // differs.
    virtual BaseWorkDocument* copyInto(BaseWorkDocument* other) const;

    // A work-document type with valid model and registration records.
    bool isStorable() const override;

    // shiftNumber := the current shift (device status). A first byte n > 0
    // announces n name bytes that replace the cashier's name for this
    // document: MalformedOpenData (39) when fewer follow. The open
    // operations of the classes take their own leading bytes first and
    // hand the rest to this one.
    virtual ResultCode applyOpenData(std::span<const std::uint8_t> openData);

    // The cashier's name (11021) only; any other tag: TagNotAccepted (34).
    // `replyText` is printed by the worker when the call succeeds.
    virtual ResultCode addItem(const Tlv& value, std::string& replyText);

    // Class-specific; RequiredTagMissing (37) comes with `missingTag`.
    virtual ResultCode close(std::uint32_t now, const Bytes& deviceKey,
                             std::span<const std::uint8_t> closeData,
                             std::uint16_t& missingTag) = 0;

    // 12 bytes: documentNumber, fiscalSign, dateTime (u32 LE each).
    virtual Bytes closeReply() const;
    // 1 byte: the document type.
    virtual Bytes stateReply() const;

    // Restoring one stored value: 11012 (4 or 8 bytes), 11021, 11038 (2),
    // 11040 (4), 11077 (4), 12117 (4); a value of another length sets its
    // field to 0. Any other tag is skipped after the line
    // "setStoredTag UNKNOWN TAG <tag> <length> <hex value>".
    void setStoredTag(const Tlv& value) override;

    // The stored header's bytes 0..15: type, number, date, shift, sign,
    // cashier number; the rest zero.
    virtual DocDescriptor makeDescriptor() const;

    // The type byte, then 11040 number, 12117 registration number, 11021
    // cashier name (first 256 bytes), 11012 date, 11077 sign; the classes
    // append theirs.
    virtual Bytes toTlv() const;

    // The longest data toTlv may give: 4096 bytes.
    virtual std::size_t maxDataSize() const;

    // The bytes the fiscal sign covers.
    virtual Bytes signData() const = 0;

    // Storing: documentNumber and registrationNumber := the archive's,
    // sign (its result not looked at), then incomplete when isComplete is
    // false, tooLong when toTlv exceeds maxDataSize; otherwise the header
    // with the data's length, offset and CRC-16 and the header CRC-16
    // made while bytes 28..31 are zero, the registration number put in
    // after it, and the parts: toTlv, then archiveParts.
    Preparation prepareForStorage(std::uint32_t number, std::uint32_t registrationNumber,
                                  const Bytes& deviceKey, std::uint64_t dataOffset,
                                  PreparedDocument& out) final;

    // Rebuilding: number, date, shift, sign and registration number from
    // the stored header.
    void restoreHeader(const DocDescriptor& header) final;

    // The data parts the archive writes after toTlv, one after another (a
    // receipt's taxes, sections and positions); none by default.
    virtual std::vector<Bytes> archiveParts();

    // The header every document prints: the registration's three texts
    // (when the record is valid), the title centred and bold, "КАССИР" and
    // the cashier's name.
    std::string commonHeader() const;

    // The control tape's short form of a receipt or cash document: the
    // lines printed before and after its body; empty for other documents.
    virtual std::string summaryHead() const;
    virtual std::string summaryTail() const;

  protected:
    // Whether the records the fiscal sign binds are valid for the key: the
    // model record and the registration record, each checked with it.
    virtual bool signingRecordsValid(const Bytes& deviceKey, std::string_view serialNumber) const;

    // What every close does first: dateTime := now, and RequiredTagMissing
    // with 11021 when the cashier's name is empty.
    ResultCode closeCommon(std::uint32_t now, std::uint16_t& missingTag);

    // closeReply followed by shiftNumber (u16 LE): 14 bytes.
    Bytes closeReplyWithShift() const;

    // The header's shift line: "\nСМЕНА\t" and the shift number, left.
    printing::PrintBlock shiftBlock() const;

  private:
    std::uint32_t documentNumber_ = 0;
    std::uint32_t registrationNumber_ = 0;
};

// `other` as a document of class D and of `self`'s type, or null: the
// classes copy their own fields only into such a document.
template <class D>
D* sameKindOf(const BaseWorkDocument& self, BaseWorkDocument* other) {
    auto* same = dynamic_cast<D*>(other);
    return same && same->documentType() == self.documentType() ? same : nullptr;
}

// Makes a document of class D from `args` and copies `source`'s fields into
// it with copyInto: every clone is this.
template <class D, class... Args>
std::shared_ptr<BaseWorkDocument> cloneThroughCopy(const D& source, Args&&... args) {
    auto copy = std::make_shared<D>(std::forward<Args>(args)...);
    source.copyInto(copy.get());
    return copy;
}
