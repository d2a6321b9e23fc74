// Checking an existing archive and creating a new one at start-up.

#include <ctime>

#include "common/crc.h"
#include "config/identity.h"
#include "platform/board.h"
#include "platform/files.h"
#include "storage/archive_layout.h"
#include "storage/document_archive.h"
#include "storage/internal_storage.h"

namespace al = archive_layout;

namespace {

// A new archive's identifier: the date it was made in its top bits
// ((year - 2000) << 25 | month << 21 | day << 16, local time) and a CRC-16
// of the time, one pseudo-random value and the device key below.
std::uint32_t makeArchiveIdentifier() {
    platform::Board& board = platform::board();
    const std::int64_t now = board.now();
    board.seedRandom(static_cast<unsigned>(now));
    const auto random = static_cast<std::uint32_t>(board.randomValue());
    Bytes buffer;
    le::put32(buffer, static_cast<std::uint32_t>(now));
    le::put32(buffer, random);
    le::putBytes(buffer, identity::store().deviceKey());
    const std::uint16_t crc = crc::crc16(buffer);

    const std::time_t t = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto year = static_cast<std::uint32_t>(local.tm_year + 1900 - 2000);
    const auto month = static_cast<std::uint32_t>(local.tm_mon + 1);
    const auto day = static_cast<std::uint32_t>(local.tm_mday);
    return (year << 25) | (month << 21) | (day << 16) | crc;
}

Bytes u32Bytes(std::uint32_t v) {
    Bytes b;
    le::put32(b, v);
    return b;
}

}  // namespace

bool DocumentArchive::openOrCreate(FrStatus::Store& status) {
    if (!platform::fileExists(path_)) return create();
    // A store that a power cut interrupted is finished before the archive
    // is judged: its registration may be half in the archive, half in the
    // EEPROM.
    if (!recoverJournal()) return false;
    return checkExisting(status);
}

bool DocumentArchive::recoverJournal() {
    if (!open()) return false;
    StoreUnit replayed;
    if (!journal_.recover(identifier(), file_, replayed)) return false;
    // The device's registration is the one the finished store saved.
    for (const StoreUnit::Write& w : replayed.writes())
        if (w.target == StoreTarget::eeprom && w.offset == identity::kRegistrationOffset &&
            w.bytes.size() == RegData::kSize)
            identity::store().publishRegistrationData(RegData::decode(w.bytes.data()));
    return true;
}

bool DocumentArchive::checkExisting(FrStatus::Store& status) {
    platform::FileHandle file(path_, "rb");
    if (!file) return false;
    Bytes magic, secondMagic, identifier, model, registration;
    if (!platform::readAt(file.get(), al::kMagicOffset, 4, magic) ||
        le::u32(magic.data()) != al::kMagic)
        return false;
    if (!platform::readAt(file.get(), al::kSecondMagicOffset, 4, secondMagic) ||
        secondMagic != magic)
        return false;
    if (!platform::readAt(file.get(), al::kIdentifierOffset, 4, identifier) ||
        le::u32(identifier.data()) == 0)
        return false;

    identity::Store& ids = identity::store();
    if (!platform::readAt(file.get(), al::kModelRecord, ModelData::kSize, model)) return false;
    const ModelData stored = ModelData::decode(model.data());
    if (!(stored == *ids.factoryData()) && stored.isValid()) {
        status.setFlag(FrStatus::foreignArchive, true);
        return false;
    }
    if (!platform::readAt(file.get(), al::kRegistrationRecord, RegData::kSize, registration))
        return false;
    const RegData storedRegistration = RegData::decode(registration.data());
    if (storedRegistration == *ids.registrationData()) {
        status.setFlag(FrStatus::fiscalized, true);
        return true;
    }
    if (!storedRegistration.isValid()) {
        // Never registered.
        status.setFlag(FrStatus::fiscalized, false);
        return true;
    }
    status.setFlag(FrStatus::archiveReady, false);
    return false;
}

bool DocumentArchive::create() {
    // A replacement card continues the numbering and the totals of the
    // internal storage: only of a complete one (no formation cut short) and
    // only from sums that could be read whole.
    CounterSet totals;
    GrossCounterSet gross;
    std::uint32_t base = 0;
    if (internal_storage::lockExists()) return false;
    if (internal_storage::storageExists()) {
        if (!internal_storage::sumSinceRegistration(totals) ||
            !internal_storage::sumGross(gross))
            return false;
        base = internal_storage::lastRecordNumber();
    }
    for (std::size_t i = 0; i < totals.operations.size(); ++i) {
        totals.operations[i].kind = static_cast<std::uint8_t>(i);
        gross.operations[i].kind = static_cast<std::uint8_t>(i);
    }

    // Written beside the archive's path and renamed over it once whole, so
    // that a power cut while it is made leaves no half archive that every
    // later start would reject.
    const std::string making = path_ + ".new";
    bool written = false;
    {
        platform::FileHandle file(making, "w+b");
        if (!file) return false;
        const auto put = [&](std::uint64_t offset, const Bytes& bytes) {
            return platform::writeAt(file.get(), offset, bytes, platform::Durability::flushed);
        };
        written = put(al::kMagicOffset, u32Bytes(al::kMagic)) &&
                  put(al::kIdentifierOffset, u32Bytes(makeArchiveIdentifier())) &&
                  put(al::kSecondMagicOffset, u32Bytes(al::kMagic)) &&
                  put(al::kBaseNumber, u32Bytes(base)) &&
                  put(al::kRegistrationTotals, totals.encode()) &&
                  put(al::kGrossTotals, gross.encode()) && platform::syncFile(file.get()) &&
                  platform::fileSize(file.get()) == static_cast<std::int64_t>(al::kNewArchiveSize);
        written = file.close() == 0 && written;
    }
    if (!written || !platform::renamePath(making, path_)) {
        platform::removePath(making);
        return false;
    }
    baseNumberRead_ = false;
    identifier_ = 0;
    return true;
}
