#include "common/bytes.h"

#include <gtest/gtest.h>

TEST(Bytes, LittleEndianRoundTrip) {
    Bytes b;
    le::put8(b, 0xAB);
    le::put16(b, 0x1234);
    le::put32(b, 0xDEADBEEF);
    le::put64(b, 0x0102030405060708ull);
    EXPECT_EQ(hexUpper(b), "AB3412EFBEADDE0807060504030201");
    le::Reader r(b);
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.u64(), 0x0102030405060708ull);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(Bytes, ReaderNeverReadsPastTheEnd) {
    const Bytes b{1, 2, 3};
    le::Reader r(b);
    EXPECT_EQ(r.u16(), 0x0201);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.bytes(1).empty());
}

TEST(Bytes, HexParsing) {
    Bytes out;
    EXPECT_TRUE(parseHex("04 01 00 33 9c FD", out));
    EXPECT_EQ(out, (Bytes{0x04, 0x01, 0x00, 0x33, 0x9C, 0xFD}));
    EXPECT_FALSE(parseHex("123", out));
    EXPECT_FALSE(parseHex("zz", out));
    EXPECT_TRUE(parseHex("", out));
    EXPECT_TRUE(out.empty());
}
