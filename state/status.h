#pragma once
// The device status: FrStatus::StatusStruct (device state) and
// FrStatus::CycleStatus (the current shift), in process-wide shared memory
// under one lock, the status lock. They are never saved: every start
// rebuilds them from the archive. No other lock is taken while the status
// lock is held; the documents lock, when held, is always taken before it,
// and the identity lock is never held together with it.

#include <cstdint>
#include <memory>

#include "common/bytes.h"
#include "common/result_code.h"
#include "common/thread_annotations.h"

namespace FrStatus {

// State flags, the bits of StatusStruct::flags.
enum Flag : std::uint16_t {
    archiveMounted = 0x0001,
    fiscalized = 0x0002,
    foreignArchive = 0x0004,
    shiftOpen = 0x0008,
    archiveReady = 0x0010,
    archiveClosed = 0x0020,
    eepromError = 0x0040,
    printerOffline = 0x1000,
    paperNearEnd = 0x2000,
    paperOut = 0x4000,
};

constexpr std::uint8_t kStatusFormat = 50;  // the character '2'

// Registrations one archive can record: its list of registration numbers
// has room for exactly this many, so a further registration is refused.
constexpr std::uint8_t kMaxRegistrations = 50;

struct StatusStruct {
    static constexpr std::size_t kSize = 21;
    std::uint16_t flags = 0;
    std::uint8_t registrationCount = 0;
    std::uint8_t statusFormat = 0;
    std::uint16_t shiftNumber = 0;
    std::uint32_t lastDocumentNumber = 0;
    std::uint32_t lastDocumentTime = 0;
    std::uint16_t shiftReceipts = 0;
    std::uint8_t openDocumentType = 0;
    std::uint32_t freeDocumentPlaces = 0;

    Bytes encode() const;
    static StatusStruct decode(const std::uint8_t* p);  // kSize bytes
};

struct CycleStatus {
    static constexpr std::size_t kSize = 24;
    std::uint32_t openDocumentNumber = 0;
    std::uint32_t openTime = 0;
    std::uint32_t closeDocumentNumber = 0;
    std::uint32_t closeTime = 0;
    std::uint64_t cashInDrawer = 0;

    Bytes encode() const;
    static CycleStatus decode(const std::uint8_t* p);  // kSize bytes
};

// Document types, as stored in every document.
enum DocumentType : std::uint8_t {
    registrationDoc = 1,
    shiftCloseDoc = 2,
    receiptDoc = 3,
    archiveCloseDoc = 4,
    cashInDoc = 5,
    cashOutDoc = 6,
    shiftOpenDoc = 7,
};

// The two records and the status lock. Every accessor holds the lock for
// its one field; snapshot() and the checks hold it across the whole copy.
class Store {
  public:
    Store();

    // Both records to zero, then statusFormat to 50.
    void resetStatus();

    void setFlag(std::uint16_t mask, bool on);
    bool testFlags(std::uint16_t mask) const;  // any bit of mask set
    std::uint16_t flags() const;
    void setFlags(std::uint16_t flags);

    std::uint8_t registrationCount() const;
    void setRegistrationCount(std::uint8_t v);
    std::uint8_t statusFormat() const;
    void setStatusFormat(std::uint8_t v);
    std::uint16_t shiftNumber() const;
    void setShiftNumber(std::uint16_t v);
    std::uint32_t lastDocumentNumber() const;
    void setLastDocumentNumber(std::uint32_t v);
    std::uint32_t lastDocumentTime() const;
    void setLastDocumentTime(std::uint32_t v);
    std::uint16_t shiftReceipts() const;
    void setShiftReceipts(std::uint16_t v);
    std::uint8_t openDocumentType() const;
    void setOpenDocumentType(std::uint8_t v);
    std::uint32_t freeDocumentPlaces() const;
    void setFreeDocumentPlaces(std::uint32_t v);

    std::uint32_t openDocumentNumber() const;
    void setOpenDocumentNumber(std::uint32_t v);
    std::uint32_t openTime() const;
    void setOpenTime(std::uint32_t v);
    std::uint32_t closeDocumentNumber() const;
    void setCloseDocumentNumber(std::uint32_t v);
    std::uint32_t closeTime() const;
    void setCloseTime(std::uint32_t v);
    std::uint64_t cashInDrawer() const;
    void setCashInDrawer(std::uint64_t v);

    // Copies of both records taken under one hold of the lock. With
    // `statusFormat` set, byte 3 is written first, in the same hold.
    void snapshot(StatusStruct& status, CycleStatus& cycle, bool setStatusFormat = false);

    // Device check, first match wins: foreign archive 32, not mounted 15,
    // not ready 5, archive closed 31, EEPROM error 25, then (with the
    // printer) printer offline 53, paper out 54; otherwise 0.
    ResultCode checkDevice(bool withPrinter) const;

    // The check for opening a document of `type` at time `now`, ending in
    // checkDevice with the printer. An unknown type is checked as a device.
    ResultCode checkDocument(std::uint8_t type, std::int64_t now) const;

    // The process's status records, zeroed with statusFormat 50 before main.
    static Store& process();

  private:
    ResultCode checkDeviceLocked(bool withPrinter) const REQUIRES(lock_);

    // The status lock: guards both records (the pointers and what they
    // point to).
    mutable Mutex lock_;
    std::shared_ptr<StatusStruct> status_ GUARDED_BY(lock_);
    std::shared_ptr<CycleStatus> cycle_ GUARDED_BY(lock_);
};

inline Store& status() { return Store::process(); }

}  // namespace FrStatus
