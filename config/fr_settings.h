#pragma once
// FrSettings: the device-wide settings record, kept in "/nv/FR_SETTINGS"
// (one byte: roundingMode). The file is not created before the first write;
// until then every reader sees the defaults.
//
// The running program keeps one cached copy, replaced whole on every reload
// or save, under the settings mutex of FrSettingsCache. Every rescaling of a
// Decimal reads the rounding mode through currentFrSettings: this file
// installs it as the decimals' rounding source.

#include <cstdint>
#include <memory>

#include "common/bytes.h"
#include "common/thread_annotations.h"
#include "encoding/decimal.h"

namespace settings {

// roundingMode 1 rounds half to even; any other value rounds half up.
using ::kRoundHalfEven;

struct FrSettings {
    std::uint8_t roundingMode = 0;
};

constexpr const char* kFrSettingsPath = "/nv/FR_SETTINGS";

// Reads byte 0 of the file into `out` (a failed read gives 0). A missing
// file leaves `out` as the caller set it.
void loadFrSettings(std::uint8_t& out);

// Writes the one byte at offset 0 (in place when the file exists, else
// creating it whole), then replaces the cache. False when the byte could not
// be written; the cache then holds what the file holds.
bool saveFrSettings(const FrSettings& record);

// Parameter 1 takes the first value byte; false for any other parameter or
// an empty value.
bool setFrParameter(FrSettings& record, std::uint8_t parameter, const Bytes& value);

// Parameter 1: the one byte roundingMode; any other parameter: empty.
Bytes getFrParameter(const FrSettings& record, std::uint8_t parameter);

// The process-wide cached record and its mutex.
class FrSettingsCache {
  public:
    // Under the mutex: loadFrSettings into `out`, then cache that byte.
    void reload(std::uint8_t& out);
    // Sets `out` to 0; under the mutex, the cached byte, or when nothing is
    // cached yet, the file's byte (cached as reload does).
    void current(std::uint8_t& out);
    // Under the mutex: caches a new record holding `roundingMode`.
    void replace(std::uint8_t roundingMode);
    // Forgets the cached record (tests).
    void reset();

    static FrSettingsCache& process();

  private:
    void reloadLocked(std::uint8_t& out) REQUIRES(mutex_);

    Mutex mutex_;
    std::shared_ptr<const FrSettings> cached_ GUARDED_BY(mutex_);
};

// The process cache's reload and current.
inline void reloadFrSettings(std::uint8_t& out) { FrSettingsCache::process().reload(out); }
inline void currentFrSettings(std::uint8_t& out) { FrSettingsCache::process().current(out); }

}  // namespace settings
