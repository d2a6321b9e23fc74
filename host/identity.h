#pragma once
// The register's state and identity as the link serves them: device status
// (command 48), shift state (16), factory data (49), device key (50) and
// software version (51). Decoders take the answer's data and give nothing
// when it has another size than the register sends.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/bytes.h"

namespace hostkit {

// Device state flags: the bits of DeviceStatus::flags.
enum class DeviceFlag : std::uint16_t {
    ArchiveMounted = 0x0001,
    Fiscalized = 0x0002,  // registered
    ForeignArchive = 0x0004,
    ShiftOpen = 0x0008,
    ArchiveReady = 0x0010,
    ArchiveClosed = 0x0020,
    EepromError = 0x0040,
    PrinterOffline = 0x1000,
    PaperNearEnd = 0x2000,
    PaperOut = 0x4000,
};
// The names of the flags set in `flags`, as "shiftOpen".
std::vector<std::string> deviceFlagNames(std::uint16_t flags);

// Command 48: the factory number (up to 10 characters), then the 21-byte
// device status.
struct DeviceStatus {
    std::string factoryNumber;
    std::uint16_t flags = 0;
    std::uint8_t registrationCount = 0;
    std::uint8_t statusFormat = 0;
    std::uint16_t shiftNumber = 0;
    std::uint32_t lastDocumentNumber = 0;
    std::uint32_t lastDocumentTime = 0;
    std::uint16_t shiftReceipts = 0;
    std::uint8_t openDocumentType = 0;
    std::uint32_t freeDocumentPlaces = 0;

    bool has(DeviceFlag flag) const { return (flags & static_cast<std::uint16_t>(flag)) != 0; }
};
std::optional<DeviceStatus> decodeDeviceStatus(const Bytes& data);

// Command 16: 29 bytes: shift open, shift number, receipts of the shift,
// then the 24-byte shift status.
struct ShiftState {
    bool open = false;
    std::uint16_t shiftNumber = 0;
    std::uint16_t receipts = 0;
    std::uint32_t openDocumentNumber = 0;
    std::uint32_t openTime = 0;
    std::uint32_t closeDocumentNumber = 0;  // while open: the shift's last document
    std::uint32_t closeTime = 0;            // 0 while open
    std::int64_t cashInDrawer = 0;          // kopecks
};
std::optional<ShiftState> decodeShiftState(const Bytes& data);

// Command 49: 44 bytes: model code, factory number (10), model name (32).
struct ModelInfo {
    std::uint16_t modelCode = 0;
    std::string factoryNumber;
    std::string modelName;
};
std::optional<ModelInfo> decodeModel(const Bytes& data);

// Commands 50 and 51: the version, major.minor.patch.
struct Version {
    std::uint8_t major = 0, minor = 0, patch = 0;
    std::string text() const;
};
std::optional<Version> decodeVersion(const Bytes& data);

// Command 50: 27 bytes: the version, 8 bytes of key format, the 16-byte key.
struct KeyInfo {
    Version version;
    Bytes keyFormat;
    Bytes deviceKey;
};
std::optional<KeyInfo> decodeKey(const Bytes& data);

}  // namespace hostkit
