#pragma once
// The two check sums of the register, each computed with its own 256-entry
// table built once on first use.
//
// CRC-16: polynomial 0x1021, initial value 0xFFFF, no reflection, no final
// exclusive-or (check value over "123456789": 0x29B1). Used for host frames,
// stored document data and headers, the archive identifier.
//
// CRC-32: the reflected polynomial 0x04C11DB7 with initial value and final
// complement 0xFFFFFFFF (zlib's; check value 0xCBF43926). Used for transaction
// identifiers, fiscal signs and identity check values.

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/bytes.h"

namespace crc {

constexpr std::uint16_t kCrc16Init = 0xFFFF;
constexpr std::uint32_t kCrc32Init = 0xFFFFFFFF;

const std::array<std::uint16_t, 256>& crc16Table();
const std::array<std::uint32_t, 256>& crc32Table();

// Continues a CRC-16 from `value` over n bytes.
std::uint16_t crc16Update(std::uint16_t value, const std::uint8_t* p, std::size_t n);
inline std::uint16_t crc16(const std::uint8_t* p, std::size_t n) {
    return crc16Update(kCrc16Init, p, n);
}
inline std::uint16_t crc16(const Bytes& b) { return crc16(b.data(), b.size()); }

// Incremental CRC-32: feed pieces, then take value().
class Crc32 {
public:
    void update(const std::uint8_t* p, std::size_t n);
    void update(const Bytes& b) { update(b.data(), b.size()); }
    void update(std::uint8_t byte) { update(&byte, 1); }
    std::uint32_t value() const { return ~state_; }

private:
    std::uint32_t state_ = kCrc32Init;
};

std::uint32_t crc32(const std::uint8_t* p, std::size_t n);
inline std::uint32_t crc32(const Bytes& b) { return crc32(b.data(), b.size()); }

}  // namespace crc
