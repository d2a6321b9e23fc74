#include "device/eeprom.h"

#include <algorithm>
#include <array>
#include <random>

#include "common/diagnostics.h"

namespace eeprom {

namespace {
// Opened for reading and update, never created.
constexpr const char* kUpdateMode = "r+b";
constexpr std::size_t kEraseChunk = 512;
}  // namespace

Image::Image() : file_(kPath, kUpdateMode) {}

bool Image::read(std::uint64_t offset, std::size_t n, Bytes& out) {
    if (!file_) {
        out.assign(n, 0);
        return false;
    }
    return platform::readAt(file_.get(), offset, n, out);
}

bool Image::write(std::uint64_t offset, const Bytes& bytes) {
    return file_ && platform::writeAt(file_.get(), offset, bytes, platform::Durability::flushed);
}

bool Image::close() { return file_.close() == 0; }

bool writeRegion(std::uint64_t offset, const Bytes& bytes) {
    Image image;
    if (!image) return false;
    const bool written = image.write(offset, bytes);
    return image.close() && written;
}

bool loadDeviceKey(Image& image, Bytes& key) {
    key.clear();
    Bytes stored;
    if (!image.read(kKeyOffset, kKeySize, stored)) return false;
    if (std::all_of(stored.begin(), stored.end(), [](std::uint8_t b) { return b == 0xFF; }))
        stored = makeDeviceKey();
    if (!image.write(kKeyOffset, stored)) return false;
    Bytes readBack;
    if (!image.read(kKeyOffset, kKeySize, readBack)) return false;
    key = readBack;
    return true;
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

void eraseEeprom() {
    {
        Image image;
        if (image) {
            const Bytes erased(kEraseChunk, 0xFF);
            for (std::size_t offset = 0; offset < kSize; offset += kEraseChunk)
                image.write(offset, erased);
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
        platform::readAt(f.get(), offset, block.data(), block.size());
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
