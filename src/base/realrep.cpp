#include "base/realrep.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace tgd {

namespace {
constexpr std::array<float, 10> powers_of_ten = {1.0f,   1e1f, 1e2f, 1e3f, 1e4f,
                                                 1e5f,   1e6f, 1e7f, 1e8f, 1e9f};
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
        m = e >= 0 ? a / powers_of_ten[static_cast<std::size_t>(e)]
                   : a * powers_of_ten[static_cast<std::size_t>(-e)];
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

// The digit count is decided in double precision from the exact quotient
// |x| / 10^E (single-precision steps of 0.1 drift by several units in the
// last place), and with the rounding of reading the text back into a float
// taken off the tolerance, so that the value read back is within the
// stated precision of x.
void zrrepz_(float x, int& nint, int& ndec, int& nsig) {
    float mf;
    int e;
    zpowrz_(std::fabs(x), mf, e);
    if (!std::isfinite(mf)) {
        nint = 1;
        nsig = 1;
        ndec = 0;
        return;
    }
    double m = mf == 0.0f ? 0.0 : std::fabs(static_cast<double>(x)) / std::pow(10.0, e);
    if (m != 0.0 && m < 1.0) {
        m *= 10.0;
        --e;
    } else if (m >= 10.0) {
        m /= 10.0;
        ++e;
    }
    // A mantissa that rounds to 10 counts as the next power.
    if (m >= 10.0 * (1.0 - static_cast<double>(real_precision))) {
        ++e;
        m = 1.0;
    }
    nint = e + 1 < 0 ? 0 : e + 1;
    const double t = (static_cast<double>(real_precision) - 0x1p-24) * m;
    double p = 1.0;
    nsig = 1;
    while (nsig < max_significant) {
        double d = std::floor(m / p + 0.5);
        if (std::fabs(m - d * p) <= t) break;
        p = std::pow(10.0, -nsig);
        ++nsig;
    }
    ndec = nsig - e - 1;
}

}  // namespace tgd
