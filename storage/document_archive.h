#pragma once
// DocumentArchive: every fiscal document the register makes, stored for good
// in one file on the SD card (layout in storage/archive_layout.h), with the
// running counters beside them. It creates and checks the archive at
// start-up, stores documents with all the counter bookkeeping they imply,
// reads headers, documents and counters back, forms the internal storage
// from the archive and restores the device's shift state.
//
// The archive does not know the document classes: it works through the
// StoredDocument interface and rebuilds stored documents with the factory it
// is given. Every read and write of the file goes through the file seam
// (platform/files.h), each write followed by a flush.
//
// Used only from the core thread; it takes no lock of its own. Status
// fields are written through the device status, under the status lock.

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "common/result_code.h"
#include "state/status.h"
#include "storage/records.h"
#include "storage/stored_document.h"

class DocumentArchive {
  public:
    // Which of the two CounterSets of the archive.
    enum class Counters { shift, registrationTotals };

    struct DocumentInfo {
        std::uint32_t number = 0;
        std::uint32_t dateTime = 0;
    };

    // `path` is the archive's board path; `factory` rebuilds stored
    // documents. No file is opened yet.
    DocumentArchive(std::string path, DocumentFactory factory);
    ~DocumentArchive();
    DocumentArchive(const DocumentArchive&) = delete;
    DocumentArchive& operator=(const DocumentArchive&) = delete;

    // Start-up: checks an existing archive (magics, identifier, the model and
    // registration records against the device's, which may set
    // foreignArchive or fiscalized, or clear archiveReady), or creates a new
    // one whose base number and opening totals come from the internal
    // storage. True when the archive is fit to use.
    bool openOrCreate(FrStatus::Store& status = FrStatus::status());

    // Opens the file for update when it exists and is not open yet; true
    // when it is open.
    bool open();

    // The header of document `number` (within this archive's range).
    bool readHeader(std::uint32_t number, DocDescriptor& out);

    // Document `number` rebuilt from its header and data: 0, 5 (unreadable or
    // out of range) or 17 (above the last document).
    ResultCode readDocument(std::uint32_t number, std::shared_ptr<StoredDocument>& out);

    bool readLastDocumentHeader(DocDescriptor& out);
    bool readLastRegistrationHeader(DocDescriptor& out);
    bool readLastShiftOpenHeader(DocDescriptor& out);
    bool readLastShiftCloseHeader(DocDescriptor& out);

    // The counters; the kind byte of each operation entry is forced to its
    // index on reading and on writing.
    bool readCounters(Counters which, CounterSet& out);
    bool writeCounters(Counters which, const CounterSet& counters);
    bool readGrossCounters(GrossCounterSet& out);
    bool writeGrossCounters(const GrossCounterSet& counters);

    // The first `count` (1 ... 4) department blocks, in the order sale,
    // purchase, return of sale, return of purchase.
    bool readDepartmentTotals(std::array<DepartmentTotals, 4>& out, int count = 4);

    // The identifier at offset 4; 0 when it cannot be read.
    std::uint32_t readArchiveIdentifier();
    // The registrations in this archive; 0 when it cannot be read.
    std::uint8_t readRegistrationCount();
    // The number of the last document before this archive (read once).
    std::uint32_t baseNumber();
    // Number and date of the last document; both 0 when unreadable.
    DocumentInfo lastDocumentInfo();

    // Stores a finished document: numbers it, has it sign and serialise
    // itself, writes its data and header and does the bookkeeping of its
    // type. 0, or 3 (no document fit to store), 4 (not serialisable), 5 (a
    // read or write failed) or 7 (data too long). On 3, 4, 7 and on a failed
    // data write nothing is written, so the next store reuses the number
    // and the offset.
    ResultCode storeDocument(const std::shared_ptr<StoredDocument>& document,
                             FrStatus::Store& status = FrStatus::status());

    // Brings the internal storage in line with the archive at start-up, by
    // the lock-file protocol: an interrupted formation starts again from an
    // empty file; a complete file is kept. True when the internal storage is
    // complete.
    bool formInternalStorage();

    // Fills the shift state of the device status from the archive (or, for
    // an archive that has seen no shift, from the internal storage).
    void restoreStatus(FrStatus::Store& status = FrStatus::status());

  private:
    bool readAt(std::uint64_t offset, std::size_t n, Bytes& out);
    bool writeAt(std::uint64_t offset, const Bytes& bytes);
    bool readHeaderAt(std::uint64_t offset, DocDescriptor& out);
    bool writeHeaderAt(std::uint64_t offset, const DocDescriptor& header);
    // The slot offset of a document number; 0 when outside this archive.
    std::uint64_t slotOffset(std::uint32_t number);
    bool fillDocument(const DocDescriptor& header, StoredDocument& document);

    bool checkExisting(FrStatus::Store& status);
    bool create();

    // Bookkeeping of storeDocument, by type; false when a read or write failed.
    bool recordRegistration(const StoredDocument& document, const DocDescriptor& header,
                            bool slotWritten, FrStatus::Store& status);
    bool recordShiftOpen(const StoredDocument& document, const DocDescriptor& header,
                         bool slotWritten);
    bool updateForCashDocument(const StoredDocument& document);
    bool updateForReceipt(const StoredDocument& document);
    bool resetCounters(Counters which, std::uint16_t shiftField);

    std::string path_;
    DocumentFactory factory_;
    std::FILE* file_ = nullptr;
    std::uint32_t baseNumber_ = 0;
    bool baseNumberRead_ = false;
};

// Documents that still fit on the card: 8/10 of its available bytes divided
// by 32 768, at most 250 000.
std::uint32_t remainingCapacity();
