#pragma once
// BaseDocument: the fields every fiscal document has, whatever its kind.
//
//   documentType        u8, 1 ... 7 (documents/document_type.h)
//   modelRecord         the device's ModelData when the document was made
//   registrationRecord  the device's RegData when the document was made (a
//                       registration report holds the one it makes)
//   shiftNumber         u16, the shift the document belongs to
//   dateTime            u32, seconds since 1970, printed in local time
//   fiscalSign          u32, the CRC-32 sign given when it is stored
//   cashier             the authorising cashier; the name is the one the
//                       document prints and stores
//
// The archive reads the type, the records, the shift number and the date
// through the StoredDocument interface; these accessors are those
// functions. Documents carry no lock: the open one is reached only under
// the documents lock, and one handed to the archive or to printing is a
// separate reference or a clone.

#include <cstdint>
#include <string>

#include "config/cashiers.h"
#include "config/model_data.h"
#include "config/reg_data.h"
#include "storage/stored_document.h"

class BaseDocument : public StoredDocument {
  public:
    // Copies the records and the cashier; a missing record (null) is
    // replaced by a fresh one. Shift number, date and sign start at 0.
    BaseDocument(std::uint8_t type, const ModelData* model, const RegData* registration,
                 const Cashier& cashier);

    std::uint8_t documentType() const final { return documentType_; }
    const ModelData& modelRecord() const final { return modelRecord_; }
    const RegData& registrationRecord() const final { return registrationRecord_; }
    std::uint16_t shiftNumber() const final { return shiftNumber_; }
    std::uint32_t dateTime() const final { return dateTime_; }
    std::uint32_t fiscalSign() const { return fiscalSign_; }
    const Cashier& cashier() const { return cashier_; }

    // Sets the number at offset 960 of the document's registration record:
    // before closing, the documents worker gives a record that carries none
    // the archive's identifier.
    void setRegistrationRecordNumber(std::uint32_t number);

  protected:
    void setShiftNumber(std::uint16_t number) { shiftNumber_ = number; }
    void setDateTime(std::uint32_t seconds) { dateTime_ = seconds; }
    void setFiscalSign(std::uint32_t sign) { fiscalSign_ = sign; }
    void setCashierName(std::string name) { cashier_.name = std::move(name); }
    // A registration report fills the record it makes.
    RegData& registrationRecordToFill() { return registrationRecord_; }

    // The fields common to all documents, from `other`.
    void copyBaseFieldsFrom(const BaseDocument& other);

  private:
    std::uint8_t documentType_;
    ModelData modelRecord_;
    RegData registrationRecord_;
    std::uint16_t shiftNumber_ = 0;
    std::uint32_t dateTime_ = 0;
    std::uint32_t fiscalSign_ = 0;
    Cashier cashier_;
};
