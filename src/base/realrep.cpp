#include "base/realrep.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace tgd {

namespace {
constexpr std::array<float, 10> powers_of_ten = {1.0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f};
constexpr int max_significant = 7;
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
    float l = std::log10(a);
    int e = static_cast<int>(l);  // |l| < 46 for finite floats
    if (l < 0.0f) --e;
    float m;
    if (std::abs(e) < 10) {
        m = e >= 0 ? a / powers_of_ten[static_cast<std::size_t>(e)] : a * powers_of_ten[static_cast<std::size_t>(-e)];
    } else {
        // In double: 10^e of a tiny or huge float is outside float range.
        m = static_cast<float>(static_cast<double>(a) / std::pow(10.0, e));
    }
    // The logarithm may be off by one around exact powers of ten.
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

// In single precision, step by step: the digit count is part of what the
// deferred-graphics files hold, so it must not drift with the arithmetic.
// Where this count is too few for a value to read back within the stated
// precision, the free-format encoder adds digits (deferred/fields.cpp).
void zrrepz_(float x, int& nint, int& ndec, int& nsig) {
    float m;
    int e;
    zpowrz_(std::fabs(x), m, e);
    if (!std::isfinite(m)) {
        nint = 1;
        nsig = 1;
        ndec = 0;
        return;
    }
    // A mantissa that rounds to 10 counts as the next power.
    if (m >= 10.0f * (1.0f - real_precision)) {
        ++e;
        m = 1.0f;
    }
    nint = e + 1 < 0 ? 0 : e + 1;
    const float t = real_precision * m;
    float p = 1.0f;
    nsig = 1;
    while (nsig < max_significant) {
        const float d = std::trunc(m / p + 0.5f);
        if (std::fabs(m - d * p) <= t) break;
        p *= 0.1f;
        if (p == 0.0f) break;
        ++nsig;
    }
    ndec = nsig - e - 1;
}

}  // namespace tgd
