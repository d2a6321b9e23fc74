#pragma once
// The register's identity: the factory data and the registration data with
// the 16-byte device key, in process-wide memory under one mutex, the
// identity lock, and in the EEPROM at fixed offsets:
//
//   offset  size  content
//        0    48  factory data (ModelData)
//       48   968  registration data (RegData)
//     1016  3064  not used
//     4080    16  device key (device/eeprom.h)
//
// Built with default records and an empty key before main runs, loaded from
// the EEPROM at start-up, changed afterwards only by the factory-number
// command and by a stored registration document.
//
// The lock is held only to copy a pointer or the key, and no other lock is
// taken while it is held (it is never held together with the status lock).
// A change always installs a new record, so a reader that took a pointer
// keeps a record that never changes under it.

#include <memory>

#include "common/bytes.h"
#include "common/thread_annotations.h"
#include "config/model_data.h"
#include "config/reg_data.h"

namespace identity {

constexpr std::uint64_t kFactoryOffset = 0;
constexpr std::uint64_t kRegistrationOffset = 48;

class Store {
  public:
    // Default records, empty key.
    Store();

    std::shared_ptr<const ModelData> factoryData() const;
    std::shared_ptr<const RegData> registrationData() const;

    // Makes a new record with the given content the current one. Records
    // already handed out keep their content.
    void publishFactoryData(const ModelData& record);
    void publishRegistrationData(const RegData& record);

    // A copy of the key: empty until loaded, then 16 bytes.
    Bytes deviceKey() const;
    void setDeviceKey(const Bytes& key);

    // Back to default records and an empty key (for tests).
    void reset();

    // The process's identity state.
    static Store& process();

  private:
    mutable Mutex lock_;
    std::shared_ptr<const ModelData> factory_ GUARDED_BY(lock_);
    std::shared_ptr<const RegData> registration_ GUARDED_BY(lock_);
    Bytes deviceKey_ GUARDED_BY(lock_);
};

inline Store& store() { return Store::process(); }

// Start-up load into `store`: the device key (made and written when the
// EEPROM holds none), then the factory data (0xFF bytes of its model name
// read as zero) and the registration data, each published when it was read
// whole; a record read short stays at its default. True when the key, the
// factory data and the registration data all loaded; the caller then leaves
// eepromError clear. A missing EEPROM loads nothing and gives false.
bool loadIdentity(Store& store = identity::store());

// Writes the record's bytes at its offset and flushes; true when the whole
// record was written and flushed.
bool saveFactoryData(const ModelData& record);
bool saveRegistrationData(const RegData& record);

}  // namespace identity
