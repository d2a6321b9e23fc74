#include "state/status.h"

namespace FrStatus {

Bytes StatusStruct::encode() const {
    Bytes b;
    b.reserve(kSize);
    le::put16(b, flags);
    le::put8(b, registrationCount);
    le::put8(b, statusFormat);
    le::put16(b, shiftNumber);
    le::put32(b, lastDocumentNumber);
    le::put32(b, lastDocumentTime);
    le::put16(b, shiftReceipts);
    le::put8(b, openDocumentType);
    le::put32(b, freeDocumentPlaces);
    return b;
}

StatusStruct StatusStruct::decode(const std::uint8_t* p) {
    le::Reader r(p, kSize);
    StatusStruct s;
    s.flags = r.u16();
    s.registrationCount = r.u8();
    s.statusFormat = r.u8();
    s.shiftNumber = r.u16();
    s.lastDocumentNumber = r.u32();
    s.lastDocumentTime = r.u32();
    s.shiftReceipts = r.u16();
    s.openDocumentType = r.u8();
    s.freeDocumentPlaces = r.u32();
    return s;
}

Bytes CycleStatus::encode() const {
    Bytes b;
    b.reserve(kSize);
    le::put32(b, openDocumentNumber);
    le::put32(b, openTime);
    le::put32(b, closeDocumentNumber);
    le::put32(b, closeTime);
    le::put64(b, cashInDrawer);
    return b;
}

CycleStatus CycleStatus::decode(const std::uint8_t* p) {
    le::Reader r(p, kSize);
    CycleStatus c;
    c.openDocumentNumber = r.u32();
    c.openTime = r.u32();
    c.closeDocumentNumber = r.u32();
    c.closeTime = r.u32();
    c.cashInDrawer = r.u64();
    return c;
}

Store::Store()
    : status_(std::make_shared<StatusStruct>()), cycle_(std::make_shared<CycleStatus>()) {
    status_->statusFormat = kStatusFormat;
}

Store& Store::process() {
    static Store* store = new Store();  // lives until exit
    return *store;
}

namespace {
// Made before main so that both threads find the records ready.
[[maybe_unused]] Store& eagerStore = Store::process();
}  // namespace

void Store::resetStatus() {
    MutexLock lock(lock_);
    *status_ = StatusStruct{};
    *cycle_ = CycleStatus{};
    status_->statusFormat = kStatusFormat;
}

void Store::setFlag(std::uint16_t mask, bool on) {
    MutexLock lock(lock_);
    if (on)
        status_->flags |= mask;
    else
        status_->flags &= static_cast<std::uint16_t>(~mask);
}

bool Store::testFlags(std::uint16_t mask) const {
    MutexLock lock(lock_);
    return (status_->flags & mask) != 0;
}

#define OKTA_STATUS_FIELD(record, Type, getter, setter) \
    Type Store::getter() const {                        \
        MutexLock lock(lock_);                          \
        return record->getter;                          \
    }                                                   \
    void Store::setter(Type v) {                        \
        MutexLock lock(lock_);                          \
        record->getter = v;                             \
    }

OKTA_STATUS_FIELD(status_, std::uint16_t, flags, setFlags)
OKTA_STATUS_FIELD(status_, std::uint8_t, registrationCount, setRegistrationCount)
OKTA_STATUS_FIELD(status_, std::uint8_t, statusFormat, setStatusFormat)
OKTA_STATUS_FIELD(status_, std::uint16_t, shiftNumber, setShiftNumber)
OKTA_STATUS_FIELD(status_, std::uint32_t, lastDocumentNumber, setLastDocumentNumber)
OKTA_STATUS_FIELD(status_, std::uint32_t, lastDocumentTime, setLastDocumentTime)
OKTA_STATUS_FIELD(status_, std::uint16_t, shiftReceipts, setShiftReceipts)
OKTA_STATUS_FIELD(status_, std::uint8_t, openDocumentType, setOpenDocumentType)
OKTA_STATUS_FIELD(status_, std::uint32_t, freeDocumentPlaces, setFreeDocumentPlaces)
OKTA_STATUS_FIELD(cycle_, std::uint32_t, openDocumentNumber, setOpenDocumentNumber)
OKTA_STATUS_FIELD(cycle_, std::uint32_t, openTime, setOpenTime)
OKTA_STATUS_FIELD(cycle_, std::uint32_t, closeDocumentNumber, setCloseDocumentNumber)
OKTA_STATUS_FIELD(cycle_, std::uint32_t, closeTime, setCloseTime)
OKTA_STATUS_FIELD(cycle_, std::uint64_t, cashInDrawer, setCashInDrawer)

#undef OKTA_STATUS_FIELD

void Store::snapshot(StatusStruct& status, CycleStatus& cycle, bool setStatusFormat) {
    MutexLock lock(lock_);
    if (setStatusFormat) status_->statusFormat = kStatusFormat;
    status = *status_;
    cycle = *cycle_;
}

ResultCode Store::checkDevice(bool withPrinter) const {
    MutexLock lock(lock_);
    return checkDeviceLocked(withPrinter);
}

ResultCode Store::checkDeviceLocked(bool withPrinter) const {
    const std::uint16_t f = status_->flags;
    if (f & foreignArchive) return ResultCode::ForeignArchive;
    if (!(f & archiveMounted)) return ResultCode::NoArchiveMedium;
    if (!(f & archiveReady)) return ResultCode::ArchiveNotReady;
    if (f & archiveClosed) return ResultCode::ArchiveClosed;
    if (f & eepromError) return ResultCode::EepromError;
    if (!withPrinter) return ResultCode::Success;
    if (f & printerOffline) return ResultCode::PrinterOffline;
    if (f & paperOut) return ResultCode::PaperOut;
    return ResultCode::Success;
}

ResultCode Store::checkDocument(std::uint8_t type, std::int64_t now) const {
    constexpr std::int64_t kShiftMaxAge = 86400;
    MutexLock lock(lock_);
    const StatusStruct& s = *status_;
    const CycleStatus& c = *cycle_;
    const bool open = (s.flags & shiftOpen) != 0;
    const bool shiftTooOld = now - static_cast<std::int64_t>(c.openTime) > kShiftMaxAge;
    switch (type) {
        case registrationDoc:
            if (open) return ResultCode::ShiftOpen;
            if (s.registrationCount >= kMaxRegistrations) return ResultCode::RegistrationLimit;
            if (s.freeDocumentPlaces < 10) return ResultCode::NoRoomForDocuments;
            break;
        case shiftCloseDoc:
            if (!open) return ResultCode::ShiftNotOpen;
            break;
        case receiptDoc:
            if (!open) return ResultCode::ShiftNotOpen;
            if (s.freeDocumentPlaces < 10) return ResultCode::NoRoomForDocuments;
            if (shiftTooOld) return ResultCode::ShiftTooOld;
            if (s.shiftReceipts >= 3000) return ResultCode::ShiftReceiptLimit;
            break;
        case archiveCloseDoc:
            if (open) return ResultCode::ShiftOpen;
            break;
        case cashInDoc:
            if (!open) return ResultCode::ShiftNotOpen;
            if (s.freeDocumentPlaces < 10) return ResultCode::NoRoomForDocuments;
            if (shiftTooOld) return ResultCode::ShiftTooOld;
            break;
        case cashOutDoc:
            if (!open) return ResultCode::ShiftNotOpen;
            if (s.freeDocumentPlaces < 5) return ResultCode::NoRoomForDocuments;
            if (c.cashInDrawer == 0) return ResultCode::DrawerEmpty;
            break;
        case shiftOpenDoc:
            if (open) return ResultCode::ShiftOpen;
            if (s.freeDocumentPlaces < 10) return ResultCode::NoRoomForDocuments;
            break;
        default:
            break;
    }
    return checkDeviceLocked(true);
}

}  // namespace FrStatus
