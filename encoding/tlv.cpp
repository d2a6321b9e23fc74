#include "encoding/tlv.h"

namespace {

// Value bytes padded with zeros at the end to `size` (longer values cut).
template <std::size_t N>
void padded(const Bytes& data, std::uint8_t (&out)[N]) {
    for (std::size_t i = 0; i < N; ++i) out[i] = i < data.size() ? data[i] : 0;
}

// Runs `add` for every valid child of a valid container; the flag as
// decodeList gives it.
template <typename Add>
void forEachChild(const Tlv& container, bool* ok, Add add) {
    bool found = false;
    bool whole = container.isValid();
    if (whole) {
        std::span<const std::uint8_t> rest(container.data);
        while (!rest.empty()) {
            Tlv child;
            if (!child.decodeFront(rest)) {
                whole = false;
                break;
            }
            if (!child.isValid()) continue;
            found = true;
            add(std::move(child));
        }
    }
    if (ok) *ok = whole && found;
}

}  // namespace

Tlv& Tlv::setU8(std::uint16_t t, std::uint8_t v) {
    tag = t;
    data = {v};
    return *this;
}

Tlv& Tlv::setU16(std::uint16_t t, std::uint16_t v) {
    tag = t;
    data.clear();
    le::put16(data, v);
    return *this;
}

Tlv& Tlv::setU32(std::uint16_t t, std::uint32_t v) {
    tag = t;
    data.clear();
    le::put32(data, v);
    return *this;
}

Tlv& Tlv::setU64(std::uint16_t t, std::uint64_t v) {
    tag = t;
    data.clear();
    le::put64(data, v);
    return *this;
}

Tlv& Tlv::setVarInt(std::uint16_t t, std::int64_t v) {
    setU64(t, static_cast<std::uint64_t>(v));
    while (!data.empty() && data.back() == 0) data.pop_back();
    if (data.empty()) data.push_back(0);
    return *this;
}

Tlv& Tlv::setVarDecimal(std::uint16_t t, const Decimal& d) {
    setVarInt(t, d.value());
    data.insert(data.begin(), static_cast<std::uint8_t>(d.fractionDigits()));
    return *this;
}

Tlv& Tlv::setText(std::uint16_t t, std::string_view bytes) {
    tag = t;
    data.assign(bytes.begin(), bytes.end());
    return *this;
}

Tlv& Tlv::setContainer(std::uint16_t t, const std::vector<Tlv>& children) {
    tag = t;
    data.clear();
    for (const Tlv& child : children) child.encodeTo(data);
    return *this;
}

void Tlv::encodeTo(Bytes& out) const {
    if (!isValid()) return;
    le::put16(out, tag);
    le::put16(out, static_cast<std::uint16_t>(data.size()));
    le::putBytes(out, data);
}

Bytes Tlv::encode() const {
    Bytes out;
    encodeTo(out);
    return out;
}

std::uint8_t Tlv::getU8(bool* ok) const {
    if (ok) *ok = data.size() == 1;
    return data.size() == 1 ? data[0] : 0;
}

std::uint16_t Tlv::getU16(bool* ok) const {
    if (ok) *ok = data.size() == 2;
    return data.size() == 2 ? le::u16(data.data()) : 0;
}

std::uint32_t Tlv::getU32(bool* ok) const {
    if (ok) *ok = data.size() == 4;
    return data.size() == 4 ? le::u32(data.data()) : 0;
}

std::uint64_t Tlv::getU64(bool* ok) const {
    if (ok) *ok = data.size() == 8;
    return data.size() == 8 ? le::u64(data.data()) : 0;
}

std::uint64_t Tlv::getU32OrU64(bool* ok) const {
    if (data.size() == 4) return getU32(ok);
    return getU64(ok);
}

std::int64_t Tlv::getVarInt() const {
    std::uint8_t bytes[8];
    padded(data, bytes);
    return static_cast<std::int64_t>(le::u64(bytes));
}

Decimal Tlv::getVarDecimal() const {
    std::uint8_t bytes[9];
    padded(data, bytes);
    return Decimal(FractionDigits{bytes[0]}, static_cast<std::int64_t>(le::u64(bytes + 1)));
}

bool Tlv::decodeExact(std::span<const std::uint8_t> input) {
    tag = 0;
    data.clear();
    if (input.size() < kHeaderSize) return false;
    tag = le::u16(input.data());
    const std::size_t length = le::u16(input.data() + 2);
    if (input.size() != length + kHeaderSize) return false;
    data.assign(input.begin() + kHeaderSize, input.end());
    return true;
}

bool Tlv::decodeFront(std::span<const std::uint8_t>& input) {
    if (input.size() < kHeaderSize) return false;
    const std::size_t length = le::u16(input.data() + 2);
    if (input.size() < length + kHeaderSize) return false;
    tag = le::u16(input.data());
    data.assign(input.begin() + kHeaderSize, input.begin() + kHeaderSize + length);
    input = input.subspan(length + kHeaderSize);
    return true;
}

std::vector<Tlv> decodeList(const Tlv& container, bool* ok) {
    std::vector<Tlv> list;
    forEachChild(container, ok, [&](Tlv child) { list.push_back(std::move(child)); });
    return list;
}

TlvMap decodeMap(const Tlv& container, bool* ok) {
    TlvMap map;
    forEachChild(container, ok, [&](Tlv child) {
        const std::uint16_t tag = child.tag;
        map.emplace(tag, std::move(child));
    });
    return map;
}

TlvMultiMap decodeMultiMap(const Tlv& container, bool* ok) {
    TlvMultiMap map;
    forEachChild(container, ok, [&](Tlv child) {
        const std::uint16_t tag = child.tag;
        map.emplace(tag, std::move(child));
    });
    return map;
}

Tlv lookup(const TlvMap& map, std::uint16_t tag) {
    auto it = map.find(tag);
    return it == map.end() ? Tlv{} : it->second;
}
