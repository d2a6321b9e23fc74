#include "common/crc.h"

#include <gtest/gtest.h>

TEST(Crc, StandardCheckValuesAndTheFrameExample) {
    const Bytes digits = toBytes("123456789");
    EXPECT_EQ(crc::crc16(digits), 0x29B1);
    EXPECT_EQ(crc::crc32(digits), 0xCBF43926u);
    // The version request 04 01 00 33 carries 9C FD.
    const Bytes lengthAndPayload{0x01, 0x00, 0x33};
    EXPECT_EQ(crc::crc16(lengthAndPayload), 0xFD9C);
    EXPECT_EQ(crc::crc16(nullptr, 0), 0xFFFF);
    EXPECT_EQ(crc::crc32(nullptr, 0), 0u);
}

TEST(Crc, IncrementalEqualsWhole) {
    const Bytes digits = toBytes("123456789");
    crc::Crc32 c;
    c.update(digits.data(), 4);
    c.update(digits.data() + 4, 5);
    EXPECT_EQ(c.value(), 0xCBF43926u);
    std::uint16_t v = crc::crc16Update(crc::kCrc16Init, digits.data(), 3);
    EXPECT_EQ(crc::crc16Update(v, digits.data() + 3, 6), 0x29B1);
}

TEST(Crc, TablesAreBuiltByTheShiftRule) {
    EXPECT_EQ(crc::crc16Table()[0], 0x0000);
    EXPECT_EQ(crc::crc16Table()[1], 0x1021);
    EXPECT_EQ(crc::crc16Table()[255], 0x1EF0);
    EXPECT_EQ(crc::crc32Table()[1], 0x77073096u);
    EXPECT_EQ(crc::crc32Table()[255], 0x2D02EF8Du);
}
