#include "config/fr_settings.h"

#include "platform/files.h"

namespace settings {

void loadFrSettings(std::uint8_t& out) {
    if (!platform::fileExists(kFrSettingsPath)) return;
    platform::FileHandle file(kFrSettingsPath, "r+");
    if (!file) return;
    std::uint8_t byte = 0;
    out = std::fread(&byte, 1, 1, file.get()) == 1 ? byte : 0;
}

void saveFrSettings(const FrSettings& record) {
    platform::FileHandle file(kFrSettingsPath, platform::fileExists(kFrSettingsPath) ? "r+" : "w+");
    if (!file) return;
    const bool written = std::fwrite(&record.roundingMode, 1, 1, file.get()) == 1;
    if (file.close() == 0 && written) FrSettingsCache::process().replace(record.roundingMode);
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
    std::lock_guard<std::mutex> lock(mutex_);
    reloadLocked(out);
}

void FrSettingsCache::current(std::uint8_t& out) {
    out = 0;
    std::lock_guard<std::mutex> lock(mutex_);
    if (cached_)
        out = cached_->roundingMode;
    else
        reloadLocked(out);
}

void FrSettingsCache::replace(std::uint8_t roundingMode) {
    std::lock_guard<std::mutex> lock(mutex_);
    cached_ = std::make_shared<const FrSettings>(FrSettings{roundingMode});
}

void FrSettingsCache::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    cached_.reset();
}

FrSettingsCache& FrSettingsCache::process() {
    static FrSettingsCache* cache = new FrSettingsCache();  // lives until exit
    return *cache;
}

}  // namespace settings
