#include "device/identity.h"

namespace identity {

Store::Store() { reset(); }

std::shared_ptr<const ModelData> Store::factoryData() const {
    std::lock_guard<std::mutex> lock(lock_);
    return factory_;
}

std::shared_ptr<const RegData> Store::registrationData() const {
    std::lock_guard<std::mutex> lock(lock_);
    return registration_;
}

void Store::publishFactoryData(const ModelData& record) {
    auto fresh = std::make_shared<const ModelData>(record);
    std::lock_guard<std::mutex> lock(lock_);
    factory_ = std::move(fresh);
}

void Store::publishRegistrationData(const RegData& record) {
    auto fresh = std::make_shared<const RegData>(record);
    std::lock_guard<std::mutex> lock(lock_);
    registration_ = std::move(fresh);
}

Bytes Store::deviceKey() const {
    std::lock_guard<std::mutex> lock(lock_);
    return deviceKey_;
}

void Store::setDeviceKey(const Bytes& key) {
    std::lock_guard<std::mutex> lock(lock_);
    deviceKey_ = key;
}

void Store::reset() {
    auto factory = std::make_shared<const ModelData>();
    auto registration = std::make_shared<const RegData>();
    std::lock_guard<std::mutex> lock(lock_);
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
}  // namespace

}  // namespace identity
