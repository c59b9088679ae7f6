// How a real is written in decimal: its mantissa and power of ten, and the
// digits it needs.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>

namespace tgd {

// The relative precision assumed for a single float.
inline constexpr float real_precision = 5 * 1.2e-7f;

// 10^n, each the very value std::pow gives (computed once by it), so that
// digits derived from it do not change; a table over the exponents floats
// reach.
class PowersOfTen {
public:
    PowersOfTen();
    double operator()(int n) const {
        if (n < -kReach || n > kReach) return std::pow(10.0, n);
        const int at = n + kReach;
        return table_[static_cast<std::size_t>(at)];
    }

private:
    static constexpr int kReach = 50;
    std::array<double, 2 * kReach + 1> table_{};
};
extern const PowersOfTen power_of_ten;

// x = mantissa * 10^exponent with 1 <= |mantissa| < 10 carrying the sign
// of x; both 0 for x = 0.
void zpowrz_(float x, float& mantissa, int& exponent);

// Digits before the point (0 when |x| < 1), significant digits needed (at
// most 7) and digits after the point that fixed notation then needs
// (negative when even the units digit is not significant).  Computed in
// single precision; for about 2% of values the count falls short of the
// stated precision, which the free-format encoder makes up for.
void zrrepz_(float x, int& nint, int& ndec, int& nsig);

// What zrrepz_ finds, returned whole: the encoders' form of it, inline so
// that the three counts stay in registers.
struct DigitCount {
    int nint = 1, ndec = 0, nsig = 1;
};

namespace realrep_detail {
inline constexpr int max_significant = 7;
// The steps of the digit search, 1, 0.1, 0.01, ... each the product of the
// one before and 0.1f in single precision.
inline constexpr std::array<float, max_significant - 1> digit_steps = [] {
    std::array<float, max_significant - 1> p{};
    float step = 1.0f;
    for (float& s : p) {
        s = step;
        step *= 0.1f;
    }
    return p;
}();
}  // namespace realrep_detail

// In single precision, step by step: the digit count is part of what the
// deferred-graphics files hold, so it must not drift with the arithmetic.
// Where this count is too few for a value to read back within the stated
// precision, the free-format encoder adds digits.
inline DigitCount digit_count(float x) {
    using realrep_detail::digit_steps;
    using realrep_detail::max_significant;
    float m;
    int e;
    zpowrz_(std::fabs(x), m, e);
    if (!std::isfinite(m)) return {};
    // A mantissa that rounds to 10 counts as the next power.
    if (m >= 10.0f * (1.0f - real_precision)) {
        ++e;
        m = 1.0f;
    }
    const int nint = e + 1 < 0 ? 0 : e + 1;
    // The fewest digits whose rounding lies within the precision of m; every
    // step is tried at once (they do not depend on each other), the first
    // that holds counts.
    // m / p + 0.5 lies between 0.5 and about 10^6, where truncation is the
    // conversion to int and back; the first step, p = 1, divides exactly.
    const float t = real_precision * m;
    unsigned holds = 1u << (max_significant - 1);
    for (std::size_t i = 0; i < digit_steps.size(); ++i) {
        const float p = digit_steps[i];
        const float q = i == 0 ? m : m / p;
        const float rounded_up = q + 0.5f;  // truncated below: rounds q half up
        const auto d = static_cast<float>(static_cast<int>(rounded_up));
        holds |= (std::fabs(m - d * p) <= t ? 1u : 0u) << i;
    }
    const int nsig = 1 + std::countr_zero(holds);
    return {nint, nsig - e - 1, nsig};
}

}  // namespace tgd
