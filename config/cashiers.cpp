#include "config/cashiers.h"

#include "common/cp866.h"
#include "config/record_file.h"
#include "common/record_text.h"

namespace {

constexpr const char* kCashiersPath = "/nv/CASHIERS";

std::uint64_t offsetOf(std::uint8_t number) { return recordfile::offsetOf(number, Cashier::kSize); }

// The fields of a record, whatever its number.
Cashier fieldsOf(const Bytes& record) {
    Cashier c;
    c.number = record[0];
    c.rights = le::u16(&record[1]);
    c.password = le::u32(&record[3]);
    // Byte 262 is always 0, so the name ends within 255 bytes.
    c.name = record_text::read(&record[7], Cashier::kMaxName);
    return c;
}

}  // namespace

bool Cashier::usable() const {
    return validRecordNumber(number) && password != 0 && rights != 0 && !name.empty();
}

Bytes encodeCashier(const Cashier& c) {
    Bytes record(Cashier::kSize, 0);
    record[0] = c.number;
    le::store16(&record[1], c.rights);
    le::store32(&record[3], c.password);
    record_text::write(&record[7], Cashier::kMaxName,
                       std::string_view(c.name).substr(0, Cashier::kMaxName));
    return record;
}

std::optional<Cashier> decodeCashier(const Bytes& record) {
    if (record.size() != Cashier::kSize || !validRecordNumber(record[0])) return std::nullopt;
    return fieldsOf(record);
}

void CashierTable::prepareCashiers() {
    MutexLock lock(mutex_);
    Bytes content = recordfile::numberedRecords(Cashier::kSize, kTableEntries);
    Cashier service;
    service.number = kServiceCashier;
    service.rights = kAllRights;
    service.password = kFactoryServicePassword;
    service.name = cp866::fromUtf8("ЦТО");
    const Bytes record = encodeCashier(service);
    std::copy(record.begin(), record.end(), content.begin() + offsetOf(kServiceCashier));
    recordfile::ensureWhole(kCashiersPath, Cashier::kSize, content);
}

std::optional<Cashier> CashierTable::readLocked(std::uint8_t number) {
    if (!validRecordNumber(number)) return std::nullopt;
    Bytes record;
    if (!recordfile::readRecord(kCashiersPath, offsetOf(number), Cashier::kSize, record))
        return std::nullopt;
    record[0] = number;
    return fieldsOf(record);
}

std::optional<Cashier> CashierTable::readCashier(std::uint8_t number) {
    MutexLock lock(mutex_);
    return readLocked(number);
}

bool CashierTable::authoriseCashier(std::uint8_t number, std::uint32_t password, Cashier& out) {
    MutexLock lock(mutex_);
    auto it = map_.find(number);
    if (it == map_.end()) {
        std::optional<Cashier> stored = readLocked(number);
        if (!stored) return false;
        it = map_.emplace(number, *stored).first;
    }
    out = it->second;
    return out.password == password && out.usable();
}

bool CashierTable::writeCashier(const Cashier& c) {
    MutexLock lock(mutex_);
    if (!validRecordNumber(c.number)) return false;
    if (!recordfile::writeRecord(kCashiersPath, offsetOf(c.number), encodeCashier(c))) return false;
    map_[c.number] = fieldsOf(encodeCashier(c));  // as the file now holds it
    return true;
}

void CashierTable::reset() {
    MutexLock lock(mutex_);
    map_.clear();
}

CashierTable& CashierTable::process() {
    static CashierTable* table = new CashierTable();  // lives until exit
    return *table;
}
