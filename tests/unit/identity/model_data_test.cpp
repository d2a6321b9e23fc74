// The factory record: its byte layout, validity and check value.

#include "config/model_data.h"

#include <gtest/gtest.h>

#include "common/cp866.h"

namespace {

std::string testKey() {
    std::string key;
    for (int i = 0; i < 16; ++i) key.push_back(static_cast<char>(i));
    return key;
}

TEST(ModelData, FreshRecordLayout) {
    ModelData m;
    Bytes b = m.encode();
    ASSERT_EQ(b.size(), 48u);
    EXPECT_EQ(b[0], 0x13);
    EXPECT_EQ(b[1], 0x82);
    for (std::size_t i = 2; i < 12; ++i) EXPECT_EQ(b[i], 0) << i;
    const std::string name = cp866::fromUtf8("ОКТА-80-Ф");
    ASSERT_EQ(name.size(), 9u);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 21), name);
    for (std::size_t i = 21; i < 48; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(m.modelName(), name);
    EXPECT_FALSE(m.isValid()) << "empty serial number, check value 0";
}

TEST(ModelData, SealAndCheck) {
    ModelData m;
    ASSERT_TRUE(m.setSerial("0123456789"));
    EXPECT_TRUE(m.sealModel(testKey()));
    // CRC-32 over "33299", "0123456789" and the key bytes 00 .. 0F.
    EXPECT_EQ(m.checkValue(), 0xC96B6A51u);
    Bytes b = m.encode();
    EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 12), "0123456789");
    EXPECT_EQ((Bytes{b[44], b[45], b[46], b[47]}), (Bytes{0x51, 0x6A, 0x6B, 0xC9}));
    EXPECT_TRUE(m.isValid());
    EXPECT_TRUE(m.checkModel(testKey()));
    EXPECT_FALSE(m.checkModel("another key"));

    // The record travels through its bytes unchanged.
    ModelData copy = ModelData::decode(b.data());
    EXPECT_EQ(copy, m);
    EXPECT_TRUE(copy.checkModel(testKey()));

    // With an empty key the text is code and serial alone.
    ModelData noKey;
    noKey.setSerial("0123456789");
    noKey.sealModel("");
    EXPECT_EQ(noKey.checkValue(), 0x253227F8u);
}

TEST(ModelData, SettersAndValidityRules) {
    ModelData m;
    m.setSerial("0123456789");
    m.sealModel(testKey());
    const Bytes before = m.encode();

    // Too long: refused, record unchanged.
    EXPECT_FALSE(m.setSerial("01234567890"));
    EXPECT_FALSE(m.setModelName(std::string(33, 'A')));
    EXPECT_EQ(m.encode(), before);

    // A shorter serial leaves no digits of the old one behind.
    EXPECT_TRUE(m.setSerial("42"));
    EXPECT_EQ(m.serialText(), "42");

    // A letter in the serial number: invalid even with a matching check value.
    ModelData letter;
    letter.setSerial("01234A6789");
    EXPECT_FALSE(letter.sealModel(testKey()));
    EXPECT_TRUE(letter.checkModel(testKey()));

    // A serial number filling all ten bytes reads whole, a full name too.
    Bytes raw = before;
    for (std::size_t i = 12; i < 44; ++i) raw[i] = 'N';
    ModelData full = ModelData::decode(raw.data());
    EXPECT_EQ(full.serialText(), "0123456789");
    EXPECT_EQ(full.modelName(), std::string(32, 'N'));

    // Model code 0, an empty name, check values 0 and FFFFFFFF are invalid.
    ModelData noCode = ModelData::decode(before.data());
    noCode.setModelCode(0);
    EXPECT_FALSE(noCode.isValid());
    ModelData noName = ModelData::decode(before.data());
    noName.setModelName("");
    EXPECT_FALSE(noName.isValid());
    Bytes erased = before;
    for (std::size_t i = 44; i < 48; ++i) erased[i] = 0xFF;
    EXPECT_FALSE(ModelData::decode(erased.data()).isValid());

    // Equality looks at code, name, serial and check value only.
    Bytes tail = before;
    tail[30] = 'x';  // past the name's terminator: same text
    EXPECT_EQ(ModelData::decode(tail.data()), ModelData::decode(before.data()));
    EXPECT_FALSE(ModelData::decode(erased.data()) == ModelData::decode(before.data()));
}

}  // namespace
