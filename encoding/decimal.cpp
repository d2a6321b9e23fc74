#include "encoding/decimal.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>

namespace {

std::atomic<RoundingModeSource> roundingSource{nullptr};

std::uint8_t roundingMode() {
    const RoundingModeSource source = roundingSource.load();
    return source ? source() : 0;
}

// Scales 0 and 1 both mean a whole number.
std::uint64_t effective(std::uint64_t scale) { return scale == 0 ? 1 : scale; }

std::uint64_t magnitude(std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// m is at most 2^63 here; 2^63 with a minus sign is the lowest 64-bit value.
std::int64_t withSign(std::uint64_t m, bool negative) {
    return negative ? static_cast<std::int64_t>(0 - m) : static_cast<std::int64_t>(m);
}

// Whether the first dropped digit d rounds the kept magnitude q up.
bool roundsUp(std::uint64_t q, std::uint64_t d) {
    if (roundingMode() == kRoundHalfEven) return d > 5 || (d == 5 && q % 2 == 1);
    return d >= 5;
}

// v at scale `from` brought to scale `to`; false when the result overflows.
// Fewer fraction digits round the magnitude on the first dropped digit only,
// so negative numbers round symmetrically to positive ones.
bool scaleValue(std::int64_t v, std::uint64_t from, std::uint64_t to, std::int64_t& out) {
    from = effective(from);
    to = effective(to);
    if (from == to) {
        out = v;
        return true;
    }
    if (to > from) {
        if (to % from == 0)
            return !__builtin_mul_overflow(v, static_cast<std::int64_t>(to / from), &out);
        std::int64_t product = 0;
        if (__builtin_mul_overflow(v, static_cast<std::int64_t>(to), &product)) return false;
        out = product / static_cast<std::int64_t>(from);
        return true;
    }
    const std::uint64_t k = from / to;
    const std::uint64_t m = magnitude(v);
    std::uint64_t q = m / k;
    const std::uint64_t d = k >= 10 ? (m % k) / (k / 10) : 0;
    if (roundsUp(q, d)) ++q;
    out = withSign(q, v < 0);
    return true;
}

// a ± b at the larger scale, each value first raised to it.
Decimal combine(const Decimal& a, const Decimal& b, bool subtract, bool& overflow) {
    const std::uint32_t scale = std::max(a.scale(), b.scale());
    std::int64_t av = a.value();
    std::int64_t bv = b.value();
    if (a.scale() != b.scale()) {
        overflow |= __builtin_mul_overflow(
            av, static_cast<std::int64_t>(effective(scale) / effective(a.scale())), &av);
        overflow |= __builtin_mul_overflow(
            bv, static_cast<std::int64_t>(effective(scale) / effective(b.scale())), &bv);
    }
    std::int64_t sum = 0;
    overflow |=
        subtract ? __builtin_sub_overflow(av, bv, &sum) : __builtin_add_overflow(av, bv, &sum);
    return Decimal(scale, sum);
}

}  // namespace

void setRoundingModeSource(RoundingModeSource source) { roundingSource.store(source); }

Decimal::Decimal(FractionDigits digits, std::int64_t value) : value_(value) {
    if (digits.count < 0) return;
    if (digits.count > 9) {
        overflow_ = true;
        return;
    }
    std::uint32_t scale = 1;
    for (int i = 0; i < digits.count; ++i) scale *= 10;
    scale_ = scale;
}

Decimal Decimal::fromDouble(std::uint32_t scale, double x) {
    Decimal r(scale);
    double y = static_cast<double>(scale) * x;
    const bool negative = y < 0;
    y = std::fabs(y);
    if (!(y * 10 < 9.2e18)) {  // also refuses NaN
        r.overflow_ = true;
        return r;
    }
    const double b = std::trunc(std::round(y * 10) / 10);
    const long long c = std::llround((y - b) * 10);
    auto v = static_cast<std::int64_t>(b);
    if (c > 5 || (c == 5 && v % 2 != 0)) ++v;
    r.value_ = negative ? -v : v;
    return r;
}

Decimal Decimal::multiply(const Decimal& a, const Decimal& b, std::uint32_t scale) {
    Decimal r(scale);
    std::int64_t product = 0;
    bool overflow = a.overflow_ || b.overflow_;
    overflow |= __builtin_mul_overflow(a.value_, b.value_, &product);
    const std::uint64_t productScale = effective(a.scale_) * effective(b.scale_);
    overflow |= !scaleValue(product, productScale, scale, r.value_);
    r.overflow_ = overflow;
    return r;
}

int Decimal::fractionDigits() const {
    int digits = 0;
    for (std::uint32_t s = scale_; s > 1; s /= 10) ++digits;
    return digits;
}

double Decimal::toDouble() const {
    const auto v = static_cast<double>(value_);
    return scale_ == 0 ? v : v / static_cast<double>(scale_);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    bool overflow = a.overflow_ || b.overflow_;
    Decimal r = combine(a, b, false, overflow);
    r.overflow_ = overflow;
    return r;
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    bool overflow = a.overflow_ || b.overflow_;
    Decimal r = combine(a, b, true, overflow);
    r.overflow_ = overflow;
    return r;
}

Decimal& Decimal::operator+=(const Decimal& other) {
    if (other.scale_ == 0) return *this;
    if (scale_ == 0) return *this = other;
    return *this = *this + other;
}

bool operator==(const Decimal& a, const Decimal& b) {
    if (a.overflow_ || b.overflow_) return false;
    if (a.scale_ == b.scale_ && a.value_ == b.value_) return true;
    return std::fabs(a.toDouble() - b.toDouble()) <= DBL_EPSILON;
}

Decimal Decimal::rescaled(std::uint32_t scale) const {
    Decimal r(scale);
    if (scale == scale_) {
        r.value_ = value_;
        r.overflow_ = overflow_;
        return r;
    }
    r.overflow_ = overflow_ || !scaleValue(value_, scale_, scale, r.value_);
    return r;
}

std::string Decimal::toText() const {
    if (scale_ <= 1) return std::to_string(static_cast<long long>(value_));
    const std::uint64_t m = magnitude(value_);
    const auto digits = static_cast<std::size_t>(fractionDigits());
    std::string fraction = std::to_string(m % scale_);
    if (fraction.size() < digits) fraction.insert(0, digits - fraction.size(), '0');
    fraction.resize(digits);
    std::string text = value_ < 0 ? "-" : "";
    return text + std::to_string(m / scale_) + "." + fraction;
}
