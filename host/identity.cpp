#include "host/identity.h"

#include "common/cp866.h"
#include "common/record_text.h"

namespace hostkit {

namespace {
constexpr std::size_t kStatusSize = 21;
constexpr std::size_t kShiftStateSize = 29;
constexpr std::size_t kModelSize = 44;
constexpr std::size_t kKeySize = 27;

struct FlagName {
    DeviceFlag flag;
    const char* name;
};
constexpr FlagName kFlagNames[] = {
    {DeviceFlag::ArchiveMounted, "archiveMounted"}, {DeviceFlag::Fiscalized, "fiscalized"},
    {DeviceFlag::ForeignArchive, "foreignArchive"}, {DeviceFlag::ShiftOpen, "shiftOpen"},
    {DeviceFlag::ArchiveReady, "archiveReady"},     {DeviceFlag::ArchiveClosed, "archiveClosed"},
    {DeviceFlag::EepromError, "eepromError"},       {DeviceFlag::PrinterOffline, "printerOffline"},
    {DeviceFlag::PaperNearEnd, "paperNearEnd"},     {DeviceFlag::PaperOut, "paperOut"},
};
}  // namespace

std::vector<std::string> deviceFlagNames(std::uint16_t flags) {
    std::vector<std::string> names;
    for (const FlagName& f : kFlagNames)
        if (flags & static_cast<std::uint16_t>(f.flag)) names.push_back(f.name);
    return names;
}

std::optional<DeviceStatus> decodeDeviceStatus(const Bytes& data) {
    if (data.size() < kStatusSize || data.size() > kStatusSize + 10) return std::nullopt;
    const std::size_t serialSize = data.size() - kStatusSize;
    DeviceStatus s;
    s.factoryNumber.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(serialSize));
    le::Reader r(data.data() + serialSize, kStatusSize);
    s.flags = r.u16();
    s.registrationCount = r.u8();
    s.statusFormat = r.u8();
    s.shiftNumber = r.u16();
    s.lastDocumentNumber = r.u32();
    s.lastDocumentTime = r.u32();
    s.shiftReceipts = r.u16();
    s.openDocumentType = r.u8();
    s.freeDocumentPlaces = r.u32();
    return s;
}

std::optional<ShiftState> decodeShiftState(const Bytes& data) {
    if (data.size() != kShiftStateSize) return std::nullopt;
    le::Reader r(data);
    ShiftState s;
    s.open = r.u8() != 0;
    s.shiftNumber = r.u16();
    s.receipts = r.u16();
    s.openDocumentNumber = r.u32();
    s.openTime = r.u32();
    s.closeDocumentNumber = r.u32();
    s.closeTime = r.u32();
    s.cashInDrawer = static_cast<std::int64_t>(r.u64());
    return s;
}

std::optional<ModelInfo> decodeModel(const Bytes& data) {
    if (data.size() != kModelSize) return std::nullopt;
    return ModelInfo{le::u16(data.data()), record_text::read(&data[2], 10),
                     cp866::toUtf8(record_text::read(&data[12], 32))};
}

std::string Version::text() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

std::optional<Version> decodeVersion(const Bytes& data) {
    if (data.size() != 3) return std::nullopt;
    return Version{data[0], data[1], data[2]};
}

std::optional<KeyInfo> decodeKey(const Bytes& data) {
    if (data.size() != kKeySize) return std::nullopt;
    KeyInfo k;
    k.version = Version{data[0], data[1], data[2]};
    k.keyFormat.assign(data.begin() + 3, data.begin() + 11);
    k.deviceKey.assign(data.begin() + 11, data.end());
    return k;
}

}  // namespace hostkit
