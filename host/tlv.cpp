#include "host/tlv.h"

namespace hostkit {

Bytes encodeTlv(const Tlv& tlv) {
    Bytes out;
    le::put16(out, tlv.tag);
    le::put16(out, static_cast<std::uint16_t>(tlv.value.size()));
    le::putBytes(out, tlv.value);
    return out;
}

Tlv u8Tlv(std::uint16_t tag, std::uint8_t v) { return {tag, Bytes{v}}; }

Tlv u16Tlv(std::uint16_t tag, std::uint16_t v) {
    Tlv t{tag, {}};
    le::put16(t.value, v);
    return t;
}

Tlv u32Tlv(std::uint16_t tag, std::uint32_t v) {
    Tlv t{tag, {}};
    le::put32(t.value, v);
    return t;
}

namespace {
Bytes varIntBytes(std::int64_t v) {
    Bytes b;
    le::put64(b, static_cast<std::uint64_t>(v));
    while (b.size() > 1 && b.back() == 0) b.pop_back();
    return b;
}
}  // namespace

Tlv varIntTlv(std::uint16_t tag, std::int64_t v) { return {tag, varIntBytes(v)}; }

Tlv varDecimalTlv(std::uint16_t tag, std::uint8_t digits, std::int64_t raw) {
    Tlv t{tag, Bytes{digits}};
    le::putBytes(t.value, varIntBytes(raw));
    return t;
}

Tlv textTlv(std::uint16_t tag, std::string_view cp866) { return {tag, toBytes(cp866)}; }

Tlv containerTlv(std::uint16_t tag, const std::vector<Tlv>& children) {
    Tlv t{tag, {}};
    for (const Tlv& child : children) le::putBytes(t.value, encodeTlv(child));
    return t;
}

std::optional<Tlv> decodeTlv(const Bytes& bytes) {
    le::Reader r(bytes);
    Tlv t;
    t.tag = r.u16();
    const std::uint16_t length = r.u16();
    if (r.failed() || r.remaining() != length) return std::nullopt;
    t.value = r.rest();
    return t;
}

std::optional<std::vector<Tlv>> decodeTlvList(const Bytes& bytes) {
    std::vector<Tlv> list;
    le::Reader r(bytes);
    while (r.remaining() > 0) {
        Tlv t;
        t.tag = r.u16();
        t.value = r.bytes(r.u16());
        if (r.failed()) return std::nullopt;
        list.push_back(std::move(t));
    }
    return list;
}

std::int64_t varIntOf(const Bytes& value) {
    std::uint8_t eight[8] = {};
    for (std::size_t i = 0; i < value.size() && i < 8; ++i) eight[i] = value[i];
    return static_cast<std::int64_t>(le::u64(eight));
}

}  // namespace hostkit
