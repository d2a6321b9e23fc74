#include "config/identity.h"

#include <algorithm>

#include "device/eeprom.h"

namespace identity {

Store::Store() { reset(); }

std::shared_ptr<const ModelData> Store::factoryData() const {
    MutexLock lock(lock_);
    return factory_;
}

std::shared_ptr<const RegData> Store::registrationData() const {
    MutexLock lock(lock_);
    return registration_;
}

void Store::publishFactoryData(const ModelData& record) {
    auto fresh = std::make_shared<const ModelData>(record);
    MutexLock lock(lock_);
    factory_ = std::move(fresh);
}

void Store::publishRegistrationData(const RegData& record) {
    auto fresh = std::make_shared<const RegData>(record);
    MutexLock lock(lock_);
    registration_ = std::move(fresh);
}

Bytes Store::deviceKey() const {
    MutexLock lock(lock_);
    return deviceKey_;
}

void Store::setDeviceKey(const Bytes& key) {
    MutexLock lock(lock_);
    deviceKey_ = key;
}

void Store::reset() {
    auto factory = std::make_shared<const ModelData>();
    auto registration = std::make_shared<const RegData>();
    MutexLock lock(lock_);
    factory_ = std::move(factory);
    registration_ = std::move(registration);
    deviceKey_.clear();
}

Store& Store::process() {
    static Store* store = new Store();  // lives until exit
    return *store;
}

namespace {
// Made before main so that both threads find the records ready.
[[maybe_unused]] Store& eagerStore = Store::process();

bool loadFactoryData(eeprom::Image& image, Store& store) {
    Bytes bytes;
    if (!image.read(kFactoryOffset, ModelData::kSize, bytes)) return false;
    // An erased model name reads as empty.
    auto name = bytes.begin() + ModelData::kNameOffset;
    std::replace(name, name + ModelData::kNameSize, std::uint8_t{0xFF}, std::uint8_t{0});
    store.publishFactoryData(ModelData::decode(bytes.data()));
    return true;
}

bool loadRegistrationData(eeprom::Image& image, Store& store) {
    Bytes bytes;
    if (!image.read(kRegistrationOffset, RegData::kSize, bytes)) return false;
    store.publishRegistrationData(RegData::decode(bytes.data()));
    return true;
}
}  // namespace

bool loadIdentity(Store& store) {
    eeprom::Image image;
    if (!image) return false;
    Bytes key;
    const bool keyLoaded = eeprom::loadDeviceKey(image, key);
    if (keyLoaded) store.setDeviceKey(key);
    const bool factoryLoaded = loadFactoryData(image, store);
    const bool registrationLoaded = loadRegistrationData(image, store);
    return keyLoaded && factoryLoaded && registrationLoaded;
}

bool saveFactoryData(const ModelData& record) {
    return eeprom::writeRegion(kFactoryOffset, record.encode());
}

bool saveRegistrationData(const RegData& record) {
    return eeprom::writeRegion(kRegistrationOffset, record.encode());
}

}  // namespace identity
