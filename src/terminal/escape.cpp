#include "terminal/escape.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"

namespace tgd::esc {

namespace {
// ESC * m <d> <final>: the one-digit attribute sequences.
void attribute(std::string& out, int value, char final) { out += {ESC, '*', 'm', digit(value), final}; }
}  // namespace

void append_short(std::string& out, int dx, int dy) {
    out += static_cast<char>(32 + (dx & 31));
    out += static_cast<char>(32 + (dy & 31));
}

void append_absolute(std::string& out, int x, int y) {
    // Truncating division; the remainder keeps the dividend's sign.
    for (int v : {x, y}) {
        out += static_cast<char>((v / 32) % 32 + 32);
        out += static_cast<char>(v % 32 + 32);
    }
}

int line_type_value(int line_type) { return line_type == 1 ? 1 : 10 - line_type % 7; }

int pen_color_value(int color) {
    // Colours are clamped on conversion, so 808 - c cannot overflow.
    return (808 - color) % 8;
}

int text_size_value(float ratio) {
    float s = ratio + 0.5f;
    if (!(s >= 1.0f)) s = 1.0f;  // also a NaN ratio
    return std::min(8, to_int(s));
}

int text_direction_value(float angle) { return to_int(angle / 90.0f) % 4 + 1; }

void device_reset(std::string& out) { out += {ESC, '&', 'j', '@'}; }
void line_type(std::string& out, int value) { attribute(out, value, 'b'); }
void pen_color(std::string& out, int value) { attribute(out, value, 'x'); }
void text_size(std::string& out, int value) { attribute(out, value, 'M'); }
void text_direction(std::string& out, int value) { attribute(out, value, 'N'); }
void character(std::string& out, char c) { out += {ESC, '*', 'l', c, '\r'}; }

namespace {
// The coordinate part of a move or line, then the terminating Z.
void position(std::string& out, int x, int y, long long dx, long long dy) {
    if (fits_short(dx, dy)) {
        out += 'j';
        append_short(out, static_cast<int>(dx), static_cast<int>(dy));
    } else {
        out += 'i';
        append_absolute(out, x, y);
    }
    out += 'Z';
}
}  // namespace

void move(std::string& out, int x, int y, long long dx, long long dy) {
    out += {ESC, '*', 'p', 'a'};
    position(out, x, y, dx, dy);
}

void line(std::string& out, int x, int y, long long dx, long long dy) {
    out += {ESC, '*', 'p'};
    position(out, x, y, dx, dy);
}

void fill_single(std::string& out, int value) { attribute(out, value, 'g'); }

void fill_pattern(std::string& out, int k) { out += {ESC, '*', 'm', digit(k / 10), digit(k % 10), 'w'}; }

void polygon_start(std::string& out) { out += {ESC, '*', 'p', 's', 'i', 'a'}; }

void polygon_vertex(std::string& out, int x, int y, bool first) {
    append_absolute(out, x, y);
    if (first) out += 'b';
}

void polygon_end(std::string& out) { out += 'T'; }

void frame_prompt(std::string& out, bool waiting) {
    out += {ESC, '*', 'm', 'R'};
    if (waiting) out += {'G', 'O', '?'};
}

void clear(std::string& out) { out += {ESC, '*', 'd', 't', 'c', 'A'}; }

void locator_request(std::string& out) { out += {7, ESC, '*', 's', '4', '^', 17}; }

}  // namespace tgd::esc
