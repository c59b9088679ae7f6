#include "base/fields.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

#include "base/abandon.h"
#include "base/process_state.h"
#include "base/realrep.h"
#include "base/record_io.h"
#include "base/stack.h"

namespace tgd {

EncoderLine encbfc_;
int encbfl_ = 0;
DecoderLine decbfc_;
DecoderState decbfl_;

namespace {
const StateReset reset_state{[] {
    encbfc_.reset();
    encbfl_ = 0;
    decbfc_ = DecoderLine{};
    decbfl_ = DecoderState{};
}};
}  // namespace

void EncoderLine::reset() {
    if (chars.size() == kSize) {
        std::fill_n(chars.begin(), static_cast<std::ptrdiff_t>(std::min(written, chars.size())), ' ');
    } else {
        chars.assign(kSize, ' ');
    }
    written = 0;
}

std::string_view EncoderLine::used() const {
    std::size_t n = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(encbfl_, 0)), 0, chars.size());
    return std::string_view(chars).substr(0, n);
}

namespace {

// Writes text from position L + 1 on, growing the line when it would not
// fit, and advances L.
void put(std::string_view text) {
    if (!text.empty()) std::memcpy(encbfc_.take(text.size()), text.data(), text.size());
}

void put(char c) { *encbfc_.take(1) = c; }

void blanks(int n) {
    if (n > 0) std::fill_n(encbfc_.take(static_cast<std::size_t>(n)), n, ' ');
}

// An integer's digits after its sign, and the blanks that right-justify
// them in width.
struct IntegerText {
    std::array<char, 24> text;
    std::size_t size;
    std::size_t pad;

    IntegerText(std::uint64_t magnitude, bool negative, int width) {
        char* p = text.data();
        if (negative) *p++ = '-';
        size = static_cast<std::size_t>(std::to_chars(p, text.data() + text.size(), magnitude).ptr - text.data());
        pad = width > 0 && static_cast<std::size_t>(width) > size ? static_cast<std::size_t>(width) - size : 0;
    }
};

// The integer written straight into the line.
void put_integer(std::uint64_t magnitude, bool negative, int width) {
    const IntegerText t(magnitude, negative, width);
    char* p = encbfc_.take(t.pad + t.size);
    std::fill_n(p, t.pad, ' ');
    std::memcpy(p + t.pad, t.text.data(), t.size);
}

void put_integer(long long value, int width) {
    const std::uint64_t magnitude =
        value < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    put_integer(magnitude, value < 0, width);
}

// Text for values that have no digits.
bool put_nonfinite(float value, int width) {
    if (std::isfinite(value)) return false;
    std::string text = std::isnan(value) ? "NaN" : value < 0 ? "-Inf" : "Inf";
    if (width > static_cast<int>(text.size())) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    put(text);
    return true;
}

constexpr float beyond_range = 1e38f;

}  // namespace

void encf00_(float value, int width, int decimals);
void ence00_(float value, int width, int decimals, int flag);

namespace {

// Exponent flag < 0: fixed notation, otherwise exponent notation.
void write_real(float value, int width, int decimals, int exponent) {
    if (exponent < 0) {
        encf00_(value, width, decimals);
    } else {
        ence00_(value, width, decimals, 0);
    }
}

}  // namespace

void enci01_(std::uint64_t magnitude, int width, std::string& out, bool negative, int& ndigits) {
    const IntegerText t(magnitude, negative, width);
    out.append(t.pad, ' ');
    out.append(t.text.data(), t.size);
    ndigits = static_cast<int>(t.pad + t.size);
}

void enci00_(std::int32_t value, std::int32_t width) {
    if (width == free_format) {
        blanks(1);
        width = 0;
    }
    put_integer(value, width);
}

void encs01_(std::string_view text, int start, int length, int quote) {
    std::size_t from = start < 1 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(start - 1), text.size());
    std::size_t n = length < 0 ? 0 : static_cast<std::size_t>(length);
    text = text.substr(from, n);
    if (quote == 0) {
        put(text);
        return;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    put(quoted);
}

void encs00_(std::string_view text, int quote) {
    encs01_(text, 1, static_cast<int>(std::min<std::size_t>(text.size(), 0x7fffffff)), quote);
}

