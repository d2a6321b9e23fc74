// The registration record: its byte layout, text fields, validity and
// check value.

#include "config/reg_data.h"

#include <gtest/gtest.h>

namespace {

std::string testKey() {
    std::string key;
    for (int i = 0; i < 16; ++i) key.push_back(static_cast<char>(i));
    return key;
}

RegData filledRecord() {
    RegData r;
    r.setStorageNumber("99990789000123");
    r.setTaxpayerNumber("7712345678");
    r.setRegText1("FIRST");
    r.setRegText2("SECOND");
    r.setRegText3("THIRD");
    r.setRegistrationTime(1700000000);
    r.setRegistrationNumber(0x01020304);
    return r;
}

TEST(RegData, FreshRecordLayout) {
    RegData r;
    Bytes b = r.encode();
    ASSERT_EQ(b.size(), 968u);
    for (std::size_t i = 0; i < 5; ++i) {
        const std::size_t tax = 796 + 32 * i;
        EXPECT_EQ(b[tax], 0x00) << i;
        EXPECT_EQ(b[tax + 1], 0xC0) << i;
        b[tax + 1] = 0;
    }
    EXPECT_EQ(b, Bytes(968, 0)) << "all zero but the empty taxes";
    EXPECT_FALSE(r.isValid());
    EXPECT_FALSE(r.hasUsableTax());
}

TEST(RegData, FieldOffsets) {
    RegData r = filledRecord();
    r.sealRegistration("0123456789", testKey());
    Bytes b = r.encode();
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 16), toBytes(std::string("99990789000123\0\0", 16)));
    EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 28), toBytes(std::string("7712345678\0\0", 12)));
    EXPECT_EQ(std::string(b.begin() + 28, b.begin() + 33), "FIRST");
    EXPECT_EQ(std::string(b.begin() + 284, b.begin() + 290), "SECOND");
    EXPECT_EQ(std::string(b.begin() + 540, b.begin() + 545), "THIRD");
    EXPECT_EQ(le::u32(&b[956]), 1700000000u);
    EXPECT_EQ(le::u32(&b[960]), 0x01020304u);
    EXPECT_EQ(le::u32(&b[964]), r.checkValue());

    Bytes tax(32, 0);
    le::store16(tax.data(), 2000 | (1u << 14));
    tax[2] = 'T';
    r.setTaxBytes(2, tax);
    const Bytes withTax = r.encode();
    EXPECT_EQ(Bytes(withTax.begin() + 860, withTax.begin() + 892), tax);
    EXPECT_EQ(r.taxBytes(2), tax);
    EXPECT_EQ(r.taxBytes(5), Bytes(32, 0));
    r.setTaxBytes(5, tax);  // ignored
    EXPECT_EQ(RegData::decode(r.encode().data()).encode(), r.encode());
}

TEST(RegData, FullFieldsReadWithAnExtraZeroByte) {
    RegData r;
    const std::string text(256, 'A');
    ASSERT_TRUE(r.setRegText1(text));
    EXPECT_EQ(r.regText1(), text + '\0');
    EXPECT_EQ(r.regText1().size(), 257u);
    ASSERT_TRUE(r.setStorageNumber("1234567890123456"));
    EXPECT_EQ(r.storageNumberText().size(), 17u);

    // Too long: refused, the field keeps its text.
    EXPECT_FALSE(r.setRegText2(std::string(257, 'B')));
    EXPECT_FALSE(r.setStorageNumber("12345678901234567"));
    EXPECT_EQ(r.storageNumberText(), std::string("1234567890123456") + '\0');
    // A shorter text clears what was there.
    ASSERT_TRUE(r.setStorageNumber("12"));
    EXPECT_EQ(r.storageNumberText(), "12");
}

TEST(RegData, CheckValueAndValidity) {
    RegData r = filledRecord();
    EXPECT_FALSE(r.isValid()) << "check value 0";
    EXPECT_TRUE(r.sealRegistration("0123456789", testKey()));
    // CRC-32 over the storage number, the taxpayer number, a and b.
    EXPECT_EQ(r.checkValue(), 0xCC051523u);
    EXPECT_TRUE(r.checkRegistration("0123456789", testKey()));
    EXPECT_FALSE(r.checkRegistration("0123456788", testKey()));

    // A full storage number enters the check value with its extra zero byte.
    RegData full = filledRecord();
    full.setStorageNumber("1234567890123456");
    full.sealRegistration("0123456789", testKey());
    EXPECT_EQ(full.checkValue(), 0xC4FF0E0Eu);

    // Registration time 0 or negative: invalid, and never checks.
    RegData noTime = r;
    noTime.setRegistrationTime(0);
    EXPECT_FALSE(noTime.isValid());
    EXPECT_FALSE(noTime.checkRegistration("0123456789", testKey()));
    noTime.setRegistrationTime(0x80000000u);
    EXPECT_FALSE(noTime.isValid());

    RegData noText = r;
    noText.setRegText3("");
    EXPECT_FALSE(noText.isValid());
}

TEST(RegData, EqualityIgnoresTaxesAndNumber) {
    RegData a = filledRecord();
    a.sealRegistration("x", "y");
    RegData b = a;
    b.setRegistrationNumber(99);
    Bytes tax(32, 0);
    b.setTaxBytes(0, tax);
    EXPECT_EQ(a, b);
    b.setRegText2("OTHER");
    EXPECT_FALSE(a == b);
    RegData c = a;
    c.setRegistrationTime(1);
    EXPECT_FALSE(a == c);
}

TEST(RegData, UsableTaxAndDigitChecks) {
    RegData r;
    Bytes tax(32, 0);
    le::store16(tax.data(), 10000 | (2u << 14));  // rate above 99.99 %
    r.setTaxBytes(0, tax);
    EXPECT_FALSE(r.hasUsableTax());
    le::store16(tax.data(), 9999 | (0u << 14));
    r.setTaxBytes(4, tax);
    EXPECT_TRUE(r.hasUsableTax());

    const std::uint8_t storage[16] = {'1', '2', '3', '4', '5', '6', '7', '8',
                                      '9', '0', 0,   0,   0,   0,   0,   0};
    EXPECT_TRUE(acceptableStorageNumber(storage));
    std::uint8_t shortStorage[16];
    std::copy(storage, storage + 16, shortStorage);
    shortStorage[9] = 0;  // zero within the first ten
    EXPECT_FALSE(acceptableStorageNumber(shortStorage));
    const std::uint8_t taxpayer[12] = {'7', '7', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'X'};
    EXPECT_FALSE(acceptableTaxpayerNumber(taxpayer));
    const std::uint8_t taxpayerOk[12] = {'7', '7', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0};
    EXPECT_TRUE(acceptableTaxpayerNumber(taxpayerOk));
}

}  // namespace
