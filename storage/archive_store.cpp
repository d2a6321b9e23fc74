// Storing a document: numbering, writing its data and header, and the
// counter bookkeeping of its type.

#include <algorithm>

#include "common/crc.h"
#include "config/identity.h"
#include "device/eeprom.h"
#include "platform/files.h"
#include "storage/archive_layout.h"
#include "storage/document_archive.h"
#include "storage/internal_storage.h"

namespace al = archive_layout;

namespace {

using Counters = DocumentArchive::Counters;

// Writes of a store at most this far apart go to the card as one.
constexpr std::uint64_t kJoinGap = 1024;

bool knownType(std::uint8_t type) {
    return type >= FrStatus::registrationDoc && type <= FrStatus::shiftOpenDoc;
}

// The drawer never goes below zero.
std::uint64_t takeFrom(std::uint64_t drawer, std::uint64_t amount) {
    return drawer - std::min(drawer, amount);
}

void addCashDocument(CounterHead& counters, std::uint64_t* drawer, bool cashIn,
                     std::uint64_t amount) {
    if (cashIn) {
        ++counters.cashInCount;
        counters.cashInAmount += amount;
        if (drawer) *drawer += amount;
    } else {
        ++counters.cashOutCount;
        counters.cashOutAmount += amount;
        if (drawer) *drawer = takeFrom(*drawer, amount);
    }
}

}  // namespace

ResultCode DocumentArchive::storeDocument(const std::shared_ptr<StoredDocument>& document,
                                          FrStatus::Store& status) {
    if (!document || !knownType(document->documentType()) || !document->isStorable())
        return ResultCode::NoDocumentObject;
    if (!open()) return ResultCode::ArchiveNotReady;

    StoreUnit unit;
    unit_ = &unit;
    const ResultCode described = describeStore(*document, unit);
    unit_ = nullptr;
    if (described != ResultCode::Success) return described;
    // The header copies, the records and the counters lie within a few
    // hundred bytes of each other: written as one piece, with the bytes
    // between them as they are.
    unit.joinNearWrites(StoreTarget::archive, kJoinGap,
                        [this](std::uint64_t offset, std::size_t n, Bytes& out) {
                            return readAt(offset, n, out);
                        });

    switch (journal_.commit(unit, identifier(), file_)) {
        case StoreJournal::Outcome::stored:
            break;
        case StoreJournal::Outcome::notStored:
            return ResultCode::ArchiveNotReady;
        case StoreJournal::Outcome::pending:
            // Neither stored nor not: nothing more is stored or read until
            // start-up has finished it from the journal.
            status.setFlag(FrStatus::archiveReady, false);
            return ResultCode::ArchiveNotReady;
    }
    if (document->documentType() == FrStatus::registrationDoc)
        identity::store().publishRegistrationData(document->registrationRecord());
    return ResultCode::Success;
}

