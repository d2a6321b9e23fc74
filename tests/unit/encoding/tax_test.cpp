#include "encoding/tax.h"

#include <gtest/gtest.h>

#include "encoding/tags.h"
#include "tests/support/temp_board.h"

namespace {

Tax tax(std::uint8_t kind, std::uint16_t rate, std::string name = "VAT") {
    Tax t;
    t.kind = kind;
    t.rate = rate;
    t.name = std::move(name);
    return t;
}

TEST(Taxes, RecordLayoutAndValidity) {
    Bytes record = encodeTax(tax(Tax::kOnTop, 2000, "NDS"));
    ASSERT_EQ(record.size(), 32u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 6), (Bytes{0xD0, 0x87, 'N', 'D', 'S', 0}));

    std::optional<Tax> back = decodeTax(record);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kind, Tax::kOnTop);
    EXPECT_EQ(back->rate, 2000);
    EXPECT_EQ(back->name, "NDS");

    // A name of all 30 bytes.
    record = encodeTax(tax(Tax::kContained, 1000, std::string(40, 'n')));
    EXPECT_EQ(decodeTax(record)->name, std::string(30, 'n'));

    EXPECT_FALSE(decodeTax(Bytes(31, 0)));
    EXPECT_FALSE(decodeTax(encodeTax(tax(Tax::kOnTop, 2000, ""))))
        << "a tax without a name is invalid whatever its rate and kind";
    EXPECT_FALSE(decodeTax(encodeTax(tax(Tax::kNotSet, 2000))));
    EXPECT_FALSE(tax(Tax::kOnTop, 10000).isValid());
    EXPECT_TRUE(tax(Tax::kOnTop, 9999).isValid());
    EXPECT_FALSE(Tax().isValid());
}

TEST(Taxes, TextsAndRate) {
    EXPECT_EQ(taxRate(tax(2, 2000)).toText(), "20.00");
    EXPECT_EQ(taxRateText(tax(2, 2000)), "20%");
    EXPECT_EQ(taxRateText(tax(2, 1667)), "16.67%");
    EXPECT_EQ(taxRateText(tax(2, 0)), "0%");
    EXPECT_EQ(taxRateText(tax(2, 1050)), "10.50%");
    EXPECT_EQ(taxLabel(tax(2, 2000)), "VAT");
    EXPECT_EQ(taxLabel(tax(3, 2000)), "");
}

TEST(Taxes, Amounts) {
    testing_support::ScopedTempBoard board;  // the rounding mode's file
    EXPECT_EQ(taxAmount(tax(Tax::kOnTop, 1000), Decimal(100, 5550)).value(), 555);
    EXPECT_EQ(taxAmount(tax(Tax::kOnTop, 2000), Decimal(100, 10000)).value(), 2000);
    EXPECT_EQ(taxAmount(tax(Tax::kContained, 2000), Decimal(100, 12000)).value(), 2000);
    // A tax that charges nothing gives the amount itself.
    EXPECT_EQ(taxAmount(tax(Tax::kNoTax, 1000), Decimal(100, 5550)).value(), 5550);
    EXPECT_EQ(taxAmount(tax(Tax::kOnTop, 0), Decimal(100, 5550)).value(), 5550);
    EXPECT_EQ(taxAmount(tax(Tax::kOnTop, 1000, ""), Decimal(100, 5550)).value(), 0);
    EXPECT_EQ(taxAmount(tax(Tax::kOnTop, 1000), Decimal(1000, -5)).scale(), 1000u);
    EXPECT_EQ(taxAmount(tax(Tax::kOnTop, 1000), Decimal(1000, -5)).value(), 0);
}

TEST(Taxes, TaggedForms) {
    const Tax t = tax(Tax::kOnTop, 2000, "AB");
    Tlv plain = t.toTlv(1);
    EXPECT_EQ(plain.tag, 13106);
    EXPECT_EQ(plain.data, (Bytes{0x2E, 0x33, 0x01, 0x00, 0x02, 0x2F, 0x33, 0x02, 0x00, 0xD0, 0x07,
                                 0x30, 0x33, 0x02, 0x00, 'A', 'B'}));
    EXPECT_EQ(t.toTlv(5).tag, 0);

    Tax back;
    unsigned index = 9;
    ASSERT_TRUE(back.fromTlv(plain, index));
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(back.kind, Tax::kOnTop);
    EXPECT_EQ(back.rate, 2000);
    EXPECT_EQ(back.name, "AB");

    Tlv withSum = t.toTlv(4, Decimal(100, 256));
    EXPECT_EQ(withSum.tag, 13109);
    Decimal sum;
    ASSERT_TRUE(back.fromTlv(withSum, index, sum));
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(sum.value(), 256);
    EXPECT_FALSE(back.fromTlv(withSum, index)) << "a sum where none is expected";

    // Other children, undecodable children and other container tags fail.
    Tlv odd = plain;
    Tlv().setU8(tags::kSectionNumber, 1).encodeTo(odd.data);
    EXPECT_FALSE(back.fromTlv(odd, index));
    Tlv cut = plain;
    cut.data.pop_back();
    EXPECT_FALSE(back.fromTlv(cut, index));
    Tlv wrongTag = plain;
    wrongTag.tag = 13110;
    EXPECT_FALSE(back.fromTlv(wrongTag, index));

    // The rate keeps its low 14 bits; a name over 30 bytes is not taken; a
    // kind the record cannot hold reads as not set.
    Tlv raw;
    raw.setContainer(13105, {Tlv().setU8(13102, 7), Tlv().setU16(13103, 0xC3E8),
                             Tlv().setText(13104, std::string(31, 'x'))});
    ASSERT_TRUE(back.fromTlv(raw, index));
    EXPECT_EQ(back.rate, 1000);
    EXPECT_EQ(back.name, "");
    EXPECT_EQ(back.kind, Tax::kNotSet);
}

}  // namespace
