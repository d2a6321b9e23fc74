#pragma once
// What the document archive needs of a document. The archive numbers,
// writes, counts and rebuilds documents without knowing their classes: the
// document classes (documents/, above this folder) implement this interface,
// and the archive is given a DocumentFactory that makes an empty document of
// a type, which it fills from the stored header and data.
//
// Storing a document (DocumentArchive::storeDocument):
//   isStorable -> attach...() the counters a closing document carries ->
//   prepareForStorage (number, sign, serialise, header) -> the parts are
//   written one after another -> bookkeeping by type, which reads
//   shiftNumber, the records, cashAmount, the receipt's accountInto and
//   carriedCounters.
// Rebuilding a document (DocumentArchive::readDocument):
//   factory(type, model, registration, cashier number) -> restoreHeader ->
//   setStoredTag for every stored tagged value, in stored order.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/bytes.h"
#include "config/model_data.h"
#include "config/reg_data.h"
#include "encoding/tlv.h"
#include "storage/records.h"

// A document made ready for the archive: its 64-byte header and its data in
// the parts that are written one after another. Every document but a
// receipt has one part; a receipt's own serialisation is followed by its
// tax containers, its section containers and its positions, one part each.
// The header's data length, data check value and header check value cover
// the first part only; the archive completes them over all parts.
struct PreparedDocument {
    DocDescriptor header;
    std::vector<Bytes> parts;
};

// How prepareForStorage ended.
enum class Preparation {
    ready,       // numbered, signed and serialised into `parts`
    incomplete,  // not complete: no fiscal sign, unusable cashier, invalid records...
    tooLong,     // its own serialisation is longer than the document may be
};

class StoredDocument {
  public:
    virtual ~StoredDocument() = default;

    // The document type byte, 1 ... 7.
    virtual std::uint8_t documentType() const = 0;

    // A work-document type with valid model and registration records.
    virtual bool isStorable() const = 0;

    // Gives the document its number and the registration number, signs it
    // with the device key and serialises it for data at `dataOffset`.
    virtual Preparation prepareForStorage(std::uint32_t number, std::uint32_t registrationNumber,
                                          const Bytes& deviceKey, std::uint64_t dataOffset,
                                          PreparedDocument& out) = 0;

    // The counters the archive hands a closing document before it is
    // serialised: the shift counters to a shift close, the totals since
    // registration to an archive close and (from the second on) to a
    // registration, the gross totals to an archive close. Other documents
    // ignore them.
    virtual void attachShiftCounters(const CounterSet&) {}
    virtual void attachRegistrationTotals(const CounterSet&) {}
    virtual void attachGrossTotals(const GrossCounterSet&) {}

    // The counters a closing document carries into the internal storage:
    // the shift counters of a shift close, the totals of a registration or
    // an archive close; null when it carries none (a first registration).
    virtual const CounterSet* carriedCounters() const { return nullptr; }

    virtual std::uint16_t shiftNumber() const = 0;
    virtual std::uint32_t dateTime() const = 0;
    // The records the document was made with (for a registration document,
    // the registration it makes).
    virtual const ModelData& modelRecord() const = 0;
    virtual const RegData& registrationRecord() const = 0;

    // Cash in and cash out: the amount moved, in kopecks.
    virtual std::int64_t cashAmount() const { return 0; }

    // Receipts: the operation kind (0 sale, 1 purchase, 2 return of sale,
    // 3 return of purchase; -1 for other documents), and the receipt added
    // to a counter set, to the gross set, and to the department block of
    // its kind.
    virtual int receiptKind() const { return -1; }
    virtual void accountInto(CounterSet&) const {}
    virtual void accountInto(GrossCounterSet&) const {}
    virtual void accountInto(DepartmentTotals&) const {}

    // Rebuilding: the number, shift number, registration number, date and
    // time and fiscal sign from the stored header, then every stored tagged
    // value after the type byte, in stored order.
    virtual void restoreHeader(const DocDescriptor& header) = 0;
    virtual void setStoredTag(const Tlv& value) = 0;
};

// Makes an empty document of a type (null for an unknown type) with the
// given records and a cashier record that holds only the cashier's number.
using DocumentFactory = std::function<std::shared_ptr<StoredDocument>(
    std::uint8_t type, const ModelData& model, const RegData& registration,
    std::uint8_t cashierNumber)>;