ResultCode DocumentArchive::describeStore(StoredDocument& document, StoreUnit& unit) {
    const std::uint8_t type = document.documentType();

    // The next number and the end of the data area, from the last document.
    DocDescriptor last;
    if (!readLastDocumentHeader(last)) return ResultCode::ArchiveNotReady;
    std::uint32_t number = 0;
    std::uint64_t offset = al::kDataArea;
    if (last.number != 0 || last.dataLength != 0 || last.shiftNumber != 0 || last.dataOffset != 0) {
        number = last.number + 1;
        offset = last.dataOffset + last.dataLength;
    } else {
        Bytes base;
        if (!readAt(al::kBaseNumber, 4, base)) return ResultCode::ArchiveNotReady;
        number = le::u32(base.data()) + 1;
    }
    // A full archive has no slot for the next number.
    const std::uint64_t slot = slotOffset(number);
    if (slot == 0) return ResultCode::ArchiveNotReady;

    std::uint32_t registrationNumber = number;
    if (type != FrStatus::registrationDoc) {
        DocDescriptor lastRegistration;
        if (!readLastRegistrationHeader(lastRegistration)) return ResultCode::ArchiveNotReady;
        registrationNumber = lastRegistration.number;
    }

    // A closing document carries the counters it closes.
    CounterSet counters;
    GrossCounterSet gross;
    if (type == FrStatus::shiftCloseDoc) {
        if (!readCounters(Counters::shift, counters)) return ResultCode::ArchiveNotReady;
        document.attachShiftCounters(counters);
    } else if (type == FrStatus::archiveCloseDoc ||
               (type == FrStatus::registrationDoc && number >= 2)) {
        if (!readCounters(Counters::registrationTotals, counters))
            return ResultCode::ArchiveNotReady;
        document.attachRegistrationTotals(counters);
        if (type == FrStatus::archiveCloseDoc) {
            if (!readGrossCounters(gross)) return ResultCode::ArchiveNotReady;
            document.attachGrossTotals(gross);
        }
    }

    PreparedDocument prepared;
    switch (document.prepareForStorage(number, registrationNumber, identity::store().deviceKey(),
                                       offset, prepared)) {
        case Preparation::ready:
            break;
        case Preparation::incomplete:
            return ResultCode::SerialiseFailed;
        case Preparation::tooLong:
            return ResultCode::DataTooLong;
    }

    // The data, part after part; a receipt's positions follow its own data.
    const std::size_t limit = type == FrStatus::receiptDoc ? archive_limits::kMaxReceiptDataBytes
                                                           : archive_limits::kMaxDocumentDataBytes;
    std::size_t total = 0;
    for (const Bytes& part : prepared.parts)
        if ((total += part.size()) > limit) return ResultCode::DataTooLong;
    total = 0;
    std::uint16_t dataCrc = crc::kCrc16Init;
    for (const Bytes& part : prepared.parts) {
        writeAt(offset + total, part);
        dataCrc = crc::crc16Update(dataCrc, part.data(), part.size());
        total += part.size();
    }
    // The check values cover what was written: all parts, and the header
    // with its final data length.
    DocDescriptor& header = prepared.header;
    header.dataLength = static_cast<std::uint16_t>(total);
    header.dataCrc = dataCrc;
    header.headerCrc = header.computeHeaderCrc();

    writeHeaderAt(slot, header);
    bool described = true;
    switch (type) {
        case FrStatus::registrationDoc:
            described = recordRegistration(document, header);
            break;
        case FrStatus::shiftOpenDoc:
            described = recordShiftOpen(document, header);
            break;
        case FrStatus::shiftCloseDoc:
            writeHeaderAt(al::kLastShiftCloseCopy, header);
            break;
        case FrStatus::cashInDoc:
        case FrStatus::cashOutDoc:
            described = updateForCashDocument(document);
            break;
        case FrStatus::receiptDoc:
            described = updateForReceipt(document);
            break;
        case FrStatus::archiveCloseDoc:
            break;
    }
    // A closing document is recorded in the internal storage in the same
    // unit, so that the storage never misses one nor holds one twice.
    if (described && (type == FrStatus::registrationDoc || type == FrStatus::shiftCloseDoc ||
                      type == FrStatus::archiveCloseDoc))
        described = describeInternalStorageRecord(header, document.carriedCounters(), unit);
    if (!described) return ResultCode::ArchiveNotReady;
    writeHeaderAt(al::kLastDocumentCopy, header);
    return ResultCode::Success;
}

bool DocumentArchive::describeInternalStorageRecord(const DocDescriptor& header,
                                                    const CounterSet* counters, StoreUnit& unit) {
    Bytes record;
    const std::int64_t end = internal_storage::appendOffset();
    if (end < 0 || !internal_storage::encodeRecord(header, counters, record)) return false;
    unit.add(StoreTarget::internalStorage, static_cast<std::uint64_t>(end), record);
    return true;
}

bool DocumentArchive::resetCounters(Counters which, std::uint16_t shiftField) {
    CounterSet counters;
    if (!readCounters(which, counters)) return false;
    CounterSet reset;
    reset.cashInDrawer = counters.cashInDrawer;  // the drawer carries over
    reset.shiftField = shiftField;
    return writeCounters(which, reset);
}

