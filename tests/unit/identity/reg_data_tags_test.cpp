// The registration record as tagged values and as printed lines.

#include "config/reg_data_tags.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/cp866.h"
#include "printing/reg_data_print.h"

namespace {

RegData registered() {
    RegData r;
    r.setStorageNumber("9999078900012345");
    r.setTaxpayerNumber("7712345678");
    r.setRegText1("FIRST");
    r.setRegText2("SECOND");
    r.setRegText3("THIRD");
    r.setRegistrationTime(0x65000000);
    r.setRegistrationNumber(0x01020304);
    Tax vat;
    vat.kind = Tax::kOnTop;
    vat.rate = 2000;
    vat.name = "VAT";
    r.setTaxAt(1, vat);
    r.sealRegistration("0123456789", "key");
    return r;
}

Bytes tlv(std::uint16_t tag, const Bytes& value) {
    Bytes b;
    le::put16(b, tag);
    le::put16(b, static_cast<std::uint16_t>(value.size()));
    le::putBytes(b, value);
    return b;
}

TEST(RegistrationTags, OneTagAtATime) {
    const RegData r = registered();
    Bytes encoded;
    EXPECT_EQ(registrationTag(r, 11012, encoded), ResultCode::Success);
    EXPECT_EQ(encoded, (Bytes{0x04, 0x2B, 4, 0, 0x00, 0x00, 0x00, 0x65}));
    EXPECT_EQ(registrationTag(r, 11041, encoded), ResultCode::Success);
    EXPECT_EQ(encoded, tlv(11041, {4, 3, 2, 1}));
    EXPECT_EQ(registrationTag(r, 11187, encoded), ResultCode::Success);
    EXPECT_EQ(encoded, tlv(11187, toBytes("SECOND")));
    EXPECT_EQ(registrationTag(r, 11018, encoded), ResultCode::Success);
    EXPECT_EQ(encoded, tlv(11018, toBytes("7712345678")));

    // Tax index 1: kind, rate, name.
    EXPECT_EQ(registrationTag(r, 13106, encoded), ResultCode::Success);
    Bytes tax = tlv(13102, {2});
    le::putBytes(tax, tlv(13103, {0xD0, 0x07}));
    le::putBytes(tax, tlv(13104, toBytes("VAT")));
    EXPECT_EQ(encoded, tlv(13106, tax));

    EXPECT_EQ(registrationTag(r, 11020, encoded), ResultCode::UnknownRegistrationTag);
    EXPECT_TRUE(encoded.empty());
    EXPECT_EQ(registrationTag(r, 13110, encoded), ResultCode::UnknownRegistrationTag);
}

TEST(RegistrationTags, WholeRecord) {
    const RegData r = registered();
    Bytes expected = tlv(11037, toBytes(std::string("9999078900012345") + '\0'));
    le::putBytes(expected, tlv(11018, toBytes("7712345678")));
    le::putBytes(expected, tlv(11048, toBytes("FIRST")));
    le::putBytes(expected, tlv(11187, toBytes("SECOND")));
    le::putBytes(expected, tlv(11009, toBytes("THIRD")));
    le::putBytes(expected, tlv(11041, {4, 3, 2, 1}));
    Bytes onlyValidTax;
    registrationTag(r, 13106, onlyValidTax);
    le::putBytes(expected, onlyValidTax);
    EXPECT_EQ(registrationTlv(r), expected);
}

TEST(RegistrationTags, TaxesAsStored) {
    // A tax stored without a name is not valid: command 68 still shows its
    // kind and rate, the record's tagged form leaves it out.
    RegData r = registered();
    Bytes unnamed(32, 0);
    le::store16(unnamed.data(), 1500 | (1u << 14));
    r.setTaxBytes(3, unnamed);
    Bytes encoded;
    EXPECT_EQ(registrationTag(r, 13108, encoded), ResultCode::Success);
    Bytes tax = tlv(13102, {1});
    le::putBytes(tax, tlv(13103, {0xDC, 0x05}));
    le::putBytes(tax, tlv(13104, {}));
    EXPECT_EQ(encoded, tlv(13108, tax));

    Bytes onlyValidTax;
    registrationTag(r, 13106, onlyValidTax);
    const Bytes whole = registrationTlv(r);
    EXPECT_EQ(Bytes(whole.end() - static_cast<std::ptrdiff_t>(onlyValidTax.size()), whole.end()),
              onlyValidTax);
    EXPECT_EQ(std::search(whole.begin(), whole.end(), encoded.begin(), encoded.end()), whole.end());

    // Past the five: an all-zero record.
    const Tax past = r.taxAt(5);
    EXPECT_EQ(past.kind, 0);
    EXPECT_EQ(past.rate, 0);
    EXPECT_TRUE(past.name.empty());
}

TEST(RegistrationPrint, ValidRecordsOnly) {
    RegData r = registered();
    const std::string texts = registrationTextLines(r);
    const std::size_t first = texts.find("FIRST\n");
    ASSERT_NE(first, std::string::npos) << texts;
    EXPECT_LT(first, texts.find("SECOND\n"));
    EXPECT_LT(texts.find("SECOND\n"), texts.find("THIRD\n"));

    const std::string cut = "\x1B\x33\xFF\x0A\x1B\x69";
    const std::string numbers = registrationNumberLines(r, false);
    EXPECT_NE(numbers.find(cp866::fromUtf8("ИНН")), std::string::npos);
    EXPECT_LT(numbers.find("7712345678"), numbers.find(cp866::fromUtf8("ФН")));
    EXPECT_EQ(numbers.find(cut), std::string::npos);
    const std::string withCut = registrationNumberLines(r, true);
    EXPECT_EQ(withCut.substr(withCut.size() - cut.size()), cut);

    // Full-length numbers: the zero byte that ends their text stays off the
    // paper and out of the padding.
    ASSERT_TRUE(r.setTaxpayerNumber("771234567890"));
    ASSERT_TRUE(r.setStorageNumber("9999078900001234"));
    ASSERT_EQ(r.taxpayerNumberText().size(), 13u);
    const std::string full = registrationNumberLines(r, false);
    EXPECT_EQ(full.find(std::string("7890\0", 5)), std::string::npos);
    EXPECT_EQ(full.find(std::string("1234\0", 5)), std::string::npos);
    const std::string innLine =
        cp866::fromUtf8("ИНН") + std::string(44 - 3 - 12, ' ') + "771234567890\n";
    EXPECT_NE(full.find(innLine), std::string::npos) << "the value ends at the right margin";

    r.setRegistrationTime(0);
    EXPECT_EQ(registrationTextLines(r), "");
    EXPECT_EQ(registrationNumberLines(r, true), "");
}

}  // namespace
