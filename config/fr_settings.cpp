#include "config/fr_settings.h"

#include "config/record_file.h"
#include "platform/files.h"

namespace settings {

void loadFrSettings(std::uint8_t& out) {
    if (!platform::fileExists(kFrSettingsPath)) return;
    platform::FileHandle file(kFrSettingsPath, "r+b");
    if (!file) return;
    std::uint8_t byte = 0;
    out = platform::readAt(file.get(), 0, &byte, 1) == 1 ? byte : 0;
}

bool saveFrSettings(const FrSettings& record) {
    if (recordfile::writeFromStart(kFrSettingsPath, {record.roundingMode})) {
        FrSettingsCache::process().replace(record.roundingMode);
        return true;
    }
    // The cache keeps what the file holds.
    std::uint8_t stored = 0;
    reloadFrSettings(stored);
    return false;
}

bool setFrParameter(FrSettings& record, std::uint8_t parameter, const Bytes& value) {
    if (parameter != 1 || value.empty()) return false;
    record.roundingMode = value[0];
    return true;
}

Bytes getFrParameter(const FrSettings& record, std::uint8_t parameter) {
    if (parameter != 1) return {};
    return {record.roundingMode};
}

void FrSettingsCache::reloadLocked(std::uint8_t& out) {
    loadFrSettings(out);
    cached_ = std::make_shared<const FrSettings>(FrSettings{out});
}

void FrSettingsCache::reload(std::uint8_t& out) {
    MutexLock lock(mutex_);
    reloadLocked(out);
}

void FrSettingsCache::current(std::uint8_t& out) {
    out = 0;
    MutexLock lock(mutex_);
    if (cached_)
        out = cached_->roundingMode;
    else
        reloadLocked(out);
}

void FrSettingsCache::replace(std::uint8_t roundingMode) {
    MutexLock lock(mutex_);
    cached_ = std::make_shared<const FrSettings>(FrSettings{roundingMode});
}

void FrSettingsCache::reset() {
    MutexLock lock(mutex_);
    cached_.reset();
}

FrSettingsCache& FrSettingsCache::process() {
    static FrSettingsCache* cache = new FrSettingsCache();  // lives until exit
    return *cache;
}

namespace {
std::uint8_t currentRoundingMode() {
    std::uint8_t mode = 0;
    currentFrSettings(mode);
    return mode;
}

// Every rescale from the start of the process uses the mode of the settings.
[[maybe_unused]] const bool roundingSourceInstalled =
    (setRoundingModeSource(&currentRoundingMode), true);
}  // namespace

}  // namespace settings
