// Drawing operations of the LaserJet device: positioning, lines, segments,
// points, stroke-font text, filled polygons, image rectangles and
// parameter changes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "base/convert.h"
#include "base/messages.h"
#include "core/bgrp.h"
#include "core/clip.h"
#include "core/reports.h"
#include "kernel/kernel.h"
#include "laserjet/device.h"
#include "laserjet/font.h"

namespace tgd {

namespace {

// 28 font units are one character height.
constexpr float kFontUnitsPerChar = 28.0f;
constexpr float kRadiansPerDegreeLj = 0.017453f;

// Image levels to shade percent (index colour mod 9).
constexpr int kShades[9] = {0, 1, 3, 11, 21, 36, 56, 81, 100};
constexpr int kImageLevels = 6;
constexpr int kNoColor = -999;  // cells holding the missing value

LaserJetDevice& page() { return hplj_page; }

// User to device coordinates (single precision, as the kernel).
float device_x(float x) { return user_to_raster().x(x); }
float device_y(float y) { return user_to_raster().y(y); }

void set_line_type(int t) { page().pen.dash.set_line_type(t); }

// Cosine and sine of a text angle in degrees; the right angles exactly.
void rotation(float angle, float s, float& kc, float& ks) {
    if (angle == 0.0f) {
        kc = s;
        ks = 0.0f;
    } else if (angle == 90.0f) {
        kc = 0.0f;
        ks = s;
    } else {
        const float a = angle * kRadiansPerDegreeLj;
        kc = s * std::cos(a);
        ks = s * std::sin(a);
    }
}

// Rounds half away from zero (single precision), then truncates.
long long round_away(float v) { return to_int(v >= 0 ? v + 0.5f : v - 0.5f); }

// Draws a glyph's strokes with its origin at (x, y) in dots.
void draw_glyph(const Glyph& glyph, long long x, long long y, float kc, float ks) {
    LaserJetDevice& p = page();
    for (const auto& stroke : glyph_strokes(glyph)) {
        long long px = 0, py = 0;
        for (std::size_t i = 0; i < stroke.size(); ++i) {
            const float gx = stroke[i].x, gy = stroke[i].y;
            const long long nx = x + to_int(gx * kc - gy * ks);
            const long long ny = y - to_int(gx * ks + gy * kc);
            if (i > 0) p.pen.line(p.raster, px, py, nx, ny);
            px = nx;
            py = ny;
        }
    }
}

// Dots per font unit for the current character size.
float font_scale() { return bgrp_(bg::char_expansion) * page().geometry.char_dots / kFontUnitsPerChar; }

// Characters are drawn solid; the line type comes back afterwards.
class SolidForText {
public:
    SolidForText() : dashed_(bgrp_(bg::line_type) != 1.0f) {
        if (dashed_) set_line_type(1);
    }
    ~SolidForText() {
        if (dashed_) set_line_type(to_int(bgrp_(bg::line_type)));
    }
    SolidForText(const SolidForText&) = delete;
    SolidForText& operator=(const SolidForText&) = delete;

private:
    bool dashed_;
};

void seek_origin() {
    const float zero = 0.0f;
    hplj_zseekz(&zero, &zero);
}

// Moves to the clipped start when asked, then draws to the clipped end.
void clipped_segment(float ax, float ay, float bx, float by, bool first) {
    const float x[2] = {ax, bx}, y[2] = {ay, by};
    const ClipWindow window = clip_window();
    float xo[2], yo[2];
    int status = 0;
    lclipz_(x, y, window.xlim, window.ylim, xo, yo, status);
    if (status > 0 || (first && status == 0)) hplj_zseekz(&xo[0], &yo[0]);
    if (status >= 0) hplj_zlinez(&xo[1], &yo[1]);
}

// Writes a rectangle of image cells (device corners) as a PCL fill in the
// shade of bgrp_(color).
void write_rectangle(int x0, int y0, int x1, int y1) {
    LaserJetDevice& p = page();
    const PageGeometry& g = p.geometry;
    const long long X0 = g.map_x(static_cast<float>(x0)), X1 = g.map_x(static_cast<float>(x1));
    const long long U0 = g.map_y_up(static_cast<float>(y0)), U1 = g.map_y_up(static_cast<float>(y1));
    const long long T = g.page_h - U1;
    const float color = bgrp_(bg::color);
    if (color != p.shade.color) {
        p.shade.color = std::fabs(color);
        p.shade.shade = kShades[to_int(p.shade.color) % 9];
        p.shade.type = p.shade.shade == 100 ? 0 : 2;
    }
    if (p.shade.shade == 0) return;
    auto units = [&](long long dots) { return to_int(static_cast<double>(dots) / g.dot_scale + 0.5); };
    std::string out;
    pcl_position(out, units(X0) + g.area_left, units(T) + g.area_top);
    pcl_rectangle(out, units(X1 - X0), units(U1 - U0), p.shade.shade, p.shade.type);
    p.fp.write(out);
}

void flush_rectangle() {
    LaserJetDevice& p = page();
    if (p.rect_stage == 1 && p.pending.color != kNoColor) {
        bgrp_(bg::color) = static_cast<float>(p.pending.color);
        write_rectangle(p.pending.x0, p.pending.y0, p.pending.x1, p.pending.y1);
    }
    p.rect_stage = 0;
}

void offer_cell(int x0, int y0, int x1, int y1, int color) {
    LaserJetDevice& p = page();
    switch (p.rect_stage) {
        case 0:
            p.pending = {color, x0, y0, x1, y1};
            p.rect_stage = 1;
            break;
        case 1:
            if (color == p.pending.color) {
                p.pending.x1 = x1;
                p.pending.y1 = y1;
            } else {
                flush_rectangle();
                p.pending = {color, x0, y0, x1, y1};
                p.rect_stage = 1;
            }
            break;
        default: dmprog_(dmformat("Unexpected value (%d) for rect_stage in hplj\n", p.rect_stage)); break;
    }
}

}  // namespace

void hplj_zseekz(const float* x, const float* y) {
    LaserJetDevice& p = page();
    const long long mx = p.geometry.map_x(*x), my = p.geometry.map_y(*y);
    p.page_blank = 0;
    if (bgrp_(bg::line_type) != p.cached_lty) {
        p.cached_lty = bgrp_(bg::line_type);
        set_line_type(to_int(p.cached_lty));
    }
    if (bgrp_(bg::color) != p.pen.color) p.pen.color = bgrp_(bg::color);
    p.pen_x = mx;
    p.pen_y = my;
}

void ljseek_(const float* x, const float* y) { hplj_zseekz(x, y); }

void hplj_zlinez(const float* x, const float* y) {
    LaserJetDevice& p = page();
    const long long mx = p.geometry.map_x(*x), my = p.geometry.map_y(*y);
    p.pen.line(p.raster, p.pen_x, p.pen_y, mx, my);
    p.pen_x = mx;
    p.pen_y = my;
}

void hplj_zlinsz(const float* x, const float* y, const int* n) {
    if (*n < 1) return;
    float ax = device_x(x[0]), ay = device_y(y[0]);
    for (int i = 1; i < *n; ++i) {
        const float bx = device_x(x[i]), by = device_y(y[i]);
        clipped_segment(ax, ay, bx, by, i == 1);
        ax = bx;
        ay = by;
    }
}

void ljlins_(const float* x, const float* y, const int* n) { hplj_zlinsz(x, y, n); }

void hplj_zsegsz(const float* x0, const float* y0, const float* x1, const float* y1, const int* n) {
    for (int i = 0; i < *n; ++i) {
        clipped_segment(device_x(x0[i]), device_y(y0[i]), device_x(x1[i]), device_y(y1[i]), true);
    }
}

void hplj_zpntsz(const float* x, const float* y, const int* n) {
    const int pch = static_cast<signed char>(to_int(bgrp_(bg::plot_symbol)) & 0xFF);
    if (pch < 32) {
        ljmark_(x, y, n, &pch);
        return;
    }
    const char c = static_cast<char>(pch);
    const float zero = 0.0f;
    for (int i = 0; i < *n; ++i) {
        const float dx = device_x(x[i]), dy = device_y(y[i]);
        if (!(bgrp_(bg::clip_xmin) <= dx && dx <= bgrp_(bg::clip_xmax) && bgrp_(bg::clip_ymin) <= dy &&
              dy <= bgrp_(bg::clip_ymax))) {
            continue;
        }
        hplj_zseekz(&dx, &dy);
        if (c == '.')
            hplj_zlinez(&dx, &dy);
        else
            hplj_zptchz(&c, &zero);
    }
}

void hplj_zptchz(const char* c, const float* angle) {
    const float s = font_scale();
    SolidForText solid;
    float kc, ks;
    rotation(*angle, s, kc, ks);
    draw_glyph(stroke_glyph(*c), page().pen_x, page().pen_y, kc, ks);
}

void hplj_ztextz(const float* x, const float* y, const char* string, const int* n, const float* adj) {
    LaserJetDevice& p = page();
    const float s = font_scale();
    if (*n < 1) {
        // Reported as the kernel reports it; the rest of the frame is
        // still drawn.
        zerrpz_("ztextz", "Number of characters not positive");
        return;
    }
    SolidForText solid;
    const std::size_t len = strnlen(string, static_cast<std::size_t>(*n));
    float w = 0;
    for (std::size_t i = 0; i < len; ++i) {
        const Glyph& g = stroke_glyph(string[i]);
        w += static_cast<float>(g.right - g.left);
    }
    const float dx = device_x(*x), dy = device_y(*y);
    hplj_zseekz(&dx, &dy);
    const long long x0 = p.pen_x, y0 = p.pen_y;
    float kc, ks;
    rotation(bgrp_(bg::string_angle), s, kc, ks);
    long long xc = x0 - round_away(*adj * kc * w);
    long long yc = y0 + round_away(*adj * ks * w);
    for (std::size_t i = 0; i < len; ++i) {
        const Glyph& g = stroke_glyph(string[i]);
        const float left = g.left, right = g.right;
        const long long x1 = xc + round_away(-left * kc), y1 = yc - round_away(-left * ks);
        draw_glyph(g, x1, y1, kc, ks);
        xc = x1 + round_away(right * kc);
        yc = y1 - round_away(right * ks);
    }
}

void hplj_zpolyz(const float* x, const float* y, const int* n) {
    LaserJetDevice& p = page();
    const int pattern = pattern_for_color(bgrp_(bg::color));
    std::vector<Dot> vertices;
    try {
        vertices.reserve(static_cast<std::size_t>(std::max(*n, 0)));
    } catch (const std::bad_alloc&) {
        dmerro_("Not enough memory to generate polygons.");
        return;
    }
    for (int i = 0; i < *n; ++i) {
        vertices.push_back({p.geometry.map_x(device_x(x[i])), p.geometry.map_y(device_y(y[i]))});
    }
    seek_origin();
    fill_polygon(p.raster, vertices, pattern);
}

void ljpoly_(const float* x, const float* y, const int* n) { hplj_zpolyz(x, y, n); }

void hplj_zimagz(const float* x, const float* y, const float* z, const int* nx, const int* ny, const int* a6,
                 const float* zlo, const float* zhi, const float* na) {
    LaserJetDevice& p = page();
    // Rectangles go straight into the file: only while a page is open.
    if (!p.active) return;
    float lo = *zlo, hi = *zhi;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) {
        lo -= 0.5f;
        hi += 0.5f;
    }
    const float factor = static_cast<float>(kImageLevels - 1) / (hi - lo);
    std::vector<int> xs(static_cast<std::size_t>(std::max(*nx, 0)));
    std::vector<int> ys(static_cast<std::size_t>(std::max(*ny, 0)));
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = to_int(bgrp_(bg::x_offset) + x[i] * bgrp_(bg::x_scale) + 0.5f);
    }
    for (std::size_t j = 0; j < ys.size(); ++j) {
        ys[j] = to_int(bgrp_(bg::y_offset) + y[j] * bgrp_(bg::y_scale) + 0.5f);
    }
    const float saved_color = bgrp_(bg::color);
    const long long values = std::max(*a6, 0);
    long long k = 0;
    for (std::size_t j = 0; j + 1 < ys.size() && k < values; ++j) {
        p.rect_stage = 0;
        for (std::size_t i = 0; i + 1 < xs.size() && k < values; ++i) {
            const float v = z[k++];
            // Values outside lo..hi take the nearest end's level; a NaN
            // (value or range) gives no level and is left out like the
            // missing value.
            const float level = 1.0f + (v - lo) * factor;
            const int color = v == *na || std::isnan(level) ? kNoColor : std::clamp(to_int(level), 1, kImageLevels);
            offer_cell(xs[i], ys[j], xs[i + 1], ys[j + 1], color);
        }
        flush_rectangle();
    }
    bgrp_(bg::color) = saved_color;
    seek_origin();
}

void hplj_amdiff(const float* pairs, const int* n) {
    amdiff_(pairs, *n);
    bgrp_(bg::error_reports) = -1.0f;
}

void hplj_zbrshz() { dmstat_("Cannot draw brushing display on the LaserJet."); }

void hplj_zspinz() {
    std::fputs("cannot draw spinning display on the LaserJet yet\n", stderr);
    std::fflush(stderr);
}

}  // namespace tgd
