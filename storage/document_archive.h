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
// (platform/files.h). A store describes all its writes (archive, internal
// storage, EEPROM) in one StoreUnit, which the store journal beside the
// archive makes durable before any of them is made: a store takes effect
// whole or not at all, whatever happens to the power or the card.
//
// Used only from the core thread; it takes no lock of its own. Status
// fields are written through the device status, under the status lock.

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/result_code.h"
#include "state/status.h"
#include "storage/records.h"
#include "storage/store_journal.h"
#include "storage/store_unit.h"
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

    // Start-up: finishes a store that a power cut interrupted (the journal),
    // then checks an existing archive (magics, identifier, the model and
    // registration records against the device's, which may set
    // foreignArchive or fiscalized, or clear archiveReady), or creates a new
    // one whose base number and opening totals come from a complete internal
    // storage (none while its lock says it is incomplete, none from sums
    // that could not be read). True when the archive is fit to use.
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
    // Documents that still fit: the card's room (remainingCapacity) and the
    // slots this archive has left, whichever is fewer.
    std::uint32_t freePlaces();

    // Stores a finished document: numbers it, has it sign and serialise
    // itself, writes its data and header and does the bookkeeping of its
    // type (for a registration, the EEPROM's registration record and the
    // device's current one too). 0, or 3 (no document fit to store), 4 (not
    // serialisable), 5 (a read or write failed, or no slot is left) or 7
    // (data too long). Whatever the answer, either everything was stored or
    // nothing was, so a retry stores the document once. Where the card
    // failed so that neither can be told apart before the next start,
    // archiveReady is cleared and 5 answered; start-up finishes the store.
    ResultCode storeDocument(const std::shared_ptr<StoredDocument>& document,
                             FrStatus::Store& status = FrStatus::status());

    // Brings the internal storage in line with the archive at start-up, by
    // the lock-file protocol: an interrupted formation starts again from an
    // empty file (a file that cannot be removed is not accepted). A file
    // that is there is checked against the archive's closing documents: the
    // records from the first one that differs are made again (records of
    // earlier archives, numbered up to the base, stay). True when the
    // internal storage is complete.
    bool formInternalStorage();

    // Fills the shift state of the device status from the archive (or, for
    // an archive that has seen no shift, from the internal storage).
    void restoreStatus(FrStatus::Store& status = FrStatus::status());

    // The headers of documents first ... first + count - 1, read in large
    // sequential pieces; with `keep`, only those whose type it keeps. False
    // when any could not be read.
    bool readHeaders(std::uint32_t first, std::uint32_t count, std::vector<DocDescriptor>& out,
                     bool (*keep)(std::uint8_t type) = nullptr);

  private:
    // Reads see the pending writes of a store being described.
    bool readAt(std::uint64_t offset, std::size_t n, Bytes& out);
    // The same into a buffer the caller keeps from read to read.
    bool readInto(std::uint64_t offset, std::uint8_t* p, std::size_t n);
    // During a store, adds to its unit; otherwise writes and flushes.
    bool writeAt(std::uint64_t offset, const Bytes& bytes);
    bool readHeaderAt(std::uint64_t offset, DocDescriptor& out);
    bool writeHeaderAt(std::uint64_t offset, const DocDescriptor& header);
    // The slot offset of a document number; 0 when outside this archive.
    std::uint64_t slotOffset(std::uint32_t number);
    bool fillDocument(const DocDescriptor& header, StoredDocument& document);

    bool checkExisting(FrStatus::Store& status);
    bool create();
    bool recoverJournal();
    std::uint32_t identifier();

    // Describes every write of the store into `unit`; a read that fails, or
    // a document that cannot be stored, answers before anything is written.
    ResultCode describeStore(StoredDocument& document, StoreUnit& unit);
    bool describeInternalStorageRecord(const DocDescriptor& header, const CounterSet* counters,
                                       StoreUnit& unit);
    // The internal storage's records checked and made again from the
    // archive where they differ.
    bool bringStorageInLine();
    bool closingHeaders(std::vector<DocDescriptor>& out);
    bool appendStorageRecords(const std::vector<DocDescriptor>& headers);

    // Bookkeeping of storeDocument, by type; false when a read or write failed.
    bool recordRegistration(const StoredDocument& document, const DocDescriptor& header);
    bool recordShiftOpen(const StoredDocument& document, const DocDescriptor& header);
    bool updateForCashDocument(const StoredDocument& document);
    bool updateForReceipt(const StoredDocument& document);
    bool resetCounters(Counters which, std::uint16_t shiftField);

    std::string path_;
    DocumentFactory factory_;
    std::FILE* file_ = nullptr;
    std::uint32_t baseNumber_ = 0;
    bool baseNumberRead_ = false;
    std::uint32_t identifier_ = 0;  // 0 until read
    StoreJournal journal_;
    StoreUnit* unit_ = nullptr;  // the store being described
};

// Fills `document` from its stored header and the `n` bytes of its data (the
// type byte, then tagged values); false when a value runs past the end.
bool fillFromData(const DocDescriptor& header, const std::uint8_t* data, std::size_t n,
                  StoredDocument& document);

// Documents that still fit on the card: 8/10 of its available bytes divided
// by 32 768, at most 250 000.
std::uint32_t remainingCapacity();
