// The free-format real encoder against the straightforward one it
// replaced: every pow computed when needed, zrrepz_ asked again by the
// format choice, the digits in strings.  Both must write the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "base/fields.h"
#include "base/process_state.h"
#include "base/realrep.h"

namespace tgd {
namespace {

// The straightforward encoder, writing into its own line.
class Reference {
public:
    std::string free_real(float value) {
        line_.clear();
        blanks(1);
        encode(value);
        return line_;
    }

private:
    static constexpr int max_significant = 7;
    static constexpr float beyond_range = 1e38f;
    static constexpr double read_back_precision = 6e-7;
    std::string line_;

    void put(std::string_view text) { line_.append(text); }
    void blanks(int n) {
        if (n > 0) put(std::string(static_cast<std::size_t>(n), ' '));
    }
    static std::string integer_text(std::uint64_t magnitude, bool negative, int width) {
        std::string out;
        int n;
        enci01_(magnitude, width, out, negative, n);
        return out;
    }
    static std::string integer_text(long long value, int width) {
        std::uint64_t magnitude =
            value < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        return integer_text(magnitude, value < 0, width);
    }
    bool put_nonfinite(float value, int width) {
        if (std::isfinite(value)) return false;
        std::string text = std::isnan(value) ? "NaN" : value < 0 ? "-Inf" : "Inf";
        if (width > static_cast<int>(text.size())) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
        put(text);
        return true;
    }
    void write_real(float value, int width, int decimals, int exponent) {
        if (exponent < 0) {
            if (!put_nonfinite(value, width)) fixed(value, width, decimals);
        } else {
            exponential(value, width, decimals);
        }
    }
    static void choose_format(float v, int extra, int& width, int& decimals, int& exponent) {
        int I = 0, S = 0, D = 0;
        int sign = 0, small = 0, wide = 0;
        if (!(std::isnan(v) || std::fabs(v) > beyond_range)) {
            int nint = 1, ndec = 0, nsig = 1;
            float a = std::fabs(v);
            if (v != 0.0f) {
                zrrepz_(v, nint, ndec, nsig);
                const int more = std::clamp(max_significant - nsig, 0, extra);
                nsig += more;
                ndec += more;
            }
            if (a < 1.0f) small = 1;
            if ((v != 0.0f && a <= 1e-10f) || a >= 1e10f) wide = 1;
            if (v < 0.0f) sign = 1;
            I = std::max(I, nint);
            S = std::max(S, nsig);
            D = std::max(D, ndec);
        }
        int F = std::max(I, 1) + sign + D + 1;
        const int X = S + (S > 1 ? 1 : 0) + 2 + sign + small + wide;
        decimals = S - 1;
        const int w = width;
        if (w > 0 && F > w && F > X) F = 100;
        if (F > X && F - sign >= 8) {
            if (w < X) width = X;
            exponent = 1;
            return;
        }
        if (w <= 0) width = F;
        if (width >= F) {
            decimals = D;
        } else {
            decimals = std::max(D - (F - width), 0);
            if (decimals == 0) width = I + sign + 1;
        }
        exponent = -1;
    }
    static bool reads_back(float value, std::string_view text) {
        text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
        float back = 0.0f;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        if (ec != std::errc() || end == text.data()) return false;
        return std::fabs(static_cast<double>(back) - value) <= read_back_precision * std::fabs(value);
    }
    void encode(float value) {
        if (std::isfinite(value) && std::fabs(value) > beyond_range) {
            write_real(value, 0, 6, 1);
            return;
        }
        const std::size_t start = line_.size();
        int nint = 1, ndec = 0, nsig = 1;
        if (std::isfinite(value) && value != 0.0f) zrrepz_(value, nint, ndec, nsig);
        for (int extra = 0;; ++extra) {
            int w = 0, d = 0, e = 0;
            choose_format(value, extra, w, d, e);
            if (e < 0 && d == 0 && value != 0.0f) --w;
            write_real(value, w, d, e);
            if (!std::isfinite(value) || nsig + extra >= max_significant ||
                reads_back(value, std::string_view(line_).substr(start)))
                return;
            line_.resize(start);
        }
    }
    void fixed(double value, int w, int d) {
        const std::size_t start = line_.size();
        const double a = std::fabs(value) + 0.5 * std::pow(10.0, -d);
        if (a > 1073741824.0) {
            int k = static_cast<int>(std::floor(std::log10(a)));
            double lead = std::trunc(a / std::pow(10.0, k - 6));
            if (lead >= 1e7) {
                ++k;
                lead = std::trunc(a / std::pow(10.0, k - 6));
            }
            put(integer_text(static_cast<std::uint64_t>(lead), value < 0, 7));
            put("e");
            put(integer_text(k - 6, 0));
            blanks(static_cast<int>(start) + w - static_cast<int>(line_.size()));
            return;
        }
        const long long ipart = static_cast<long long>(a);
        const int iwidth = d > 0 ? w - d - 1 : w;
        if (value > 0 && ipart == 0 && w <= d + 1) {
            blanks(iwidth);
        } else {
            put(integer_text(static_cast<std::uint64_t>(ipart), value < 0, iwidth));
        }
        if (d <= 0) return;
        put(".");
        if (value == 0.0) {
            put("0");
            blanks(d - 1);
            return;
        }
        int significant = 0;
        for (long long p = ipart; p > 0; p /= 10) ++significant;
        double f = a - static_cast<double>(ipart);
        std::string digits;
        for (int i = 0; i < d; ++i) {
            f *= 10.0;
            int digit = std::clamp(static_cast<int>(f), 0, 9);
            f -= digit;
            if (significant > 0 || digit != 0) ++significant;
            digits += significant > max_significant ? ' ' : static_cast<char>('0' + digit);
        }
        put(digits);
    }
    void exponential(float value, int width, int decimals) {
        if (put_nonfinite(value, width)) return;
        const std::size_t start = line_.size();
        float mf;
        int k;
        zpowrz_(value, mf, k);
        if (value == 0.0f) {
            fixed(0.0, width - 4, 0);
        } else {
            double m = static_cast<double>(value) / std::pow(10.0, k);
            if (std::fabs(m) + 0.5 * std::pow(10.0, -decimals) >= 10.0) {
                m /= 10.0;
                ++k;
            }
            fixed(m, width - 4, decimals);
        }
        while (line_.size() > start && line_.back() == ' ') line_.pop_back();
        put("e");
        put(integer_text(k, 0));
        blanks(static_cast<int>(start) + width - static_cast<int>(line_.size()));
    }
};

std::string free_real(float v) {
    encbfl_ = 0;
    encbfc_.reset();
    encr00_(v);
    return std::string(encbfc_.used());
}

// Values at the edges: zeros, the limits of float, powers of ten and the
// floats around them, halves at every rounding position, the range the
// format choice looks at.
std::vector<float> edge_cases() {
    std::vector<float> v = {0.0f,
                            -0.0f,
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(),
                            1e38f,
                            1e10f,
                            1e-10f};
    for (int e = -45; e <= 38; ++e) {
        for (float base : {1.0f, 5.0f, 9.5f, 9.9999995f, 1.2345678f}) {
            float x = static_cast<float>(base * std::pow(10.0, e));
            for (int step = -3; step <= 3; ++step) {
                float y = x;
                for (int i = 0; i < std::abs(step); ++i) y = std::nextafter(y, step < 0 ? 0.0f : INFINITY);
                v.push_back(y);
                v.push_back(-y);
            }
        }
    }
    return v;
}

TEST(EncoderDifferential, FreeFormatRealsMatchTheStraightforwardEncoder) {
    reset_process_state();
    Reference reference;
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<float> plot(-2.0f, 2.0f);
    long long compared = 0;
    auto check = [&](float v) {
        ++compared;
        const std::string expected = reference.free_real(v);
        const std::string got = free_real(v);
        if (got != expected) {
            ADD_FAILURE() << "value " << std::bit_cast<std::uint32_t>(v) << " (" << v << "): \"" << got
                          << "\" instead of \"" << expected << "\"";
            return false;
        }
        return true;
    };
    for (float v : edge_cases())
        if (!check(v)) return;
    // Random bit patterns cover every exponent; values like plot coordinates
    // cover the common range densely.
    constexpr long long kEach = 5'000'000;
    for (long long i = 0; i < kEach; ++i) {
        if (!check(std::bit_cast<float>(static_cast<std::uint32_t>(random())))) return;
        if (!check(plot(random))) return;
    }
    EXPECT_GE(compared, 10'000'000);
}

}  // namespace
}  // namespace tgd
