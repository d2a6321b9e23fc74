// Start-up recovery: the internal storage formed from the archive, and the
// shift state of the device status restored from it.

#include "storage/document_archive.h"
#include "storage/internal_storage.h"

bool DocumentArchive::formInternalStorage() {
    namespace is = internal_storage;
    // A lock left behind marks a formation that did not end: start again.
    if (is::lockExists()) is::removeStorage();
    if (is::storageExists()) {
        is::removeLock();
        return true;
    }
    if (!is::createLock()) return false;
    const std::uint32_t last = lastDocumentInfo().number;
    for (std::uint32_t n = baseNumber() + 1; n != 0 && n <= last; ++n) {
        DocDescriptor header;
        if (!readHeader(n, header)) return false;
        if (header.type != FrStatus::registrationDoc && header.type != FrStatus::shiftCloseDoc &&
            header.type != FrStatus::archiveCloseDoc)
            continue;
        std::shared_ptr<StoredDocument> document;
        if (readDocument(n, document) != ResultCode::Success) return false;
        if (!is::appendRecord(header, document->carriedCounters())) return false;
    }
    return is::removeLock();
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
            if (internal_storage::lastShiftCloseHeader(lastClosed) &&
                lastClosed.type == FrStatus::shiftCloseDoc && lastClosed.shiftNumber != 0) {
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
