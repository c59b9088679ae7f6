// Escape sequences of the HP 2648-style graphics terminal.  Each encoder
// appends the bytes of one sequence to a buffer and touches nothing else,
// so the byte layout is testable without a descriptor.
#pragma once

#include <string>

namespace tgd::esc {

inline constexpr char ESC = 27;

// A one-character value field: '0' + value (10 gives ':').
inline char digit(int value) { return static_cast<char>(48 + value); }

// Relative coordinate codes are used when both deltas lie in -16..15.
inline bool fits_short(long long dx, long long dy) { return dx >= -16 && dx <= 15 && dy >= -16 && dy <= 15; }

// Short relative form: one code per delta, 32 + (delta & 31).
void append_short(std::string& out, int dx, int dy);
// Absolute form: x high, x low, y high, y low; each code 32 + 5 bits.
void append_absolute(std::string& out, int x, int y);

// The digit of each attribute sequence, from the parameter's value.
int line_type_value(int line_type);     // 1 for solid, else 10 - (t rem 7)
int pen_color_value(int color);         // (808 - c) rem 8: colours 0..7 give 0, 7, 6, ..., 1
int text_size_value(float ratio);       // max(r + 0.5, 1) truncated, at most 8
int text_direction_value(float angle);  // quarter turns, 1 for 0 degrees

void device_reset(std::string& out);               // ESC & j @
void line_type(std::string& out, int value);       // ESC * m d b
void pen_color(std::string& out, int value);       // ESC * m d x
void text_size(std::string& out, int value);       // ESC * m d M
void text_direction(std::string& out, int value);  // ESC * m d N
void character(std::string& out, char c);          // ESC * l c CR

// Pen move and line draw; short form when both deltas fit, else absolute.
void move(std::string& out, int x, int y, long long dx, long long dy);
void line(std::string& out, int x, int y, long long dx, long long dy);

void fill_single(std::string& out, int value);                    // ESC * m d g
void fill_pattern(std::string& out, int k);                       // ESC * m d d w
void polygon_start(std::string& out);                             // ESC * p s i a
void polygon_vertex(std::string& out, int x, int y, bool first);  // absolute, 'b' after the first
void polygon_end(std::string& out);                               // T

void frame_prompt(std::string& out, bool waiting);  // ESC * m R, then G O ? when waiting
void clear(std::string& out);                       // ESC * d t c A
void locator_request(std::string& out);             // BEL ESC * s 4 ^ DC1

}  // namespace tgd::esc
