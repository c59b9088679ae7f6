#include "base/realrep.h"

#include <bit>
#include <cstdint>
#include <cstdlib>

namespace tgd {

PowersOfTen::PowersOfTen() {
    for (int at = 0; at <= 2 * kReach; ++at) table_[static_cast<std::size_t>(at)] = std::pow(10.0, at - kReach);
}
const PowersOfTen power_of_ten;

namespace {

constexpr std::array<float, 10> powers_of_ten = {1.0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f};

// The first guess at the power of ten of a positive finite float: the
// logarithm in single precision, truncated, one less when negative (so an
// exact negative power of ten starts one too low; the mantissa loops of
// zpowrz_ put that right).
int exponent_from_logarithm(float a) {
    const float l = std::log10(a);
    int e = static_cast<int>(l);  // |l| < 46 for finite floats
    if (l < 0.0f) --e;
    return e;
}

// The same guess without the logarithm.  Away from the powers of ten the
// single-precision logarithm lies strictly between two integers (a margin
// of 1e-4 relative is more than ten of its units in the last place even at
// the ends of the float range), so its truncation is floor(log10(a)), found
// here from the binary exponent and the table; close to a power of ten the
// logarithm itself decides.  Checked against the logarithm for every float.
int first_exponent(float a) {
    const double d = a;
    // The binary exponent from the bits (subnormals count as the smallest
    // normal one: the loops below walk the rest of the way).
    const int binary = static_cast<int>((std::bit_cast<std::uint32_t>(a) >> 23) & 0xffu) - 127;
    int k = (binary * 1233) >> 12;  // about floor(log2(a) * log10(2))
    while (d >= power_of_ten(k + 1)) ++k;
    while (d < power_of_ten(k)) --k;
    constexpr double margin = 1e-4;
    if (d < power_of_ten(k) * (1.0 + margin) || d > power_of_ten(k + 1) * (1.0 - margin))
        return exponent_from_logarithm(a);
    return k;
}

}  // namespace

void zpowrz_(float x, float& mantissa, int& exponent) {
    float a = std::fabs(x);
    if (a == 0.0f) {
        mantissa = 0.0f;
        exponent = 0;
        return;
    }
    if (!std::isfinite(a)) {  // no decimal exponent: handed back as is
        mantissa = x;
        exponent = 0;
        return;
    }
    int e = first_exponent(a);
    float m;
    if (std::abs(e) < 10) {
        m = e >= 0 ? a / powers_of_ten[static_cast<std::size_t>(e)] : a * powers_of_ten[static_cast<std::size_t>(-e)];
    } else {
        // In double: 10^e of a tiny or huge float is outside float range.
        m = static_cast<float>(static_cast<double>(a) / power_of_ten(e));
    }
    // The first guess may be off by one around exact powers of ten.
    while (m >= 10.0f) {
        m /= 10.0f;
        ++e;
    }
    while (m < 1.0f) {
        m *= 10.0f;
        --e;
    }
    exponent = e;
    mantissa = x < 0.0f ? -m : m;
}

void zrrepz_(float x, int& nint, int& ndec, int& nsig) {
    const DigitCount r = digit_count(x);
    nint = r.nint;
    ndec = r.ndec;
    nsig = r.nsig;
}

}  // namespace tgd
