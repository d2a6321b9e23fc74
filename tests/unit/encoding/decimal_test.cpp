#include "encoding/decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The rounding mode the tests' source gives; each test starts at 0.
std::uint8_t testRoundingMode = 0;

class DecimalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testRoundingMode = 0;
        setRoundingModeSource([] { return testRoundingMode; });
    }
    void TearDown() override { setRoundingModeSource(nullptr); }

    void setRoundingMode(std::uint8_t mode) { testRoundingMode = mode; }
};

TEST_F(DecimalTest, TextForms) {
    EXPECT_EQ(Decimal().toText(), "0.00");
    EXPECT_EQ(Decimal(100, 12345).toText(), "123.45");
    EXPECT_EQ(Decimal(100, 5).toText(), "0.05");
    EXPECT_EQ(Decimal(100, -5).toText(), "-0.05");
    EXPECT_EQ(Decimal(100, -12345).toText(), "-123.45");
    EXPECT_EQ(Decimal(1, 7).toText(), "7");
    EXPECT_EQ(Decimal(0, -7).toText(), "-7");
    EXPECT_EQ(Decimal(1000, 1500).toText(), "1.500");
    EXPECT_EQ(Decimal(100, std::numeric_limits<std::int64_t>::min()).toText(),
              "-92233720368547758.08");
}

TEST_F(DecimalTest, ConstructionAndFractionDigits) {
    EXPECT_EQ(Decimal(FractionDigits{3}, 1500).scale(), 1000u);
    EXPECT_EQ(Decimal(FractionDigits{0}).scale(), 1u);
    EXPECT_EQ(Decimal(FractionDigits{-2}).scale(), 100u) << "a negative count keeps the scale";
    EXPECT_EQ(Decimal(100).fractionDigits(), 2);
    EXPECT_EQ(Decimal(1000).fractionDigits(), 3);
    EXPECT_EQ(Decimal(1).fractionDigits(), 0);
    EXPECT_EQ(Decimal(0).fractionDigits(), 0);
    // No 32-bit scale has 10 fraction digits.
    EXPECT_TRUE(Decimal(FractionDigits{10}).overflowed());
    EXPECT_FALSE(Decimal(FractionDigits{9}).overflowed());
}

TEST_F(DecimalTest, AddSubtractAtTheLargerScale) {
    Decimal sum = Decimal(10, 15) + Decimal(100, 25);
    EXPECT_EQ(sum.scale(), 100u);
    EXPECT_EQ(sum.value(), 175);
    Decimal difference = Decimal(100, 25) - Decimal(10, 15);
    EXPECT_EQ(difference.scale(), 100u);
    EXPECT_EQ(difference.value(), -125);

    Decimal target(100, 100);
    target += Decimal(0, 99);
    EXPECT_EQ(target.value(), 100) << "adding a scale-0 number changes nothing";
    Decimal empty(0, 0);
    empty += Decimal(1000, 7);
    EXPECT_EQ(empty.scale(), 1000u) << "adding into a scale-0 number copies the other";
    EXPECT_EQ(empty.value(), 7);
    target += Decimal(1000, 5);
    EXPECT_EQ(target.scale(), 1000u);
    EXPECT_EQ(target.value(), 1005);

    // A scale-0 operand counts as a whole number; no division by zero.
    Decimal mixed = Decimal(0, 5) + Decimal(100, 1);
    EXPECT_EQ(mixed.scale(), 100u);
    EXPECT_EQ(mixed.value(), 501);
}

TEST_F(DecimalTest, Equality) {
    EXPECT_TRUE(Decimal(100, 10) == Decimal(10, 1));
    EXPECT_TRUE(Decimal(10, 15) == Decimal(100, 150));
    EXPECT_FALSE(Decimal(100, 11) == Decimal(10, 1));
    EXPECT_TRUE(Decimal(0, 3) == Decimal(1, 3));
}

TEST_F(DecimalTest, RescaleRoundsHalfUpByDefault) {
    EXPECT_EQ(Decimal(1000, 1245).rescaled(100).value(), 125);
    EXPECT_EQ(Decimal(1000, 1235).rescaled(100).value(), 124);
    EXPECT_EQ(Decimal(1000, 1244).rescaled(100).value(), 124);
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 3);
    EXPECT_EQ(Decimal(10, 35).rescaled(1).value(), 4);
    // Only the first dropped digit counts.
    EXPECT_EQ(Decimal(10000, 12449).rescaled(100).value(), 124);
}

TEST_F(DecimalTest, RescaleRoundsHalfToEvenAtMode1) {
    setRoundingMode(1);
    EXPECT_EQ(Decimal(1000, 1235).rescaled(100).value(), 124);
    EXPECT_EQ(Decimal(1000, 1245).rescaled(100).value(), 124);
    EXPECT_EQ(Decimal(10000, 12451).rescaled(100).value(), 124);
    EXPECT_EQ(Decimal(1000, 1246).rescaled(100).value(), 125);
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 2);
    EXPECT_EQ(Decimal(10, 35).rescaled(1).value(), 4);

    // The mode is read at every call.
    setRoundingMode(0);
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 3);
    setRoundingMode(7);
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 3) << "any mode but 1 rounds half up";
}

