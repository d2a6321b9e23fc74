#include "storage/document_archive.h"

#include <algorithm>

#include "config/identity.h"
#include "device/sdcard.h"
#include "platform/files.h"
#include "storage/archive_layout.h"

namespace al = archive_layout;

namespace {

std::uint64_t countersOffset(DocumentArchive::Counters which) {
    return which == DocumentArchive::Counters::shift ? al::kShiftCounters : al::kRegistrationTotals;
}

template <class Set>
void numberKinds(Set& set) {
    for (std::size_t i = 0; i < set.operations.size(); ++i)
        set.operations[i].kind = static_cast<std::uint8_t>(i);
}

}  // namespace

DocumentArchive::DocumentArchive(std::string path, DocumentFactory factory)
    : path_(std::move(path)), factory_(std::move(factory)), journal_(path_ + ".JNL") {}

DocumentArchive::~DocumentArchive() {
    if (file_) platform::closeFile(file_);
}

bool DocumentArchive::open() {
    if (file_) return true;
    if (!platform::fileExists(path_)) return false;
    file_ = platform::openFile(path_, "r+b");
    return file_ != nullptr;
}

bool DocumentArchive::readAt(std::uint64_t offset, std::size_t n, Bytes& out) {
    out.assign(n, 0);
    return readInto(offset, out.data(), n);
}

bool DocumentArchive::readInto(std::uint64_t offset, std::uint8_t* p, std::size_t n) {
    const bool read = open() && platform::readAt(file_, offset, p, n) == n;
    if (unit_) unit_->overlay(StoreTarget::archive, offset, p, n);
    return read;
}

bool DocumentArchive::writeAt(std::uint64_t offset, const Bytes& bytes) {
    if (unit_) {
        unit_->add(StoreTarget::archive, offset, bytes);
        return true;
    }
    return open() && platform::writeAt(file_, offset, bytes, platform::Durability::flushed);
}

std::uint32_t DocumentArchive::identifier() {
    if (identifier_ == 0) identifier_ = readArchiveIdentifier();
    return identifier_;
}

bool DocumentArchive::readHeaderAt(std::uint64_t offset, DocDescriptor& out) {
    Bytes bytes;
    if (!readAt(offset, DocDescriptor::kSize, bytes)) return false;
    out = DocDescriptor::decode(bytes.data());
    return true;
}

bool DocumentArchive::writeHeaderAt(std::uint64_t offset, const DocDescriptor& header) {
    return writeAt(offset, header.encode());
}

std::uint32_t DocumentArchive::baseNumber() {
    if (!baseNumberRead_) {
        Bytes bytes;
        if (!readAt(al::kBaseNumber, 4, bytes)) return 0;
        baseNumber_ = le::u32(bytes.data());
        baseNumberRead_ = true;
    }
    return baseNumber_;
}

std::uint64_t DocumentArchive::slotOffset(std::uint32_t number) {
    const std::uint32_t base = baseNumber();
    if (number <= base || number - base > archive_limits::kDocumentCapacity) return 0;
    return al::kSlotsOffset + al::kSlotSize * (number - base - 1);
}

bool DocumentArchive::readHeaders(std::uint32_t first, std::uint32_t count,
                                  std::vector<DocDescriptor>& out, bool (*keep)(std::uint8_t type)) {
    // A mebibyte of slots a read: the index goes by in a handful of reads.
    constexpr std::uint32_t kSlotsAPiece = 16'384;
    out.clear();
    if (!keep) out.reserve(count);
    Bytes piece(std::min(count, kSlotsAPiece) * DocDescriptor::kSize);
    while (count > 0) {
        const std::uint32_t n = std::min(count, kSlotsAPiece);
        const std::uint64_t offset = slotOffset(first);
        if (offset == 0 || slotOffset(first + n - 1) == 0) return false;
        if (!readInto(offset, piece.data(), n * DocDescriptor::kSize)) return false;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint8_t* slot = piece.data() + i * DocDescriptor::kSize;
            // The type is a header's first byte: the others are not decoded.
            if (!keep || keep(slot[0])) out.push_back(DocDescriptor::decode(slot));
        }
        first += n;
        count -= n;
    }
    return true;
}

bool DocumentArchive::readHeader(std::uint32_t number, DocDescriptor& out) {
    // Any number within this archive's range: an archive started on a new
    // card numbers on from the internal storage, past 250 000 in time.
    const std::uint64_t offset = slotOffset(number);
    return offset != 0 && readHeaderAt(offset, out);
}

bool DocumentArchive::readLastDocumentHeader(DocDescriptor& out) {
    return readHeaderAt(al::kLastDocumentCopy, out);
}
bool DocumentArchive::readLastRegistrationHeader(DocDescriptor& out) {
    return readHeaderAt(al::kLastRegistrationCopy, out);
}
bool DocumentArchive::readLastShiftOpenHeader(DocDescriptor& out) {
    return readHeaderAt(al::kLastShiftOpenCopy, out);
}
bool DocumentArchive::readLastShiftCloseHeader(DocDescriptor& out) {
    return readHeaderAt(al::kLastShiftCloseCopy, out);
}

