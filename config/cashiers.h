#pragma once
// Cashiers: the operators who authorise host commands. Twenty records of
// 263 bytes in "/nv/CASHIERS"; cashier 20 is the service cashier, created
// with every right and the factory service password.
//
// Cashier record (file and host line):
//   0   1    number
//   1   2    rights, little-endian
//   3   4    password, little-endian
//   7   255  name (CP866), zero-padded, cut to 255 bytes
//   262 1    always 0

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "common/bytes.h"
#include "common/thread_annotations.h"
#include "encoding/record_number.h"

// Rights bits.
constexpr std::uint16_t kRightSale = 0x0001;           // sale and purchase receipts, cash, shifts
constexpr std::uint16_t kRightReports = 0x0002;        // reports, cash, shifts
constexpr std::uint16_t kRightSettings = 0x0004;       // device and printer settings, the clock
constexpr std::uint16_t kRightRegistration = 0x0008;   // registration and archive close
constexpr std::uint16_t kRightReturn = 0x0010;         // return receipts, cash, shifts
constexpr std::uint16_t kRightFactory = 0x0020;        // the factory number
constexpr std::uint16_t kRightReferenceData = 0x0080;  // discounts and sections
constexpr std::uint16_t kRightCashiers = 0x0100;       // cashiers
constexpr std::uint16_t kAllRights = 0x03FF;

constexpr std::uint8_t kServiceCashier = 20;
// The password cashier 20 is created with on a new device.
constexpr std::uint32_t kFactoryServicePassword = 271828;

struct Cashier {
    static constexpr std::size_t kSize = 263;
    static constexpr std::size_t kMaxName = 255;

    std::uint8_t number = 0;
    std::uint16_t rights = 0;
    std::string name;  // CP866
    std::uint32_t password = 0;

    // May authorise requests: valid number, password, rights and name.
    bool usable() const;
};

Bytes encodeCashier(const Cashier& c);
// Exactly 263 bytes with a valid number.
std::optional<Cashier> decodeCashier(const Bytes& record);

// The cashier table: the file and the lazily filled map of cashiers looked
// up or written. Every operation holds the table's mutex throughout.
class CashierTable {
  public:
    // Creates "/nv/CASHIERS" whole when it does not exist: records 1..19
    // zero but for their number, record 20 the service cashier. A file
    // shorter than 20 records gets the records it lacks (a diagnostic line
    // says so); existing records are left alone.
    void prepareCashiers();

    // The record from the file (never the map), carrying the asked number.
    std::optional<Cashier> readCashier(std::uint8_t number);

    // The cashier from the map, or from the file (entered in the map whatever
    // it holds). True when found, the password matches and it is usable;
    // `out` holds the stored cashier even on failure.
    bool authoriseCashier(std::uint8_t number, std::uint32_t password, Cashier& out);

    // Writes the record at its offset and flushes; on success the map entry
    // is replaced. True when the whole record was written.
    bool writeCashier(const Cashier& c);

    // Forgets the map (a fresh process, for tests).
    void reset();

    static CashierTable& process();

  private:
    std::optional<Cashier> readLocked(std::uint8_t number) REQUIRES(mutex_);

    // Held for the whole of every operation, file access included.
    Mutex mutex_;
    std::map<std::uint8_t, Cashier> map_ GUARDED_BY(mutex_);
};

inline CashierTable& cashiers() { return CashierTable::process(); }
