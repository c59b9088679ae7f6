#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <span>
#include <string>

#include "base/fields.h"
#include "base/process_state.h"
#include "base/record_io.h"
#include "harness/fd_capture.h"

namespace tgd {
namespace {

class Encoder : public ::testing::Test {
protected:
    void SetUp() override { reset_process_state(); }
    static std::string line() { return std::string(encbfc_.used()); }
    static std::string free_real(float v) {
        encbfl_ = 0;
        encbfc_.reset();
        encr00_(v);
        return line();
    }
};

TEST_F(Encoder, FreeIntegerAfterKeywordLeavesOneBlank) {
    encs00_("line");
    enci00_(-42, free_format);
    EXPECT_EQ(line(), "line -42");
    EXPECT_EQ(encbfl_, 8);
}

TEST_F(Encoder, IntegersAreRightJustifiedAndNeverTruncated) {
    enci00_(7, 3);
    EXPECT_EQ(line(), "  7");
    enci00_(12345, 3);
    EXPECT_EQ(line(), "  712345");
    SetUp();
    for (std::int32_t v : {0, 1, -1, 9, 10, 99, -100, 65536, 2147483647, -2147483647 - 1}) {
        SetUp();
        enci00_(v, free_format);
        EXPECT_EQ(line(), " " + std::to_string(v));
        SetUp();
        enci00_(v, 12);
        std::string expected = std::to_string(v);
        EXPECT_EQ(line(), std::string(12 - expected.size(), ' ') + expected);
    }
}

TEST_F(Encoder, FreeRealsUseTheShortestForm) {
    struct Case {
        float v;
        const char* text;
    };
    for (const Case& c : {Case{2.0f, " 2"}, Case{0.25f, " 0.25"}, Case{-3.5f, " -3.5"}, Case{1e-12f, " 1e-12"},
                          Case{0.0f, "  0"}, Case{0.5f, " 0.5"}, Case{-1.25f, " -1.25"}, Case{0.001f, " 0.001"},
                          Case{1e6f, " 1e6"}, Case{0.0001234f, " 1.234e-4"}, Case{123456.7f, " 123456.7"},
                          Case{1500.0f, " 1500"}, Case{-2500.0f, " -2500"}, Case{0.1f, " 0.1"}, Case{1e10f, " 1e10"},
                          Case{-1e-5f, " -0.00001"}, Case{-1e-6f, " -1e-6"}, Case{3.90192794e9f, " 3.901928e9"}}) {
        EXPECT_EQ(free_real(c.v), c.text) << c.v;
    }
}

// The stated relative precision; a subnormal float read back is rounded to
// a coarser grid, whose spacing is allowed on top.
double tolerance(float v) {
    double t = 6e-7 * std::fabs(v);
    if (std::fabs(v) < std::numeric_limits<float>::min()) t += std::numeric_limits<float>::denorm_min();
    return t;
}

// The text of a free-format real with the digits zrrepz_ gives and nothing
// added: the format choice, then fixed or exponent notation.
std::string digits_as_counted(float v) {
    encbfl_ = 0;
    encbfc_.reset();
    encs00_(" ");
    int w = 0, d = 0, e = 0;
    rdtfmt_(std::span<const float>(&v, 1), w, d, e);
    if (e < 0 && d == 0 && v != 0.0f) --w;
    if (e < 0)
        encf00_(v, w, d);
    else
        ence00_(v, w, d);
    return std::string(encbfc_.used());
}

// Digits of the mantissa from the first nonzero one on.
int significant_digits(const std::string& text) {
    int n = 0;
    for (char c : text.substr(0, text.find('e'))) {
        if (c >= '1' && c <= '9')
            n += 1;
        else if (c == '0' && n > 0)
            n += 1;
    }
    return n;
}

// Every text reads back within the stated precision.  Where the counted
// digits are precise enough the text is exactly theirs; elsewhere it has
// more digits, never fewer.
TEST_F(Encoder, FreeRealsRoundTripOverEveryMagnitude) {
    std::mt19937 gen(12345);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_real_distribution<float> unit(-10.0f, 10.0f);
    int added = 0;
    for (int i = 0; i < 200000; ++i) {
        float v = i % 2 ? std::bit_cast<float>(bits(gen)) : unit(gen) * std::pow(10.0f, float(i % 20 - 10));
        if (std::isnan(v) || std::isinf(v)) continue;
        std::string text = free_real(v);
        ASSERT_EQ(text[0], ' ') << v;
        ASSERT_EQ(text.find(' ', text.find_first_not_of(' ')), std::string::npos) << text;
        char* end = nullptr;
        float back = std::strtof(text.c_str(), &end);
        ASSERT_EQ(*end, '\0') << text;
        ASSERT_LE(std::fabs(back - v), tolerance(v)) << v << " -> '" << text << "'";
        if (std::fabs(v) > 1e38f) continue;  // written with all digits
        const std::string counted = digits_as_counted(v);
        const double counted_error = std::fabs(std::strtof(counted.c_str(), nullptr) - double(v));
        if (counted_error <= 6e-7 * std::fabs(v)) {
            ASSERT_EQ(text, counted) << v;
        } else {
            ASSERT_GT(significant_digits(text), significant_digits(counted)) << v << ": " << text << " " << counted;
            added += i % 2 == 0;
        }
    }
    // Among ordinary values the counted digits fall short for about 2%.
    EXPECT_LT(added, 100000 / 25);
    for (float v : {0.0f, -0.0f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                    std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min()}) {
        float back = std::strtof(free_real(v).c_str(), nullptr);
        EXPECT_LE(std::fabs(back - v), tolerance(v)) << free_real(v);
    }
}

TEST_F(Encoder, NonFiniteRealsAreNamed) {
    EXPECT_EQ(free_real(std::numeric_limits<float>::quiet_NaN()), " NaN");
    EXPECT_EQ(free_real(-std::numeric_limits<float>::infinity()), " -Inf");
}

TEST_F(Encoder, FixedAndExponentNotation) {
    struct Case {
        void (*encode)(float, int, int);
        float v;
        int w, d;
        const char* text;
        const char* why;
    };
    const auto fixed = [](float v, int w, int d) { encf00_(v, w, d); };
    const auto exponent = [](float v, int w, int d) { ence00_(v, w, d); };
    for (const Case& c : {
             Case{fixed, 3.14159f, 8, 3, "   3.142", ""},
             Case{fixed, -0.5f, 6, 2, " -0.50", ""},
             Case{fixed, 0.5f, 2, 1, ".5", "no room for the leading zero"},
             Case{fixed, 0.0f, 6, 3, " 0.0  ", "zero: one decimal, the rest blank"},
             Case{fixed, 2.0f / 3.0f, 12, 10, "0.6666666   ", "at most 7 significant digits, cut"},
             Case{fixed, 3e9f, 12, 0, "3000000e3   ", "beyond 2^30: leading digits and an exponent"},
             Case{fixed, -3e9f, 4, 0, "-3000000e3", "a narrow width does not cut the field"},
             Case{exponent, 12346.0f, 10, 3, " 1.235e4  ", ""},
             Case{exponent, -9.9999f, 9, 2, "-1.00e1  ", "rounds up to the next power"},
             Case{exponent, 0.0f, 5, 3, "0e0  ", ""},
         }) {
        SCOPED_TRACE(testing::Message() << c.v << " " << c.w << "." << c.d << " " << c.why);
        SetUp();
        c.encode(c.v, c.w, c.d);
        EXPECT_EQ(line(), c.text);
    }
}

TEST_F(Encoder, FormatChoiceSuitsAllValues) {
    const float values[] = {1.5f, -20.25f, 300.0f};
    int w = 0, d = 0, e = 0;
    rdtfmt_(values, w, d, e);
    EXPECT_EQ(e, -1);
    EXPECT_EQ(w, 7);  // "-300.25"
    EXPECT_EQ(d, 2);
    const float wide[] = {1e-12f, 5e20f};
    w = 0;
    rdtfmt_(wide, w, d, e);
    EXPECT_EQ(e, 1);
    // A requested width too small for fixed notation forces exponent notation.
    const float big[] = {1234.5678f};
    w = 6;
    rdtfmt_(big, w, d, e);
    EXPECT_EQ(e, -1);
    EXPECT_EQ(w, 6);
    EXPECT_EQ(d, 1);
}

TEST_F(Encoder, StringsPlainAndQuoted) {
    encs00_("ab  c");
    encs00_("x\"y\\z", 1);
    EXPECT_EQ(line(), "ab  c\"x\\\"y\\\\z\"");
    SetUp();
    encs01_("keyword", 4, 3, 0);
    EXPECT_EQ(line(), "wor");
}

TEST_F(Encoder, LongLinesGrowAndComeOutWhole) {
    std::string text(300, 'q');
    encs00_("GR-Z Error from Routine ");
    encs00_(text);
    enci00_(5, free_format);
    EXPECT_EQ(encbfl_, 24 + 300 + 2);
    test::FdCapture err;
    prtfil_(2);
    EXPECT_EQ(err.text(), "GR-Z Error from Routine " + text + " 5\n");
    EXPECT_EQ(encbfl_, 0);
    EXPECT_EQ(encbfc_.chars, std::string(256, ' '));
}

TEST_F(Encoder, PrintedLineDropsTrailingBlanks) {
    encs00_("Lines out of bounds X=");
    encr00_(1.5f);
    encs00_("    ");
    test::FdCapture err;
    prtfil_(2);
    prtfil_(2);  // an empty line
    EXPECT_EQ(err.text(), "Lines out of bounds X= 1.5\n\n");
}

}  // namespace
}  // namespace tgd
