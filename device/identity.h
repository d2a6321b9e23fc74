#pragma once
// The register's identity in process-wide memory: the factory data, the
// registration data and the 16-byte device key, under one mutex, the
// identity lock. Built with default records and an empty key before main
// runs, loaded from the EEPROM at start-up, changed afterwards only by the
// factory-number command and by a stored registration document.
//
// The lock is held only to copy a pointer or the key, and no other lock is
// taken while it is held. A change always installs a new record, so a
// reader that took a pointer keeps a record that never changes under it.

#include <memory>
#include <mutex>

#include "common/bytes.h"
#include "config/model_data.h"
#include "config/reg_data.h"

namespace identity {

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
    mutable std::mutex lock_;
    std::shared_ptr<const ModelData> factory_;
    std::shared_ptr<const RegData> registration_;
    Bytes deviceKey_;
};

inline Store& store() { return Store::process(); }

}  // namespace identity