TEST_F(DecimalTest, RescaleNegativeValuesSymmetrically) {
    EXPECT_EQ(Decimal(10, -25).rescaled(1).value(), -3);
    EXPECT_EQ(Decimal(1000, -1244).rescaled(100).value(), -124);
    setRoundingMode(1);
    EXPECT_EQ(Decimal(10, -25).rescaled(1).value(), -2);
    EXPECT_EQ(Decimal(10, -35).rescaled(1).value(), -4);
    EXPECT_EQ(Decimal(1, std::numeric_limits<std::int64_t>::min()).rescaled(1).value(),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Decimal(10, std::numeric_limits<std::int64_t>::min()).rescaled(1).value(),
              -922337203685477581);
}

TEST_F(DecimalTest, RescaleToMoreDigitsNeverRounds) {
    Decimal d = Decimal(100, 125).rescaled(1000);
    EXPECT_EQ(d.scale(), 1000u);
    EXPECT_EQ(d.value(), 1250);
    EXPECT_EQ(d.toText(), "1.250");
    EXPECT_EQ(Decimal(0, 4).rescaled(100).value(), 400);
}

TEST_F(DecimalTest, FromDoubleRoundsHalfToEvenOnTheFirstDroppedDigit) {
    EXPECT_EQ(Decimal::fromDouble(100, 0.125).value(), 12);
    EXPECT_EQ(Decimal::fromDouble(100, 0.135).value(), 14);
    // The nearest doubles lie just below: the digit computed in floating
    // point is then 5 and the even neighbour wins.
    EXPECT_EQ(Decimal::fromDouble(100, 1.005).value(), 100);
    EXPECT_EQ(Decimal::fromDouble(100, 2.675).value(), 268);
    EXPECT_EQ(Decimal::fromDouble(100, 1.016).value(), 102);
    EXPECT_EQ(Decimal::fromDouble(100, 12.949).value(), 1295);
    EXPECT_EQ(Decimal::fromDouble(1000, 1.5).value(), 1500);
    // Negative inputs round their magnitude.
    EXPECT_EQ(Decimal::fromDouble(100, -1.016).value(), -102);
    EXPECT_EQ(Decimal::fromDouble(100, -0.125).value(), -12);
}

TEST_F(DecimalTest, MultiplyRescalesToTheGivenScale) {
    // 12.50 x 0.333 is 4.1625 at scale 100000.
    Decimal cost = Decimal::multiply(Decimal(100, 1250), Decimal(1000, 333), 100);
    EXPECT_EQ(cost.scale(), 100u);
    EXPECT_EQ(cost.value(), 416);
    setRoundingMode(1);
    EXPECT_EQ(Decimal::multiply(Decimal(100, 1250), Decimal(1000, 333), 100).value(), 416);
    EXPECT_EQ(Decimal::multiply(Decimal(100, 9999), Decimal(1000, 1000), 100).value(), 9999);
    EXPECT_EQ(Decimal::multiply(Decimal(100, 1000), Decimal(1, 3), 100).value(), 3000);
    EXPECT_FALSE(cost.overflowed());
}

TEST_F(DecimalTest, OverflowIsReportedNotWrapped) {
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();

    // A price times a quantity beyond 64 bits.
    Decimal cost =
        Decimal::multiply(Decimal(100, 100'000'000'000), Decimal(1000, 200'000'000'000), 100);
    EXPECT_TRUE(cost.overflowed());
    EXPECT_FALSE(cost == cost) << "an overflowed number equals nothing";

    EXPECT_TRUE((Decimal(100, max) + Decimal(100, 1)).overflowed());
    EXPECT_TRUE((Decimal(100, -max) - Decimal(100, 2)).overflowed());
    // Raising to the larger scale overflows too.
    EXPECT_TRUE((Decimal(1, max / 10) + Decimal(100, 0)).overflowed());
    EXPECT_TRUE(Decimal(1, max / 10).rescaled(100).overflowed());
    Decimal total(100, max);
    total += Decimal(100, 1);
    EXPECT_TRUE(total.overflowed());

    // The flag travels through every later operation.
    Decimal later = (cost + Decimal(100, 1)).rescaled(10) - Decimal(10, 1);
    EXPECT_TRUE(later.overflowed());
    Decimal sum;
    sum += cost;
    EXPECT_TRUE(sum.overflowed());

    EXPECT_TRUE(Decimal::fromDouble(100, 1e300).overflowed());
    EXPECT_TRUE(Decimal::fromDouble(100, -1e17).overflowed());
    EXPECT_TRUE(Decimal::fromDouble(100, std::numeric_limits<double>::quiet_NaN()).overflowed());

    // Results that fit carry no flag.
    EXPECT_FALSE((Decimal(100, max - 1) + Decimal(100, 1)).overflowed());
    EXPECT_FALSE(Decimal::fromDouble(100, 1e15).overflowed());
}

}  // namespace
