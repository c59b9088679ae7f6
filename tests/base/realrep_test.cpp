#include "base/realrep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tgd {
namespace {

TEST(RealRepresentation, MantissaAndPowerOfTen) {
    struct Case {
        float x, mantissa;
        int exponent;
    };
    for (const Case& c : {Case{0.01f, 1.0f, -2}, Case{-2500.0f, -2.5f, 3}, Case{0.0f, 0.0f, 0},
                          Case{1.0f, 1.0f, 0}, Case{1e20f, 1.0f, 20}, Case{-3e-30f, -3.0f, -30},
                          Case{1000.0f, 1.0f, 3}, Case{0.001f, 1.0f, -3}}) {
        float m;
        int e;
        zpowrz_(c.x, m, e);
        EXPECT_NEAR(m, c.mantissa, 1e-6f) << c.x;
        EXPECT_EQ(e, c.exponent) << c.x;
    }
}

TEST(RealRepresentation, MantissaStaysInRangeForEveryMagnitude) {
    std::mt19937 gen(7);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 200000; ++i) {
        float x = std::bit_cast<float>(bits(gen));
        if (!std::isfinite(x) || x == 0.0f) continue;
        float m;
        int e;
        zpowrz_(x, m, e);
        ASSERT_GE(std::fabs(m), 1.0f) << x;
        ASSERT_LT(std::fabs(m), 10.0f) << x;
        ASSERT_EQ(std::signbit(m), std::signbit(x));
        ASSERT_NEAR(std::fabs(x) / std::pow(10.0, e), std::fabs(m), 1e-5) << x;
    }
}

TEST(RealRepresentation, DigitsNeeded) {
    struct Case {
        float x;
        int nint, nsig, ndec;
    };
    for (const Case& c : {Case{123.5f, 3, 4, 1}, Case{0.25f, 0, 2, 2}, Case{1500.0f, 4, 2, -2},
                          Case{9.999995f, 2, 1, -1}, Case{0.0f, 1, 1, 0}, Case{-0.001f, 0, 1, 3},
                          Case{1.0f / 3.0f, 0, 7, 7}, Case{123456.7f, 6, 7, 1}, Case{3.90192794e9f, 10, 7, -3}}) {
        int nint, ndec, nsig;
        zrrepz_(c.x, nint, ndec, nsig);
        EXPECT_EQ(nint, c.nint) << c.x;
        EXPECT_EQ(nsig, c.nsig) << c.x;
        EXPECT_EQ(ndec, c.ndec) << c.x;
    }
}

TEST(RealRepresentation, NonFiniteValuesDoNotMisbehave) {
    for (float x : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min(),
                    std::numeric_limits<float>::max()}) {
        float m;
        int e, nint, ndec, nsig;
        zpowrz_(x, m, e);
        zrrepz_(x, nint, ndec, nsig);
        EXPECT_GE(nsig, 1);
        EXPECT_LE(nsig, 7);
    }
}

}  // namespace
}  // namespace tgd
