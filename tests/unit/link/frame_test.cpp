#include "link/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "common/crc.h"

TEST(Frame, EncodesTheVersionRequestExample) {
    EXPECT_EQ(frame::encode({0x33}), (Bytes{0x04, 0x01, 0x00, 0x33, 0x9C, 0xFD}));
}

TEST(Frame, ResponsePayloadAndItsSizeLimit) {
    CoreApiResult r(0, 0x01020304, Bytes{0xAA});
    EXPECT_EQ(frame::responsePayload(r), (Bytes{0x00, 0x04, 0x03, 0x02, 0x01, 0xAA}));
    r.data.assign(4092, 0x55);
    EXPECT_EQ(frame::responsePayload(r).size(), 4097u);
    r.data.assign(4093, 0x55);
    EXPECT_EQ(frame::responsePayload(r), Bytes{11});
}

TEST(Frame, RequestsWithoutAWholeIdentifierHaveNoneAndNoData) {
    CoreTransaction t = frame::parseRequest({0x33, 0x01, 0x02});
    EXPECT_EQ(t.command, 0x33);
    EXPECT_EQ(t.id, 0u);
    EXPECT_TRUE(t.data.empty());
    t = frame::parseRequest({0x01, 0x05, 0x00, 0x00, 0x00, 0x07, 0x08});
    EXPECT_EQ(t.id, 5u);
    EXPECT_EQ(t.data, (Bytes{0x07, 0x08}));
}

TEST(Frame, TransactionIdentifierIsTheCrcOfCommandTimeDataAndTwoRandomBytes) {
    std::srand(1234);
    const int r1 = std::rand() & 0xFF, r2 = std::rand() & 0xFF;
    std::srand(1234);
    const std::uint32_t id = frame::makeTransactionId(0x33, 0x11223344, {0xAB});
    const Bytes input{0x33, 0x44, 0x33, 0x22, 0x11, 0xAB, static_cast<std::uint8_t>(r1),
                      static_cast<std::uint8_t>(r2)};
    EXPECT_EQ(id, crc::crc32(input));
}

namespace {

// Four data bytes that make the CRC-32 of (command, time, data, r1, r2) zero.
// Over messages of one length the CRC is affine in the message bits, so the
// 32 data bits are solved for by elimination over GF(2).
Bytes dataForZeroCrc(std::uint8_t command, std::uint32_t time, std::uint8_t r1, std::uint8_t r2) {
    auto crcWith = [&](std::uint32_t dataBits) {
        Bytes m{command};
        le::put32(m, time);
        le::put32(m, dataBits);
        m.push_back(r1);
        m.push_back(r2);
        return crc::crc32(m);
    };
    const std::uint32_t base = crcWith(0);
    // Rows: (effect of a combination of data bits on the CRC, the combination).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> rows;
    for (int bit = 0; bit < 32; ++bit) rows.push_back({crcWith(1u << bit) ^ base, 1u << bit});
    std::uint32_t target = base, solution = 0;
    for (int pivot = 31; pivot >= 0; --pivot) {
        auto it = std::find_if(rows.begin(), rows.end(),
                               [&](const auto& r) { return (r.first >> pivot) & 1; });
        if (it == rows.end()) continue;
        const auto row = *it;
        rows.erase(it);
        for (auto& r : rows)
            if ((r.first >> pivot) & 1) r = {r.first ^ row.first, r.second ^ row.second};
        if ((target >> pivot) & 1) {
            target ^= row.first;
            solution ^= row.second;
        }
    }
    Bytes data;
    le::put32(data, solution);
    return data;
}

}  // namespace

TEST(Frame, GeneratedIdentifiersAreNeverZero) {
    std::srand(99);
    const auto r1 = static_cast<std::uint8_t>(std::rand() & 0xFF);
    const auto r2 = static_cast<std::uint8_t>(std::rand() & 0xFF);
    const Bytes data = dataForZeroCrc(0x01, 1700000000, r1, r2);
    Bytes whole{0x01};
    le::put32(whole, 1700000000);
    le::putBytes(whole, data);
    whole.push_back(r1);
    whole.push_back(r2);
    ASSERT_EQ(crc::crc32(whole), 0u) << "the test input must reach the zero identifier";
    std::srand(99);
    EXPECT_NE(frame::makeTransactionId(0x01, 1700000000, data), 0u);
}
