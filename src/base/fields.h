// Field encoding into the encoder's output line and decoding of input
// lines.  Positions are 1-based; the encoder line is written by prtfil_.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tgd {

// A width or exponent flag with this 32-bit pattern asks for free format:
// one blank, then the field at its natural width.
inline constexpr std::int32_t free_format = 0x7F800067;

// The encoder's output line: 256 blanks after every prtfil_.  A field that
// does not fit makes the line longer rather than being cut.
struct EncoderLine {
    static constexpr int kSize = 256;
    std::string chars = std::string(kSize, ' ');
    // Everything from here on is blank, so a reset blanks only the part
    // that was written rather than the whole line.
    std::size_t written = 0;

    void reset();
    // The used part of the line (fill length encbfl_).
    std::string_view used() const;
    // Room for n characters from position encbfl_ + 1 on, the line grown
    // as needed; encbfl_ advances past them.
    char* take(std::size_t n);
};
extern EncoderLine encbfc_;
extern int encbfl_;  // positions used; the next field starts at encbfl_ + 1

// Inline: every character the encoders write goes through here.
inline char* EncoderLine::take(std::size_t n) {
    const std::size_t from = encbfl_ > 0 ? static_cast<std::size_t>(encbfl_) : 0;
    if (from + n > chars.size()) chars.resize(from + n, ' ');
    if (from + n > written) written = from + n;
    encbfl_ = static_cast<int>(from + n);
    return chars.data() + from;
}

// Integer field, right-justified in width; never truncated.
void enci00_(std::int32_t value, std::int32_t width);
// The integer formatter: digits of magnitude (with a "-" when negative),
// right-justified to width, appended to out; ndigits := characters written.
void enci01_(std::uint64_t magnitude, int width, std::string& out, bool negative, int& ndigits);
// Real field; width and exponent flag may be free_format.  Exponent flag <
// 0 is fixed notation, otherwise exponent notation.
void encr00_(float value, std::int32_t width = free_format, std::int32_t decimals = 0,
             std::int32_t exponent = free_format);
void encf00_(float value, int width, int decimals);
void ence00_(float value, int width, int decimals, int flag = 0);
// One format that suits all the values: width, decimals and exponent flag
// (-1 fixed, 1 exponent).  A requested width <= 0 is chosen.
void rdtfmt_(std::span<const float> values, int& width, int& decimals, int& exponent);
// String field: quote 0 copies the text unchanged; nonzero writes it in
// double quotes with " and \ escaped.
void encs00_(std::string_view text, int quote = 0);
void encs01_(std::string_view text, int start, int length, int quote);

// The decoder's input line and state.
struct DecoderLine {
    static constexpr int kSize = 512;
    std::array<char, kSize + 1> chars{};  // with room for the NUL
};
struct DecoderState {
    int position = 1;     // read position (1-based)
    int unit = -1;        // input unit; negative: no more input (-2: commas are ordinary)
    int field_start = 1;  // start of the current field
    int error_pending = 0;
    int length = -1;       // line length, -1 at end of input
    int final_errors = 0;  // every decoding error is final
};
extern DecoderLine decbfc_;
extern DecoderState decbfl_;

// Decodes the next field into area: strict 0 pads with blanks (a longer
// field is cut), nonzero rejects a longer field.  Returns the field's
// length, or -1 at end of input (area untouched).
int decs00_(int strict, std::span<char> area);
// Locates the next field and places it on the work stack; result := its
// character index (NUL-terminated), 0 at end of input.
void decsp0_(int& result);
// Skips blanks, tabs and one comma, reading lines as needed; false at end
// of input.
[[nodiscard]] bool begfld_();
// A plain field and a quoted string from the current position; each returns
// its work-stack character index.
[[nodiscard]] int getfld_();
[[nodiscard]] int strtok_();
// Reports a decoding error: the first one is left pending for the caller,
// a repeated or final one is reported and abandons the operation.
void decerr_(std::string_view message);

}  // namespace tgd
