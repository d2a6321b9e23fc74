#include "host/tool/values.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace hosttool;

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

TEST(HostValues, QuantitiesKeepTheirDecimals) {
    std::int64_t v = 0;
    std::uint8_t digits = 0;
    ASSERT_TRUE(parseQuantity("2", v, digits));
    EXPECT_EQ(v, 2);
    EXPECT_EQ(digits, 0);
    ASSERT_TRUE(parseQuantity("0.250", v, digits));
    EXPECT_EQ(v, 250);
    EXPECT_EQ(digits, 3);
    for (const char* bad : {"", "1.", ".5", "-1", "1,5", "1.5kg", "0.1234567"})
        EXPECT_FALSE(parseQuantity(bad, v, digits)) << bad;
}

TEST(HostValues, LocalTimesBothWaysAndOnlyRealDates) {
    std::uint32_t seconds = 0;
    std::string error;
    ASSERT_TRUE(parseTime("2027-01-05T09:30:00", seconds, error)) << error;
    EXPECT_EQ(localTimeText(seconds), "2027-01-05T09:30:00");
    std::uint32_t spaced = 0;
    ASSERT_TRUE(parseTime("2027-01-05 09:30:00", spaced, error));
    EXPECT_EQ(spaced, seconds);
    ASSERT_TRUE(parseTime("1700000000", seconds, error));
    EXPECT_EQ(seconds, 1700000000u);

    // A date alone is its midnight, or its last second for the end of a period.
    std::uint32_t from = 0, to = 0;
    ASSERT_TRUE(parseTime("2027-01-31", from, error));
    ASSERT_TRUE(parseTime("2027-01-31", to, error, true));
    EXPECT_EQ(localTimeText(from), "2027-01-31T00:00:00");
    EXPECT_EQ(to - from, 86399u);

    // 30 February would become 2 March: refused, saying why.
    EXPECT_FALSE(parseTime("2027-02-30T10:00:00", seconds, error));
    EXPECT_NE(error.find("not a date that exists"), std::string::npos) << error;
    EXPECT_FALSE(parseTime("2027-02-29", seconds, error)) << "2027 is no leap year";
    EXPECT_TRUE(parseTime("2028-02-29", seconds, error)) << error;
    for (const char* bad : {"2027-01-05T09:30:00Z", "yesterday", "4294967296", "-5"})
        EXPECT_FALSE(parseTime(bad, seconds, error)) << bad;
}

TEST(HostValues, ARefusedNumberSaysWhatIsWrongWithIt) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case amounts[] = {
        {"-5", "the amount -5 is negative"},
        {"1,50", "the amount 1,50 has a decimal comma: write 1.50"},
        {"1.505", "the amount 1.505 has more than two decimals"},
        {"99999999999999999999", "the amount 99999999999999999999 is too large"},
        {"12345678901234567", "the amount 12345678901234567 is too large"},
        {"1e3", "\"1e3\" is not the amount, as 45.50"},
        {"", "\"\" is not the amount, as 45.50"},
    };
    for (const Case& c : amounts) {
        std::int64_t v = 0;
        std::string error;
        EXPECT_FALSE(parseHundredths(c.text, v, "the amount", error)) << c.text;
        EXPECT_EQ(error, c.says);
    }
    std::int64_t v = 0;
    std::uint8_t digits = 0;
    std::string error;
    EXPECT_FALSE(parseQuantity("-2", v, digits, error));
    EXPECT_EQ(error, "the quantity -2 is negative");
    EXPECT_FALSE(parseQuantity("0.1234567", v, digits, error));
    EXPECT_EQ(error, "the quantity 0.1234567 has more than 6 decimals");
    EXPECT_FALSE(parseQuantity("1234567890123456", v, digits, error));
    EXPECT_EQ(error, "the quantity 1234567890123456 is too large");
}
