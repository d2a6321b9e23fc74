#include "host/values.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace hostkit;

TEST(HostValues, HundredthsBothWays) {
    EXPECT_EQ(hundredthsText(1000), "10.00");
    EXPECT_EQ(hundredthsText(5), "0.05");
    EXPECT_EQ(hundredthsText(-5), "-0.05");
    EXPECT_EQ(hundredthsText(INT64_MIN), "-92233720368547758.08");

    std::int64_t v = 0;
    EXPECT_TRUE(parseHundredths("10", v));
    EXPECT_EQ(v, 1000);
    EXPECT_TRUE(parseHundredths("10.5", v));
    EXPECT_EQ(v, 1050);
    EXPECT_TRUE(parseHundredths("0.07", v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"", ".5", "10.", "10.505", "-1", "1e3", "1,50", "12345678901234567"})
        EXPECT_FALSE(parseHundredths(bad, v)) << bad;
}

TEST(HostValues, LocalTimesBothWays) {
    std::uint32_t seconds = 0;
    ASSERT_TRUE(parseTime("2027-01-05T09:30:00", seconds));
    EXPECT_EQ(localTimeText(seconds), "2027-01-05T09:30:00");
    std::uint32_t spaced = 0;
    ASSERT_TRUE(parseTime("2027-01-05 09:30:00", spaced));
    EXPECT_EQ(spaced, seconds);
    ASSERT_TRUE(parseTime("1700000000", seconds));
    EXPECT_EQ(seconds, 1700000000u);
    for (const char* bad : {"2027-01-05", "2027-01-05T09:30:00Z", "yesterday", "4294967296"})
        EXPECT_FALSE(parseTime(bad, seconds)) << bad;
}
