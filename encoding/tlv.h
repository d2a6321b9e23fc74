#pragma once
// Tlv: a tagged value, a 16-bit tag with a byte string as its value. On the
// wire: tag (u16), length L (u16), L value bytes, all little-endian. The
// value of a container is the concatenation of encoded tagged values.
// Tag numbers are in encoding/tags.h.
//
// The decoders take outside input (host requests, stored documents) and
// never read outside the bytes they are given.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "encoding/decimal.h"

struct Tlv {
    std::uint16_t tag = 0;  // 0: no value
    Bytes data;

    static constexpr std::size_t kMaxValueSize = 65534;
    static constexpr std::size_t kHeaderSize = 4;

    // Tag not 0 and value at most 65534 bytes.
    bool isValid() const { return tag != 0 && data.size() <= kMaxValueSize; }

    // Setters: each sets the tag and replaces the value.
    Tlv& setU8(std::uint16_t t, std::uint8_t v);
    Tlv& setU16(std::uint16_t t, std::uint16_t v);
    Tlv& setU32(std::uint16_t t, std::uint32_t v);
    Tlv& setU64(std::uint16_t t, std::uint64_t v);
    // The 8 little-endian bytes without their trailing zero bytes; 0 is 00.
    Tlv& setVarInt(std::uint16_t t, std::int64_t v);
    // The fraction-digit count of the scale, then the raw value as a VarInt.
    Tlv& setVarDecimal(std::uint16_t t, const Decimal& d);
    Tlv& setText(std::uint16_t t, std::string_view bytes);
    // The encodings of the children in order; invalid children are left out.
    Tlv& setContainer(std::uint16_t t, const std::vector<Tlv>& children);

    // Tag, length, value; empty for an invalid Tlv.
    Bytes encode() const;
    // Appends the encoding to `out`.
    void encodeTo(Bytes& out) const;

    // Fixed-size getters: a value of another size reads as 0 with *ok false.
    std::uint8_t getU8(bool* ok = nullptr) const;
    std::uint16_t getU16(bool* ok = nullptr) const;
    std::uint32_t getU32(bool* ok = nullptr) const;
    std::uint64_t getU64(bool* ok = nullptr) const;
    // 4 bytes as getU32, 8 as getU64; any other size fails.
    std::uint64_t getU32OrU64(bool* ok = nullptr) const;
    // Zero-padded at the end to 8 bytes; bytes beyond the eighth are ignored.
    std::int64_t getVarInt() const;
    // Zero-padded to 9 bytes: byte 0 the fraction digits, bytes 1..8 the raw
    // value. More than 9 fraction digits give a Decimal with the overflow flag.
    Decimal getVarDecimal() const;
    std::string getText() const { return std::string(data.begin(), data.end()); }

    // The whole input must be one tagged value: at least 4 bytes and exactly
    // L + 4. The Tlv is emptied first; on a length mismatch the tag keeps what
    // was read and the value stays empty.
    bool decodeExact(std::span<const std::uint8_t> input);
    // Takes one tagged value (tag 0 accepted) from the front of `input` and
    // removes its bytes; false, with `input` unchanged, when fewer than 4 or
    // fewer than L + 4 bytes are there.
    bool decodeFront(std::span<const std::uint8_t>& input);
};

using TlvMap = std::map<std::uint16_t, Tlv>;
using TlvMultiMap = std::multimap<std::uint16_t, Tlv>;

// The children of a container; children with tag 0 are skipped. *ok is true
// when the value ends on a whole tagged value and at least one valid child
// was found; false for an invalid container or trailing bytes (the children
// before them are kept).
std::vector<Tlv> decodeList(const Tlv& container, bool* ok = nullptr);
// As decodeList, keyed by tag; the first occurrence of a tag wins.
TlvMap decodeMap(const Tlv& container, bool* ok = nullptr);
// As decodeList, keyed by tag; every occurrence kept in order.
TlvMultiMap decodeMultiMap(const Tlv& container, bool* ok = nullptr);

// The child with `tag`, or an empty Tlv.
Tlv lookup(const TlvMap& map, std::uint16_t tag);
