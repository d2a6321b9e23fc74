#include "common/crc.h"

namespace crc {

const std::array<std::uint16_t, 256>& crc16Table() {
    static const std::array<std::uint16_t, 256> table = [] {
        std::array<std::uint16_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            std::uint16_t v = static_cast<std::uint16_t>(i << 8);
            for (int bit = 0; bit < 8; ++bit)
                v = static_cast<std::uint16_t>((v & 0x8000) ? (v << 1) ^ 0x1021 : v << 1);
            t[i] = v;
        }
        return t;
    }();
    return table;
}

std::uint16_t crc16Update(std::uint16_t value, const std::uint8_t* p, std::size_t n) {
    const auto& table = crc16Table();
    for (std::size_t i = 0; i < n; ++i)
        value = static_cast<std::uint16_t>(table[(p[i] ^ (value >> 8)) & 0xFF] ^ (value << 8));
    return value;
}

const std::array<std::uint32_t, 256>& crc32Table() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t v = i;
            for (int bit = 0; bit < 8; ++bit) v = (v & 1) ? (v >> 1) ^ 0xEDB88320u : v >> 1;
            t[i] = v;
        }
        return t;
    }();
    return table;
}

void Crc32::update(const std::uint8_t* p, std::size_t n) {
    const auto& table = crc32Table();
    for (std::size_t i = 0; i < n; ++i) state_ = table[(state_ ^ p[i]) & 0xFF] ^ (state_ >> 8);
}

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    Crc32 c;
    c.update(p, n);
    return c.value();
}

}  // namespace crc
