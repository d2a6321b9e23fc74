#pragma once
// Tagged values: a 16-bit tag with a byte-string value, sent as tag, length
// and value (u16 little-endian each). A container's value is the
// concatenation of its children's encodings.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "common/bytes.h"

namespace hostkit {

struct Tlv {
    std::uint16_t tag = 0;
    Bytes value;

    bool operator==(const Tlv&) const = default;
};

// Tag, length and value. The value must be shorter than 65535 bytes.
Bytes encodeTlv(const Tlv& tlv);

Tlv u8Tlv(std::uint16_t tag, std::uint8_t v);
Tlv u16Tlv(std::uint16_t tag, std::uint16_t v);
Tlv u32Tlv(std::uint16_t tag, std::uint32_t v);
// A signed 64-bit number, little-endian, with its high zero bytes removed
// (at least one byte; a negative number keeps all eight).
Tlv varIntTlv(std::uint16_t tag, std::int64_t v);
// A decimal number: the count of fraction digits, then value × 10^digits
// as a VarInt (1.500 is 03 DC 05).
Tlv varDecimalTlv(std::uint16_t tag, std::uint8_t digits, std::int64_t raw);
Tlv textTlv(std::uint16_t tag, std::string_view cp866);
Tlv containerTlv(std::uint16_t tag, const std::vector<Tlv>& children);

// Exactly one tagged value filling `bytes`; nothing when the length field
// does not match.
std::optional<Tlv> decodeTlv(const Bytes& bytes);
// The tagged values that fill `bytes` one after another; nothing when the
// bytes do not end on a whole value.
std::optional<std::vector<Tlv>> decodeTlvList(const Bytes& bytes);

// A VarInt value read back: zero-padded to eight bytes, little-endian.
std::int64_t varIntOf(const Bytes& value);

}  // namespace hostkit