namespace {

constexpr int max_significant = 7;

// What zrrepz_ finds for a value.
DigitCount representation(float v) { return std::isfinite(v) && v != 0.0f ? digit_count(v) : DigitCount{}; }

// The format choice, with every value given extra significant digits (up
// to seven) beyond what zrrepz_ finds; known holds what it found for the
// one value when the caller has it already.
void choose_format(std::span<const float> values, int extra, int& width, int& decimals, int& exponent,
                   const DigitCount* known = nullptr) {
    int I = 0, S = 0, D = 0;
    int sign = 0, small = 0, wide = 0;
    for (float v : values) {
        if (std::isnan(v) || std::fabs(v) > beyond_range) continue;
        int nint = 1, ndec = 0, nsig = 1;
        float a = std::fabs(v);
        if (v != 0.0f) {
            const DigitCount r = known != nullptr ? *known : representation(v);
            nint = r.nint;
            ndec = r.ndec;
            nsig = r.nsig;
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
    if (w > 0 && F > w && F > X) F = 100;  // does not fit: exponent notation
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

// The stated relative precision of a real written in free format.
constexpr double read_back_precision = 6e-7;

// The float nearest to a plain decimal "[-]digits[.digits]" at the start of
// text, when it is short enough to be found exactly in single precision:
// with fewer than 2^24 as its digits and at most ten after the point, both
// the digits and the power of ten are floats, and one correctly rounded
// division gives the nearest float, as a full conversion would.
std::optional<float> short_decimal(std::string_view text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    std::uint64_t digits = 0;
    int count = 0, after_point = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && after_point < 0) {
            after_point = 0;
        } else if (c >= '0' && c <= '9') {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            if (after_point >= 0) ++after_point;
            if (++count > 18) return std::nullopt;  // leading zeros included
        } else if (c == 'e' || c == 'E' || c == 'p' || c == 'P') {
            return std::nullopt;  // an exponent (or what might be read as one)
        } else {
            break;  // the end of the number, as for std::from_chars
        }
    }
    if (count == 0) return std::nullopt;
    constexpr std::array<float, 11> scale = {1.0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    if (digits >= (1u << 24) || after_point > 10) return std::nullopt;
    const float magnitude = static_cast<float>(digits) / scale[static_cast<std::size_t>(std::max(after_point, 0))];
    return negative ? -magnitude : magnitude;
}

// Whether the text of a field reads back within that precision of value.
bool reads_back(float value, std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    float back = 0.0f;
    if (const auto quick = short_decimal(text)) {
        back = *quick;
    } else {
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        if (ec != std::errc() || end == text.data()) return false;
    }
    return std::fabs(static_cast<double>(back) - value) <= read_back_precision * std::fabs(value);
}

}  // namespace

void rdtfmt_(std::span<const float> values, int& width, int& decimals, int& exponent) {
    choose_format(values, 0, width, decimals, exponent);
}

void encr00_(float value, std::int32_t width, std::int32_t decimals, std::int32_t exponent) {
    if (width == free_format) {
        blanks(1);
        width = 0;
    }
    if (exponent != free_format) {
        write_real(value, width, decimals, exponent);
        return;
    }
    if (std::isfinite(value) && std::fabs(value) > beyond_range) {
        // Outside the range the format choice looks at: all digits.
        write_real(value, width, 6, 1);
        return;
    }
    // The digits zrrepz_ asks for; when a field of free width would not
    // read back within the stated precision, it is written again with
    // more, up to seven.
    const int requested = width;
    const int start = encbfl_;
    const DigitCount found = representation(value);
    const int nsig = found.nsig;
    for (int extra = 0;; ++extra) {
        int w = requested, d = 0, e = 0;
        choose_format(std::span<const float>(&value, 1), extra, w, d, e, &found);
        if (requested == 0 && e < 0 && d == 0 && value != 0.0f) --w;
        write_real(value, w, d, e);
        if (requested != 0 || !std::isfinite(value) || nsig + extra >= max_significant ||
            reads_back(value, encbfc_.used().substr(static_cast<std::size_t>(start))))
            return;
        encbfc_.chars.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(encbfl_ - start),
                              static_cast<std::size_t>(encbfl_ - start), ' ');
        encbfl_ = start;
    }
}

namespace {

// "00" to "99", for taking digits off two at a time.
constexpr std::array<char, 200> two_digits = [] {
    std::array<char, 200> t{};
    for (std::size_t i = 0; i < 100; ++i) {
        t[2 * i] = static_cast<char>('0' + i / 10);
        t[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// The first digits.size() decimals of a >= 0 after its integer part
// ipart, as the double loop "f *= 10; digit = int(f); f -= digit" finds
// them.  f stays in [0, 1) there (ten times the largest double below 1
// still rounds to less than 10), so every digit is 0 to 9 and taking it
// off is exact: the only rounding is that of each product, at most 2^-50.
// After i digits the loop's f is then within 2^-50 * 10^i / 9 of the exact
// fraction frac(f0 * 10^i), and its digits are those of the exact
// floor(f0 * 10^n) unless some exact fraction came within a quarter of
// 2^-50 * 10^i of a whole number; that shows in the last one,
// frac(f0 * 10^n), as a distance below 2^-50 * 10^n from 0 or 1.  So the
// digits come from one exact integer product, and the loop runs only in
// that rare case, for n beyond nine, or for a below 2^-8.
void decimal_digits(double a, long long ipart, std::span<char> digits) {
    double f = a - static_cast<double>(ipart);
    const std::size_t n = digits.size();
    // f = F / 2^S exactly: a - ipart is a multiple of a's last place.
    const int S = 52 - (static_cast<int>((std::bit_cast<std::uint64_t>(a) >> 52) & 0x7ff) - 1023);
    if (n <= 9 && S >= 1 && S <= 60) {
        constexpr std::array<std::uint64_t, 10> powers = {1,      10,      100,      1000,      10000,
                                                          100000, 1000000, 10000000, 100000000, 1000000000};
        const std::uint64_t P = powers[n];
        const auto F = static_cast<std::uint64_t>(f * std::bit_cast<double>(std::uint64_t(S + 1023) << 52));
        // F * P (below 2^90) as high and low 64 bits.
        const std::uint64_t upper = (F >> 32) * P, lower = (F & 0xffffffffu) * P;
        const std::uint64_t lo = lower + (upper << 32);
        const std::uint64_t hi = (upper >> 32) + (lo < lower ? 1 : 0);
        const std::uint64_t rest = lo & ((std::uint64_t{1} << S) - 1);
        // 2^-50 * 10^n in units of 2^-S, rounded up.
        const std::uint64_t margin = S >= 50 ? P << (S - 50) : (P >> (50 - S)) + 1;
        if (rest >= margin && rest < (std::uint64_t{1} << S) - margin) {
            auto D = static_cast<std::uint32_t>((hi << (64 - S)) | (lo >> S));  // below 10^n
            std::size_t i = n;
            for (; i >= 2; i -= 2, D /= 100) std::memcpy(&digits[i - 2], &two_digits[2 * (D % 100)], 2);
            if (i == 1) digits[0] = static_cast<char>('0' + D);
            return;
        }
    }
    for (char& digit : digits) {
        f *= 10.0;
        const int d = static_cast<int>(f);
        f -= d;
        digit = static_cast<char>('0' + d);
    }
}

// Fixed notation of a double; the digits of the encoders come from here so
// that rounding is not blurred by single-precision arithmetic.
void fixed(double value, int w, int d) {
    const int start = encbfl_;
    const double a = std::fabs(value) + 0.5 * power_of_ten(-d);
    if (a > 1073741824.0) {  // 2^30: seven leading digits and an exponent
        int k = static_cast<int>(std::floor(std::log10(a)));
        double lead = std::trunc(a / power_of_ten(k - 6));
        if (lead >= 1e7) {  // log10 rounded up to the next power
            ++k;
            lead = std::trunc(a / power_of_ten(k - 6));
        }
        put_integer(static_cast<std::uint64_t>(lead), value < 0, 7);
        put('e');
        put_integer(k - 6, 0);
        // The field ends at start + w, but never inside what was written.
        blanks(start + w - encbfl_);
        return;
    }
    const long long ipart = static_cast<long long>(a);
    const int iwidth = d > 0 ? w - d - 1 : w;
    if (value > 0 && ipart == 0 && w <= d + 1) {
        blanks(iwidth);
    } else {
        put_integer(static_cast<std::uint64_t>(ipart), value < 0, iwidth);
    }
    if (d <= 0) return;
    put('.');
    if (value == 0.0) {
        put('0');
        blanks(d - 1);
        return;
    }
    char* digits = encbfc_.take(static_cast<std::size_t>(d));
    decimal_digits(a, ipart, std::span<char>(digits, static_cast<std::size_t>(d)));
    // Digits past the seventh significant one (counting from the integer
    // part, or else from the first nonzero decimal) are blanks.
    int significant = 0;
    for (long long p = ipart; p > 0; p /= 10) ++significant;
    int first = 0;
    if (significant == 0)
        while (first < d && digits[first] == '0') ++first;
    const int blank_from = std::max(first + max_significant - significant, 0);
    if (blank_from < d) std::fill(digits + blank_from, digits + d, ' ');
}

}  // namespace

void encf00_(float value, int width, int decimals) {
    if (put_nonfinite(value, width)) return;
    fixed(value, width, decimals);
}

// The flag is accepted for callers of the old interface and not used.
void ence00_(float value, int width, int decimals, int) {
    if (put_nonfinite(value, width)) return;
    const int start = encbfl_;
    float mf;
    int k;
    zpowrz_(value, mf, k);
    if (value == 0.0f) {
        fixed(0.0, width - 4, 0);
    } else {
        // The mantissa again in double, from the exponent found.
        double m = static_cast<double>(value) / power_of_ten(k);
        if (std::fabs(m) + 0.5 * power_of_ten(-decimals) >= 10.0) {
            m /= 10.0;
            ++k;
        }
        fixed(m, width - 4, decimals);
    }
    while (encbfl_ > start && encbfc_.chars[static_cast<std::size_t>(encbfl_ - 1)] == ' ') --encbfl_;
    put('e');
    put_integer(k, 0);
    blanks(start + width - encbfl_);
}

namespace {

char line_char(int position) { return decbfc_.chars[static_cast<std::size_t>(position - 1)]; }

std::string_view decoder_line() {
    const auto& c = decbfc_.chars;
    return {c.data(), strnlen(c.data(), c.size())};
}

bool line_used_up() { return decbfl_.length < 0 || decbfl_.position > decbfl_.length; }

bool commas_separate() { return decbfl_.unit != -2; }

}  // namespace

bool begfld_() {
    bool comma_seen = false;
    for (;;) {
        if (line_used_up()) {
            gtinbf_();
            if (decbfl_.length < 0) return false;
            continue;
        }
        char c = line_char(decbfl_.position);
        if (c == ' ' || c == '\t') {
            ++decbfl_.position;
        } else if (c == ',' && commas_separate() && !comma_seen) {
            comma_seen = true;
            ++decbfl_.position;
        } else {
            return true;  // a second comma starts an empty field
        }
    }
}

int getfld_() {
    const int start = decbfl_.position;
    if (line_char(start) == ',' && commas_separate()) return istrn2_("", 1, 0);
    int p = start;
    while (p <= decbfl_.length && line_char(p) != ' ' && line_char(p) != '\t') ++p;
    decbfl_.position = p;
    return istrn2_(decbfc_.chars.data(), start, p - start);
}

int strtok_() {
    constexpr std::size_t max_collected = 256;
    const char quote = line_char(decbfl_.position++);
    std::string text;
    auto collect = [&](char c) {
        if (text.size() < max_collected) text += c;
    };
    for (;;) {
        if (line_used_up()) {
            // The string goes on on the next line.
            gtinbf_();
            if (decbfl_.length < 0) break;
            collect('\n');
            continue;
        }
        char c = line_char(decbfl_.position++);
        if (c == quote) break;
        if (c == '\\' && decbfl_.position <= decbfl_.length) {
            c = line_char(decbfl_.position++);
            collect(c == 'n' ? '\n' : c);
        } else {
            collect(c);
        }
    }
    return istrn2_(text.c_str(), 1, static_cast<int>(text.size()));
}

void decsp0_(int& result) {
    if (decbfl_.error_pending) {
        decbfl_.error_pending = 0;
        decbfl_.final_errors = 1;
        decerr_("Program failed to correct previous error");
    }
    if (!begfld_()) {
        if (decbfl_.final_errors) {
            ptline_(2, "Unexpected end of file or string; Last line:");
            ptline_(2, decoder_line());
            zzabt_();
        }
        result = 0;
        return;
    }
    decbfl_.field_start = decbfl_.position;
    char c = line_char(decbfl_.position);
    result = c == '"' || c == '\'' ? strtok_() : getfld_();
}

int decs00_(int strict, std::span<char> area) {
    int index;
    decsp0_(index);
    if (index == 0) return -1;
    auto stored = cstak(index);
    std::size_t n = strnlen(stored.data(), stored.size());
    if (strict != 0 && n > area.size()) {
        ptline_(2, "Error: Decoded string too long for receiving area");
        zzabt_();
    }
    std::size_t kept = std::min(n, area.size());
    std::copy_n(stored.data(), kept, area.begin());
    if (strict == 0) std::fill(area.begin() + static_cast<std::ptrdiff_t>(kept), area.end(), ' ');
    return static_cast<int>(n);
}

void decerr_(std::string_view message) {
    if (!decbfl_.error_pending && !decbfl_.final_errors) {
        decbfl_.error_pending = 1;
        return;
    }
    if (decbfl_.error_pending) {
        ptline_(2, "Failed to clear previous error");
    } else {
        ptline_(2, std::string("Error in decoding: ").append(message));
    }
    ptline_(2, decoder_line());
    // "^" under the field's first and last characters, "." between.
    const int first = std::max(decbfl_.field_start, 1);
    const int last = std::max(decbfl_.position - 1, first);
    std::string marker(static_cast<std::size_t>(first - 1), ' ');
    marker += '^';
    if (last > first) {
        marker.append(static_cast<std::size_t>(last - first - 1), '.');
        marker += '^';
    }
    ptline_(2, marker);
    decbfl_.error_pending = 0;
    zzabt_();
}

}  // namespace tgd
