#pragma once
// Decimal: the fixed-point number that holds every amount, price, quantity
// and tax sum. A 64-bit signed count of units and the 32-bit scale that says
// how many units make one whole (100 for kopecks, 1000 for three decimal
// places). Amounts are at scale 100. Floating point is only ever an input.
//
// Arithmetic never wraps silently: a result whose 64-bit value (or whose
// floating-point input) does not fit carries the overflow flag, and every
// result made from a flagged number is flagged too. Callers that accept
// amounts from outside check overflowed() on the final result.

#include <cstdint>
#include <string>

// The register's rounding mode for rescaling: 1 rounds half to even, any
// other value half up. Every rescale to fewer fraction digits asks the
// installed source; the device settings install theirs (config/), so the
// mode is the one the host set. Until a source is installed the mode is 0.
constexpr std::uint8_t kRoundHalfEven = 1;
using RoundingModeSource = std::uint8_t (*)();
void setRoundingModeSource(RoundingModeSource source);

// A scale given as a count of fraction digits: 2 is scale 100.
struct FractionDigits {
    int count;
};

class Decimal {
  public:
    // Scale 100, value 0.
    Decimal() = default;
    explicit Decimal(std::uint32_t scale) : scale_(scale) {}
    Decimal(std::uint32_t scale, std::int64_t value) : scale_(scale), value_(value) {}
    // Scale 10^digits. A negative count leaves scale 100; a count above 9
    // (no such 32-bit scale) also leaves scale 100 and sets the overflow flag.
    explicit Decimal(FractionDigits digits, std::int64_t value = 0);

    // scale × x rounded half to even on the first dropped digit, that digit
    // computed in floating point. Negative inputs round their magnitude the
    // same way. A result outside the 64-bit range is 0 with the overflow flag.
    static Decimal fromDouble(std::uint32_t scale, double x);

    // a × b at `scale`: the raw values and the scales multiplied, the product
    // rescaled (with the register's rounding mode) to `scale`. Flagged when
    // the 64-bit product overflows.
    static Decimal multiply(const Decimal& a, const Decimal& b, std::uint32_t scale);

    std::uint32_t scale() const { return scale_; }
    std::int64_t value() const { return value_; }
    bool overflowed() const { return overflow_; }
    // Times the scale divides by 10 while above 1: 100 gives 2, 0 and 1 give 0.
    int fractionDigits() const;
    // value ÷ scale (the value itself at scale 0), for the percentage and tax
    // computations that work in floating point.
    double toDouble() const;

    // At the larger of the two scales.
    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    // Adding a number of scale 0 changes nothing; adding into a number of
    // scale 0 copies the other number.
    Decimal& operator+=(const Decimal& other);

    // Same scale and value, or values within the double machine epsilon of
    // each other (1.5 at scale 10 equals 1.50 at scale 100). An overflowed
    // number equals nothing.
    friend bool operator==(const Decimal& a, const Decimal& b);

    // This number at `scale`. Fewer fraction digits round by the register's
    // rounding mode, read from the device settings at every call: mode 1
    // rounds half to even on the first dropped digit, any other half up.
    // More fraction digits never round (and may overflow).
    Decimal rescaled(std::uint32_t scale) const;

    // "123.45", "-0.05", "1.500"; at scale 0 or 1 the plain integer.
    std::string toText() const;

  private:
    std::uint32_t scale_ = 100;
    std::int64_t value_ = 0;
    bool overflow_ = false;
};
