// Start-up recovery: the internal storage formed from the archive, and the
// shift state of the device status restored from it.

#include <vector>

#include "config/identity.h"
#include "storage/document_archive.h"
#include "storage/forward_data_reader.h"
#include "storage/internal_storage.h"

namespace {

// The documents that leave a record in the internal storage.
bool isClosing(std::uint8_t type) {
    return type == FrStatus::registrationDoc || type == FrStatus::shiftCloseDoc ||
           type == FrStatus::archiveCloseDoc;
}

}  // namespace

bool DocumentArchive::formInternalStorage() {
    namespace is = internal_storage;
    // A lock left behind marks a formation that did not end: start again.
    // A half-formed file that cannot be removed is not taken as complete.
    if (is::lockExists() && !is::removeStorage()) return false;
    if (is::storageExists()) return bringStorageInLine() && is::removeLock();
    if (!is::createLock()) return false;
    std::vector<DocDescriptor> closing;
    if (!closingHeaders(closing) || !appendStorageRecords(closing)) return false;
    return is::removeLock();
}

bool DocumentArchive::closingHeaders(std::vector<DocDescriptor>& out) {
    out.clear();
    const std::uint32_t base = baseNumber();
    const std::uint32_t last = lastDocumentInfo().number;
    if (last <= base) return true;
    return readHeaders(base + 1, last - base, out, isClosing);
}

bool DocumentArchive::appendStorageRecords(const std::vector<DocDescriptor>& headers) {
    const std::shared_ptr<const ModelData> model = identity::store().factoryData();
    ForwardDataReader data(headers, [this](std::uint64_t offset, std::uint8_t* p, std::size_t n) {
        return readInto(offset, p, n);
    });
    Bytes records, record;
    records.reserve(headers.size() * internal_storage::kRecordSize);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        // A closing document's record takes only the counters it carries,
        // whatever registration it was made under: it is filled from its own
        // header without the lookups of readDocument.
        const DocDescriptor& header = headers[i];
        const auto document = factory_(header.type, *model, RegData(), header.cashierNumber);
        const std::uint8_t* bytes = data.dataOf(i);
        if (!document || !bytes || !fillFromData(header, bytes, header.dataLength, *document) ||
            !internal_storage::encodeRecord(header, document->carriedCounters(), record))
            return false;
        le::putBytes(records, record);
    }
    return records.empty() || internal_storage::appendRecords(records);
}

bool DocumentArchive::bringStorageInLine() {
    namespace is = internal_storage;
    std::vector<DocDescriptor> closing, stored;
    if (!closingHeaders(closing) || !is::readHeaders(stored)) return false;
    // Records of earlier archives (up to the base) lead the file; this
    // archive's closing documents follow, one record each, in order.
    const std::uint32_t base = baseNumber();
    std::size_t earlier = 0;
    while (earlier < stored.size() && stored[earlier].number <= base) ++earlier;
    std::size_t matched = 0;
    while (matched < closing.size() && earlier + matched < stored.size() &&
           stored[earlier + matched] == closing[matched])
        ++matched;
    if (matched == closing.size() && earlier + matched == stored.size()) return true;
    const std::vector<DocDescriptor> missing(closing.begin() + static_cast<std::ptrdiff_t>(matched),
                                             closing.end());
    return is::keepRecords(earlier + matched) && appendStorageRecords(missing);
}

void DocumentArchive::restoreStatus(FrStatus::Store& status) {
    DocDescriptor opened;
    if (readLastShiftOpenHeader(opened)) {
        if (opened.shiftNumber != 0) {
            status.setShiftNumber(opened.shiftNumber);
            status.setOpenDocumentNumber(opened.number);
            status.setOpenTime(opened.dateTime);
            DocDescriptor closed;
            if (readLastShiftCloseHeader(closed)) {
                const bool open = closed.shiftNumber < opened.shiftNumber;
                status.setFlag(FrStatus::shiftOpen, open);
                if (open) {
                    status.setCloseDocumentNumber(lastDocumentInfo().number);
                    status.setCloseTime(0);
                } else {
                    status.setCloseDocumentNumber(closed.number);
                    status.setCloseTime(closed.dateTime);
                }
            }
            CounterSet shift;
            if (readCounters(Counters::shift, shift)) {
                status.setShiftReceipts(static_cast<std::uint16_t>(shift.receiptCount));
                status.setCashInDrawer(shift.cashInDrawer);
            }
        } else {
            // An archive that has seen no shift yet (a new card): the last
            // closed shift comes from the internal storage.
            DocDescriptor lastClosed;
            // Without a shift close in the storage, its first record stands.
            if (internal_storage::lastShiftCloseHeader(lastClosed) &&
                lastClosed.shiftNumber != 0) {
                status.setShiftNumber(lastClosed.shiftNumber);
                status.setOpenDocumentNumber(lastClosed.number);
                status.setOpenTime(lastClosed.dateTime);
                status.setCloseDocumentNumber(lastClosed.number);
                status.setCloseTime(lastClosed.dateTime);
                status.setFlag(FrStatus::shiftOpen, false);
                status.setShiftReceipts(0);
                CounterSet totals;
                if (readCounters(Counters::registrationTotals, totals))
                    status.setCashInDrawer(totals.cashInDrawer);
                return;
            }
        }
    }
    DocDescriptor last;
    if (readLastDocumentHeader(last))
        status.setFlag(FrStatus::archiveClosed, last.type == FrStatus::archiveCloseDoc);
}
