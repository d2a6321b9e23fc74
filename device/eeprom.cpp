#include "device/eeprom.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

#include "common/diagnostics.h"
#include "platform/files.h"

namespace eeprom {

namespace {

// Opened for reading and update, never created.
constexpr const char* kUpdateMode = "r+b";
constexpr std::size_t kEraseChunk = 512;

// Reads up to n bytes at `offset`; the number read.
std::size_t readAt(std::FILE* f, std::int64_t offset, std::uint8_t* p, std::size_t n) {
    if (fseeko64(f, offset, SEEK_SET) != 0) return 0;
    return std::fread(p, 1, n, f);
}

// Writes n bytes at `offset` and flushes; true when all of them went out.
bool writeAt(std::FILE* f, std::int64_t offset, const std::uint8_t* p, std::size_t n) {
    if (fseeko64(f, offset, SEEK_SET) != 0) return false;
    const std::size_t written = std::fwrite(p, 1, n, f);
    return std::fflush(f) == 0 && written == n;
}

bool writeRecord(std::int64_t offset, const Bytes& record) {
    platform::FileHandle f(kPath, kUpdateMode);
    if (!f) return false;
    const bool written = writeAt(f.get(), offset, record.data(), record.size());
    return f.close() == 0 && written;
}

// Reads the key at 4080, makes a new one when the EEPROM holds none (all
// 0xFF), writes it back, reads it again and installs what was read back.
bool loadDeviceKey(std::FILE* f, identity::Store& store) {
    Bytes key(kKeySize, 0);
    if (readAt(f, kKeyOffset, key.data(), kKeySize) != kKeySize) return false;
    if (std::all_of(key.begin(), key.end(), [](std::uint8_t b) { return b == 0xFF; }))
        key = makeDeviceKey();
    if (!writeAt(f, kKeyOffset, key.data(), kKeySize)) return false;
    Bytes readBack(kKeySize, 0);
    if (readAt(f, kKeyOffset, readBack.data(), kKeySize) != kKeySize) return false;
    store.setDeviceKey(readBack);
    return true;
}

bool loadFactoryData(std::FILE* f, identity::Store& store) {
    std::array<std::uint8_t, ModelData::kSize> bytes{};
    if (readAt(f, kFactoryOffset, bytes.data(), bytes.size()) != bytes.size()) return false;
    // An erased model name reads as empty.
    auto name = bytes.begin() + ModelData::kNameOffset;
    std::replace(name, name + ModelData::kNameSize, std::uint8_t{0xFF}, std::uint8_t{0});
    store.publishFactoryData(ModelData::decode(bytes.data()));
    return true;
}

bool loadRegistrationData(std::FILE* f, identity::Store& store) {
    std::vector<std::uint8_t> bytes(RegData::kSize, 0);
    if (readAt(f, kRegistrationOffset, bytes.data(), bytes.size()) != bytes.size()) return false;
    store.publishRegistrationData(RegData::decode(bytes.data()));
    return true;
}

}  // namespace

bool loadIdentity(identity::Store& store) {
    platform::FileHandle f(kPath, kUpdateMode);
    if (!f) return false;
    const bool keyLoaded = loadDeviceKey(f.get(), store);
    const bool factoryLoaded = loadFactoryData(f.get(), store);
    const bool registrationLoaded = loadRegistrationData(f.get(), store);
    return keyLoaded && factoryLoaded && registrationLoaded;
}

Bytes makeDeviceKey() {
    std::random_device source;
    Bytes key;
    key.reserve(kKeySize);
    while (key.size() < kKeySize) {
        // Rejection keeps the 256 results equally likely: each of them
        // covers exactly 0x00FFFFFF of the accepted values.
        const std::uint32_t value = static_cast<std::uint32_t>(source());
        if (value >= 0xFFFFFF00u) continue;
        key.push_back(static_cast<std::uint8_t>(value / 0x00FFFFFFu));
    }
    return key;
}

bool saveFactoryData(const ModelData& record) {
    return writeRecord(kFactoryOffset, record.encode());
}

bool saveRegistrationData(const RegData& record) {
    return writeRecord(kRegistrationOffset, record.encode());
}

void eraseEeprom() {
    {
        platform::FileHandle f(kPath, kUpdateMode);
        if (f) {
            const std::array<std::uint8_t, kEraseChunk> erased = [] {
                std::array<std::uint8_t, kEraseChunk> a{};
                a.fill(0xFF);
                return a;
            }();
            for (std::size_t offset = 0; offset < kSize; offset += kEraseChunk)
                writeAt(f.get(), static_cast<std::int64_t>(offset), erased.data(), erased.size());
        }
    }
    dumpEeprom();
}

void dumpEeprom() {
    for (const std::string& line : dumpLines()) diagnosticLine(line);
}

std::vector<std::string> dumpLines() {
    std::vector<std::string> lines;
    platform::FileHandle f(kPath, "rb");
    if (!f) return lines;
    for (std::size_t offset = 0; offset < kSize; offset += kDumpLineBytes) {
        std::array<std::uint8_t, kDumpLineBytes> block;
        block.fill(0xFF);
        readAt(f.get(), static_cast<std::int64_t>(offset), block.data(), block.size());
        lines.push_back(dumpLine(block.data()));
    }
    return lines;
}

std::string dumpLine(const std::uint8_t* bytes) {
    std::string line;
    constexpr std::size_t kGroupBytes = 8;
    for (std::size_t group = 0; group < kDumpLineBytes / kGroupBytes; ++group) {
        if (group > 0) line += "  ";
        line += hexUpper(bytes + group * kGroupBytes, kGroupBytes);
    }
    return line;
}

}  // namespace eeprom
