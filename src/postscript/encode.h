// Encoders of the PostScript document: each appends the exact bytes of one
// operator, comment or section to a string.  Numbers are formatted without
// the locale (%g and %d as in the C locale).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ps_par.h"

namespace tgd {

// The number a document holds for v: v itself when finite; a NaN or an
// infinity, which no printer reads back, falls back as the kernel's
// float-to-int conversion does (0, or +-2^30).
double ps_finite(double v);

// Appends ps_finite(v) formatted like printf's %g.
void append_g(std::string& out, double v);
// Appends v formatted like printf's %d.
void append_d(std::string& out, long long v);

// A PostScript string literal: "(", the bytes with parentheses and
// backslashes escaped and bytes below 32 or from 127 up as three octal
// digits, ")".
void ps_put_string(std::string& out, std::string_view text);

// One relative move or line by (dx, dy): the operator carries the signs,
// the numbers written are never negative.
void ps_rel_move_op(std::string& out, long long dx, long long dy);

// "w h x y op": an axis-parallel rectangle.
void ps_rect_op(std::string& out, long long w, long long h, long long x, long long y, std::string_view op);

// One attribute row: each value followed by a blank, the operator, newline.
void ps_attr_op(std::string& out, const float* values, int count, std::string_view op);

// One hex row of image levels: one digit per cell below 16 colours, two
// from 16 up; an odd row of one-digit cells is completed by "0".
void ps_image_row(std::string& out, const int* levels, int cells, bool two_digits);

// The bounding box of a region in whole points: each value truncated
// toward zero (clamped, so that any float gives a number), 1 added to x1
// and y1.
std::array<long long, 4> region_box(const std::array<float, 4>& region);

// What the document's fixed sections need besides ps_par.
struct DocumentInfo {
    int landscape = 0;  // horizontal
    int onefile = 0;
    std::array<float, 4> region{};  // scaled region, points
    long rasters = 300;
    float point_size = 14.0f;   // text size of the setup
    std::string user;           // for "%%For:"
    std::string creation_date;  // ctime text, newline included
};

// Header comments of a fresh document.
void ps_header(std::string& out, const PostScriptSettings& par, const DocumentInfo& info);
// tgd's own prolog, written in place of the host's prolog lines when the
// host sent none; one entry per line.
const std::vector<std::string_view>& ps_builtin_prolog();
// Prolog lines (the host's, else tgd's own, with the conformance level's
// filtering); clears nothing.
void ps_prolog(std::string& out, const PostScriptSettings& par);
// Setup section.  Clears both font flag arrays of par.
void ps_setup(std::string& out, PostScriptSettings& par, const DocumentInfo& info);
// Trailer: page count, needed fonts (their flags cleared), end of document.
void ps_trailer(std::string& out, PostScriptSettings& par, int pages);

// Whether any prolog line of the document, after leading blanks and tabs,
// defines /PVer.
bool prolog_defines_pver(const PostScriptSettings& par);
// Whether a line begins, after blanks and tabs, with "/PVer".
bool defines_pver(std::string_view line);

}  // namespace tgd