bool DocumentArchive::readCounters(Counters which, CounterSet& out) {
    Bytes bytes;
    if (!readAt(countersOffset(which), CounterSet::kSize, bytes)) return false;
    out = CounterSet::decode(bytes.data());
    numberKinds(out);
    return true;
}

bool DocumentArchive::writeCounters(Counters which, const CounterSet& counters) {
    CounterSet numbered = counters;
    numberKinds(numbered);
    return writeAt(countersOffset(which), numbered.encode());
}

bool DocumentArchive::readGrossCounters(GrossCounterSet& out) {
    Bytes bytes;
    if (!readAt(al::kGrossTotals, GrossCounterSet::kSize, bytes)) return false;
    out = GrossCounterSet::decode(bytes.data());
    numberKinds(out);
    return true;
}

bool DocumentArchive::writeGrossCounters(const GrossCounterSet& counters) {
    GrossCounterSet numbered = counters;
    numberKinds(numbered);
    return writeAt(al::kGrossTotals, numbered.encode());
}

bool DocumentArchive::readDepartmentTotals(std::array<DepartmentTotals, 4>& out, int count) {
    if (count < 1 || count > 4) return false;
    Bytes bytes;
    if (!readAt(al::kDepartmentTotals, DepartmentTotals::kSize * count, bytes)) return false;
    for (int i = 0; i < count; ++i)
        out[i] = DepartmentTotals::decode(bytes.data() + DepartmentTotals::kSize * i);
    return true;
}

std::uint32_t DocumentArchive::readArchiveIdentifier() {
    Bytes bytes;
    return readAt(al::kIdentifierOffset, 4, bytes) ? le::u32(bytes.data()) : 0;
}

std::uint8_t DocumentArchive::readRegistrationCount() {
    Bytes bytes;
    return readAt(al::kRegistrationCount, 1, bytes) ? bytes[0] : 0;
}

DocumentArchive::DocumentInfo DocumentArchive::lastDocumentInfo() {
    DocDescriptor last;
    if (!readLastDocumentHeader(last)) return {};
    return {last.number, last.dateTime};
}

bool DocumentArchive::fillDocument(const DocDescriptor& header, StoredDocument& document) {
    Bytes data;
    return readAt(header.dataOffset, header.dataLength, data) &&
           fillFromData(header, data.data(), data.size(), document);
}

bool fillFromData(const DocDescriptor& header, const std::uint8_t* data, std::size_t n,
                  StoredDocument& document) {
    document.restoreHeader(header);
    // The type byte, then tagged values: tag, length, value.
    std::size_t p = 1;
    while (p < n) {
        if (p + Tlv::kHeaderSize > n) return false;
        Tlv value;
        value.tag = le::u16(data + p);
        const std::size_t length = le::u16(data + p + 2);
        if (p + Tlv::kHeaderSize + length > n) return false;
        value.data.assign(data + p + Tlv::kHeaderSize, data + p + Tlv::kHeaderSize + length);
        document.setStoredTag(value);
        p += Tlv::kHeaderSize + length;
    }
    return true;
}

ResultCode DocumentArchive::readDocument(std::uint32_t number,
                                         std::shared_ptr<StoredDocument>& out) {
    DocDescriptor last;
    if (!readLastDocumentHeader(last)) return ResultCode::ArchiveNotReady;
    if (number > last.number) return ResultCode::NotFound;
    DocDescriptor lastRegistration;
    if (!readLastRegistrationHeader(lastRegistration)) return ResultCode::ArchiveNotReady;
    DocDescriptor header;
    if (number == last.number && slotOffset(number) != 0)
        header = last;
    else if (!readHeader(number, header))
        return ResultCode::ArchiveNotReady;

    identity::Store& ids = identity::store();
    const std::shared_ptr<const ModelData> model = ids.factoryData();
    std::shared_ptr<const RegData> registration = ids.registrationData();
    const std::uint32_t r = header.registrationNumber;
    if (r != lastRegistration.number) {
        // A document of an earlier registration prints that registration.
        DocDescriptor registrationHeader;
        if (r == 0 || r > last.number || !readHeader(r, registrationHeader))
            return ResultCode::ArchiveNotReady;
        auto made =
            factory_(registrationHeader.type, *model, RegData(), registrationHeader.cashierNumber);
        if (!made || !fillDocument(registrationHeader, *made)) return ResultCode::ArchiveNotReady;
        if (number == r) {
            out = made;
            return ResultCode::Success;
        }
        registration = std::make_shared<const RegData>(made->registrationRecord());
    }
    auto document = factory_(header.type, *model, *registration, header.cashierNumber);
    if (!document || !fillDocument(header, *document)) return ResultCode::ArchiveNotReady;
    out = document;
    return ResultCode::Success;
}

std::uint32_t DocumentArchive::freePlaces() {
    const std::uint32_t last = lastDocumentInfo().number;
    const std::uint32_t base = baseNumber();
    const std::uint32_t used = last > base ? last - base : 0;
    const std::uint32_t slotsLeft =
        used >= archive_limits::kDocumentCapacity ? 0 : archive_limits::kDocumentCapacity - used;
    return std::min(remainingCapacity(), slotsLeft);
}

std::uint32_t remainingCapacity() { return sdcard::computeFreeDocumentPlaces(); }