bool DocumentArchive::recordRegistration(const StoredDocument& document,
                                         const DocDescriptor& header) {
    writeHeaderAt(al::kLastRegistrationCopy, header);
    writeAt(al::kModelRecord, document.modelRecord().encode());
    writeAt(al::kRegistrationRecord, document.registrationRecord().encode());
    // The list has room for the registrations the device allows and never
    // grows past it.
    Bytes countByte;
    if (!readAt(al::kRegistrationCount, 1, countByte)) return false;
    const std::uint8_t count = countByte[0];
    if (count < archive_limits::kRegistrationListCapacity) {
        writeAt(al::kRegistrationCount, Bytes{static_cast<std::uint8_t>(count + 1)});
        Bytes entry;
        le::put32(entry, header.number);
        writeAt(al::kRegistrationList + 4ull * count, entry);
    }
    // The EEPROM's registration record goes with the archive's: a start-up
    // that found them apart would reject the archive. Without an EEPROM
    // nothing is stored.
    if (!platform::fileExists(eeprom::kPath)) return false;
    unit_->add(StoreTarget::eeprom, identity::kRegistrationOffset,
               document.registrationRecord().encode());
    return resetCounters(Counters::registrationTotals, 0);
}

bool DocumentArchive::recordShiftOpen(const StoredDocument& document,
                                      const DocDescriptor& header) {
    writeHeaderAt(al::kLastShiftOpenCopy, header);
    const std::uint16_t shift = document.shiftNumber();
    if (!resetCounters(Counters::shift, shift)) return false;
    // Shifts opened since the registration, and the gross set's last shift.
    Bytes opened;
    if (!readAt(al::kRegistrationTotals, 2, opened)) return false;
    Bytes next;
    le::put16(next, static_cast<std::uint16_t>(le::u16(opened.data()) + 1));
    writeAt(al::kRegistrationTotals, next);
    Bytes shiftBytes;
    le::put16(shiftBytes, shift);
    writeAt(al::kGrossTotals, shiftBytes);
    writeAt(al::kDepartmentTotals, Bytes(4 * DepartmentTotals::kSize, 0));
    return true;
}

bool DocumentArchive::updateForCashDocument(const StoredDocument& document) {
    const bool cashIn = document.documentType() == FrStatus::cashInDoc;
    std::uint64_t amount =
        static_cast<std::uint64_t>(std::max<std::int64_t>(0, document.cashAmount()));
    for (Counters which : {Counters::shift, Counters::registrationTotals}) {
        CounterSet counters;
        if (!readCounters(which, counters)) return false;
        // No more is paid out than the drawer holds; that amount counts
        // everywhere from here on.
        if (!cashIn && which == Counters::shift) amount = std::min(amount, counters.cashInDrawer);
        addCashDocument(counters, &counters.cashInDrawer, cashIn, amount);
        if (!writeCounters(which, counters)) return false;
    }
    GrossCounterSet gross;
    if (!readGrossCounters(gross)) return false;
    addCashDocument(gross, nullptr, cashIn, amount);
    return writeGrossCounters(gross);
}

bool DocumentArchive::updateForReceipt(const StoredDocument& document) {
    for (Counters which : {Counters::shift, Counters::registrationTotals}) {
        CounterSet counters;
        if (!readCounters(which, counters)) return false;
        document.accountInto(counters);
        if (!writeCounters(which, counters)) return false;
    }
    GrossCounterSet gross;
    if (!readGrossCounters(gross)) return false;
    document.accountInto(gross);
    if (!writeGrossCounters(gross)) return false;

    const int kind = document.receiptKind();
    if (kind < 0 || kind >= static_cast<int>(kOperationKinds)) return true;
    const std::uint64_t blockOffset = al::kDepartmentTotals + DepartmentTotals::kSize * kind;
    Bytes block;
    if (!readAt(blockOffset, DepartmentTotals::kSize, block)) return true;
    DepartmentTotals departments = DepartmentTotals::decode(block.data());
    document.accountInto(departments);
    return writeAt(blockOffset, departments.encode());
}
