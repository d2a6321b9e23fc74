#include "encoding/tlv.h"

#include <gtest/gtest.h>

#include "encoding/additional_line.h"
#include "encoding/tags.h"

namespace {

Tlv container(std::uint16_t tag, const Bytes& value) {
    Tlv t;
    t.tag = tag;
    t.data = value;
    return t;
}

TEST(Tlv, VarIntEncodings) {
    EXPECT_EQ(Tlv().setVarInt(1, 0).data, (Bytes{0x00}));
    EXPECT_EQ(Tlv().setVarInt(1, 255).data, (Bytes{0xFF}));
    EXPECT_EQ(Tlv().setVarInt(1, 256).data, (Bytes{0x00, 0x01}));
    EXPECT_EQ(Tlv().setVarInt(1, -1).data, Bytes(8, 0xFF));
    EXPECT_EQ(Tlv().setVarInt(1, 0x0100000000000000).data, (Bytes{0, 0, 0, 0, 0, 0, 0, 1}));

    EXPECT_EQ(container(1, {0x01, 0x02, 0x03}).getVarInt(), 197121);
    EXPECT_EQ(container(1, {}).getVarInt(), 0);
    EXPECT_EQ(container(1, Bytes(8, 0xFF)).getVarInt(), -1);
    // Bytes beyond the eighth are ignored.
    EXPECT_EQ(container(1, {5, 0, 0, 0, 0, 0, 0, 0, 9, 9}).getVarInt(), 5);
    for (std::int64_t v : {std::int64_t{1}, std::int64_t{-300}, std::int64_t{1} << 40})
        EXPECT_EQ(Tlv().setVarInt(1, v).getVarInt(), v);
}

TEST(Tlv, VarDecimalEncodings) {
    Tlv t;
    t.setVarDecimal(tags::kQuantity, Decimal(1000, 1500));
    EXPECT_EQ(t.data, (Bytes{0x03, 0xDC, 0x05}));
    Decimal d = container(tags::kQuantity, {0x03, 0xDC, 0x05}).getVarDecimal();
    EXPECT_EQ(d.scale(), 1000u);
    EXPECT_EQ(d.value(), 1500);
    EXPECT_EQ(container(1, {}).getVarDecimal().scale(), 1u);
    EXPECT_EQ(Tlv().setVarDecimal(1, Decimal(1, 3)).data, (Bytes{0x00, 0x03}));
    // A digit count no 32-bit scale holds comes back flagged.
    EXPECT_TRUE(container(1, {0x20, 0x01}).getVarDecimal().overflowed());
}

TEST(Tlv, FixedSizeGettersCheckTheSize) {
    bool ok = true;
    EXPECT_EQ(container(1, {1, 2, 3}).getU16(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(container(1, {1, 2}).getU16(&ok), 0x0201);
    EXPECT_TRUE(ok);
    EXPECT_EQ(container(1, {}).getU8(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Tlv().setU32(1, 0xA1B2C3D4).getU32(&ok), 0xA1B2C3D4u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Tlv().setU64(1, 0x0102030405060708).getU64(&ok), 0x0102030405060708u);
    EXPECT_TRUE(ok);

    EXPECT_EQ(Tlv().setU32(1, 1700000000).getU32OrU64(&ok), 1700000000u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Tlv().setU64(1, 1ull << 33).getU32OrU64(&ok), 1ull << 33);
    EXPECT_TRUE(ok);
    EXPECT_EQ(container(1, {1, 2, 3, 4, 5, 6}).getU32OrU64(&ok), 0u);
    EXPECT_FALSE(ok);
}

TEST(Tlv, EncodingAndContainers) {
    Tlv section;
    section.setU8(tags::kSectionNumber, 5);
    EXPECT_EQ(section.encode(), (Bytes{0x25, 0x2C, 0x01, 0x00, 0x05}));

    Tlv tooLong = container(7, Bytes(65535, 0x41));
    EXPECT_FALSE(tooLong.isValid());
    EXPECT_TRUE(tooLong.encode().empty());
    EXPECT_TRUE(container(7, Bytes(65534, 0x41)).isValid());
    EXPECT_TRUE(container(0, {1}).encode().empty());

    // Invalid children are left out of a container.
    Tlv parent;
    parent.setContainer(tags::kSection, {section, Tlv(), tooLong, Tlv().setText(11302, "AB")});
    EXPECT_EQ(parent.data, (Bytes{0x25, 0x2C, 0x01, 0x00, 0x05, 0x26, 0x2C, 0x02, 0x00, 'A', 'B'}));
}

TEST(Tlv, DecodeListReportsTrailingBytesAndSkipsTagZero) {
    bool ok = false;
    std::vector<Tlv> children = decodeList(container(11300, {0x25, 0x2C, 0x01, 0x00, 0x05}), &ok);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(children[0].tag, 11301);
    EXPECT_EQ(children[0].data, (Bytes{0x05}));

    children = decodeList(container(11300, {0x25, 0x2C, 0x01, 0x00, 0x05, 0x00, 0x00}), &ok);
    EXPECT_EQ(children.size(), 1u) << "the child before the trailing bytes is kept";
    EXPECT_FALSE(ok);

    // A tag-0 child is skipped and decoding goes on.
    children = decodeList(
        container(11300, {0x00, 0x00, 0x01, 0x00, 0x09, 0x25, 0x2C, 0x01, 0x00, 0x05}), &ok);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].tag, 11301);
    EXPECT_TRUE(ok);

    // Only tag-0 children, an empty container, an invalid container: no success.
    decodeList(container(11300, {0x00, 0x00, 0x00, 0x00}), &ok);
    EXPECT_FALSE(ok);
    decodeList(container(11300, {}), &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(decodeList(container(0, {0x25, 0x2C, 0x01, 0x00, 0x05}), &ok).empty());
    EXPECT_FALSE(ok);
}

TEST(Tlv, DecodersNeverReadPastTheirInput) {
    Tlv name;
    name.setText(tags::kPositionName, "ABCDEF");
    Bytes whole;
    Tlv().setU8(tags::kPositionTaxNumber, 1).encodeTo(whole);
    name.encodeTo(whole);
    // Every cut of the value that does not end on a child boundary fails.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        bool ok = true;
        std::vector<Tlv> children =
            decodeList(container(tags::kPosition, Bytes(whole.begin(), whole.begin() + cut)), &ok);
        EXPECT_EQ(ok, cut == 5) << cut;
        EXPECT_LE(children.size(), 1u);
        Tlv exact;
        EXPECT_FALSE(exact.decodeExact(Bytes(whole.begin(), whole.begin() + cut)) && cut != 5);
    }
    // A length field far beyond the input.
    std::span<const std::uint8_t> input;
    Bytes huge{0x01, 0x00, 0xFF, 0xFF, 0x00};
    input = huge;
    Tlv t;
    EXPECT_FALSE(t.decodeFront(input));
    EXPECT_EQ(input.size(), huge.size()) << "a failed decode consumes nothing";
}

TEST(Tlv, DecodeExactAndFront) {
    Tlv t;
    EXPECT_TRUE(t.decodeExact(Bytes{0x25, 0x2C, 0x01, 0x00, 0x05}));
    EXPECT_EQ(t.tag, 11301);
    EXPECT_EQ(t.getU8(), 5);

    // Length mismatch: the tag stays as read, the value empty.
    EXPECT_FALSE(t.decodeExact(Bytes{0x25, 0x2C, 0x01, 0x00, 0x05, 0x06}));
    EXPECT_EQ(t.tag, 11301);
    EXPECT_TRUE(t.data.empty());
    EXPECT_FALSE(t.decodeExact(Bytes{0x25, 0x2C, 0x02, 0x00, 0x05}));
    EXPECT_FALSE(t.decodeExact(Bytes{0x25, 0x2C, 0x01}));
    EXPECT_EQ(t.tag, 0) << "fewer than 4 bytes leave the Tlv empty";

    Bytes stream{0x00, 0x00, 0x00, 0x00, 0x25, 0x2C, 0x01, 0x00, 0x07, 0xAA};
    std::span<const std::uint8_t> rest(stream);
    ASSERT_TRUE(t.decodeFront(rest));
    EXPECT_EQ(t.tag, 0) << "tag 0 is accepted here";
    EXPECT_FALSE(t.isValid());
    ASSERT_TRUE(t.decodeFront(rest));
    EXPECT_EQ(t.tag, 11301);
    EXPECT_EQ(t.data, (Bytes{0x07}));
    EXPECT_EQ(rest.size(), 1u);
    EXPECT_FALSE(t.decodeFront(rest));
}

TEST(Tlv, MapsKeepTheFirstOrEveryOccurrence) {
    Bytes value;
    Tlv().setU8(11301, 1).encodeTo(value);
    Tlv().setText(11302, "A").encodeTo(value);
    Tlv().setU8(11301, 2).encodeTo(value);
    const Tlv parent = container(11300, value);

    bool ok = false;
    TlvMap map = decodeMap(parent, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(lookup(map, 11301).getU8(), 1);
    EXPECT_EQ(lookup(map, 11999).tag, 0);
    EXPECT_EQ(lookup(map, 11999).getText(), "");

    TlvMultiMap all = decodeMultiMap(parent, &ok);
    EXPECT_TRUE(ok);
    auto [first, last] = all.equal_range(11301);
    ASSERT_EQ(std::distance(first, last), 2);
    EXPECT_EQ(first->second.getU8(), 1);
    EXPECT_EQ(std::next(first)->second.getU8(), 2);
}

TEST(AdditionalLine, WritesAndReadsItsContainer) {
    AdditionalLine line;
    EXPECT_FALSE(line.usable());
    line.number = 3;
    line.text = "TEXT";
    Tlv t = line.toTlv();
    EXPECT_EQ(t.encode(), (Bytes{0x56, 0x2F, 0x0D, 0x00, 0x57, 0x2F, 0x01, 0x00, 0x03, 0x58, 0x2F,
                                 0x04, 0x00, 'T', 'E', 'X', 'T'}));

    AdditionalLine back;
    ASSERT_TRUE(back.fromTlv(t));
    EXPECT_EQ(back.number, 3);
    EXPECT_EQ(back.text, "TEXT");
    EXPECT_TRUE(back.usable());

    // Missing children read as 0 and empty; another container tag fails.
    AdditionalLine partial;
    ASSERT_TRUE(partial.fromTlv(container(tags::kAdditionalLine, {0x57, 0x2F, 0x01, 0x00, 0x02})));
    EXPECT_EQ(partial.number, 2);
    EXPECT_FALSE(partial.usable());
    EXPECT_FALSE(AdditionalLine().fromTlv(container(tags::kSection, t.data)));
}

}  // namespace
