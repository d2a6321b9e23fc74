// Tagged values in every form the register reads them: one exact value, a
// stream of values, a container's children as list, map and multimap, and
// every getter. What decodes round-trips through its encoding.

#include <cstddef>
#include <cstdint>
#include <span>

#include "encoding/tlv.h"
#include "fuzz/fuzz_support.h"

namespace {

Bytes bytesOf(std::span<const std::uint8_t> s) { return Bytes(s.begin(), s.end()); }

void checkGetters(const Tlv& v) {
    bool ok = false;
    v.getU8(&ok);
    FUZZ_CHECK(ok == (v.data.size() == 1));
    v.getU16(&ok);
    FUZZ_CHECK(ok == (v.data.size() == 2));
    const std::uint32_t u32 = v.getU32(&ok);
    if (ok) FUZZ_CHECK(Tlv().setU32(v.tag, u32).data == v.data);
    const std::uint64_t u64 = v.getU64(&ok);
    if (ok) FUZZ_CHECK(Tlv().setU64(v.tag, u64).data == v.data);
    v.getU32OrU64(&ok);
    FUZZ_CHECK(ok == (v.data.size() == 4 || v.data.size() == 8));
    FUZZ_CHECK(Tlv().setText(v.tag, v.getText()).data == v.data);

    // A number read back from what it wrote is the same number.
    const std::int64_t varInt = v.getVarInt();
    FUZZ_CHECK(Tlv().setVarInt(v.tag, varInt).getVarInt() == varInt);
    const Decimal d = v.getVarDecimal();
    if (!d.overflowed()) {
        const Decimal back = Tlv().setVarDecimal(v.tag, d).getVarDecimal();
        FUZZ_CHECK(back == d && back.scale() == d.scale());
    }
}

void checkContainer(const Tlv& container) {
    bool listOk = false, mapOk = false, multiOk = false;
    const std::vector<Tlv> children = decodeList(container, &listOk);
    const TlvMap map = decodeMap(container, &mapOk);
    const TlvMultiMap multi = decodeMultiMap(container, &multiOk);
    FUZZ_CHECK(listOk == mapOk && mapOk == multiOk);
    FUZZ_CHECK(multi.size() == children.size());
    FUZZ_CHECK(map.size() <= children.size());
    for (const Tlv& child : children) {
        FUZZ_CHECK(child.tag != 0);
        FUZZ_CHECK(lookup(map, child.tag).tag == child.tag);
    }
    if (!map.empty()) FUZZ_CHECK(lookup(map, map.begin()->first).data == map.begin()->second.data);

    // Children without tag 0 between them encode back to the container.
    if (listOk) {
        Bytes walk = container.data;
        std::span<const std::uint8_t> rest(walk);
        bool anyZero = false;
        Tlv child;
        while (!rest.empty() && child.decodeFront(rest)) anyZero |= child.tag == 0;
        if (!anyZero) FUZZ_CHECK(Tlv().setContainer(container.tag, children).data == container.data);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);

    Tlv whole;
    if (whole.decodeExact(input)) {
        FUZZ_CHECK(whole.data.size() + Tlv::kHeaderSize == size);
        if (whole.isValid()) FUZZ_CHECK(whole.encode() == bytesOf(input));
    } else {
        FUZZ_CHECK(whole.data.empty());
    }

    std::span<const std::uint8_t> rest = input;
    Tlv value;
    while (!rest.empty()) {
        const std::span<const std::uint8_t> before = rest;
        if (!value.decodeFront(rest)) {
            FUZZ_CHECK(rest.size() == before.size());
            break;
        }
        const std::size_t took = before.size() - rest.size();
        FUZZ_CHECK(took == value.data.size() + Tlv::kHeaderSize);
        if (value.isValid()) FUZZ_CHECK(value.encode() == bytesOf(before.first(took)));
        checkGetters(value);
        checkContainer(value);
    }
    return 0;
}
