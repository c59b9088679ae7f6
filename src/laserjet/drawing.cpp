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

// User to device coordinates (single precision, as the kernel).
float device_x(float x) { return user_to_raster().x(x); }
float device_y(float y) { return user_to_raster().y(y); }

// The common length of coordinate lists.
template <class... Spans>
std::size_t common_size(const Spans&... spans) {
    return std::min({spans.size()...});
}

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

// The inside of the clip window that the clipper leaves alone: a segment
// whose ends both lie in it, further from the edges than the clipper's
// tolerance, crosses no edge and comes out of lclipz_ as it went in.
class ClipInterior {
public:
    explicit ClipInterior(const ClipWindow& w) {
        const float xmin = std::min(w.xlim[0], w.xlim[1]), xmax = std::max(w.xlim[0], w.xlim[1]);
        const float ymin = std::min(w.ylim[0], w.ylim[1]), ymax = std::max(w.ylim[0], w.ylim[1]);
        const float ex = 0.0001f * std::fabs(w.xlim[1] - w.xlim[0]);
        const float ey = 0.0001f * std::fabs(w.ylim[1] - w.ylim[0]);
        xlo_ = xmin + ex;
        xhi_ = xmax - ex;
        ylo_ = ymin + ey;
        yhi_ = ymax - ey;
    }
    // False for NaN, and for every point when a bound is not finite.
    bool contains(float x, float y) const { return xlo_ < x && x < xhi_ && ylo_ < y && y < yhi_; }

private:
    float xlo_, xhi_, ylo_, yhi_;
};

// Rounds half away from zero (single precision), then truncates.
long long round_away(float v) { return to_int(v >= 0 ? v + 0.5f : v - 0.5f); }

// Characters are drawn solid; the line type comes back afterwards.
class SolidForText {
public:
    explicit SolidForText(DashPattern& dash) : dash_(dash), dashed_(bgrp_(bg::line_type) != 1.0f) {
        if (dashed_) dash_.set_line_type(1);
    }
    ~SolidForText() {
        if (dashed_) dash_.set_line_type(to_int(bgrp_(bg::line_type)));
    }
    SolidForText(const SolidForText&) = delete;
    SolidForText& operator=(const SolidForText&) = delete;

private:
    DashPattern& dash_;
    bool dashed_;
};

}  // namespace

float LaserJetDevice::font_scale() const { return bgrp_(bg::char_expansion) * geometry_.char_dots / kFontUnitsPerChar; }

// Draws a glyph's strokes with its origin at (x, y) in dots.
void LaserJetDevice::draw_glyph(const Glyph& glyph, long long x, long long y, float kc, float ks) {
    for (const auto& stroke : glyph_strokes(glyph)) {
        long long px = 0, py = 0;
        for (std::size_t i = 0; i < stroke.size(); ++i) {
            const float gx = stroke[i].x, gy = stroke[i].y;
            const long long nx = x + to_int(gx * kc - gy * ks);
            const long long ny = y - to_int(gx * ks + gy * kc);
            if (i > 0) pen_.line(raster_, px, py, nx, ny);
            px = nx;
            py = ny;
        }
    }
}

// Moves to the clipped start when asked, then draws to the clipped end.
void LaserJetDevice::clipped_segment(const ClipWindow& window, float ax, float ay, float bx, float by, bool first) {
    const float x[2] = {ax, bx}, y[2] = {ay, by};
    float xo[2], yo[2];
    int status = 0;
    lclipz_(x, y, window.xlim, window.ylim, xo, yo, status);
    if (status > 0 || (first && status == 0)) hplj_zseekz(xo[0], yo[0]);
    if (status >= 0) hplj_zlinez(xo[1], yo[1]);
}

// Writes a rectangle of image cells (device corners) as a PCL fill in the
// shade of bgrp_(color).
void LaserJetDevice::write_rectangle(int x0, int y0, int x1, int y1) {
    const PageGeometry& g = geometry_;
    const long long X0 = g.map_x(static_cast<float>(x0)), X1 = g.map_x(static_cast<float>(x1));
    const long long U0 = g.map_y_up(static_cast<float>(y0)), U1 = g.map_y_up(static_cast<float>(y1));
    const long long T = g.page_h - U1;
    const float color = bgrp_(bg::color);
    if (color != shade_.color) {
        shade_.color = std::fabs(color);
        shade_.shade = kShades[to_int(shade_.color) % 9];
        shade_.type = shade_.shade == 100 ? 0 : 2;
    }
    if (shade_.shade == 0) return;
    auto units = [&](long long dots) { return to_int(static_cast<double>(dots) / g.dot_scale + 0.5); };
    std::string out;
    pcl_position(out, units(X0) + g.area_left, units(T) + g.area_top);
    pcl_rectangle(out, units(X1 - X0), units(U1 - U0), shade_.shade, shade_.type);
    fp_.write(out);
}

void LaserJetDevice::flush_rectangle() {
    if (rect_stage_ == 1 && pending_.color != kNoColor) {
        bgrp_(bg::color) = static_cast<float>(pending_.color);
        write_rectangle(pending_.x0, pending_.y0, pending_.x1, pending_.y1);
    }
    rect_stage_ = 0;
}

void LaserJetDevice::offer_cell(int x0, int y0, int x1, int y1, int color) {
    switch (rect_stage_) {
        case 0:
            pending_ = {color, x0, y0, x1, y1};
            rect_stage_ = 1;
            break;
        case 1:
            if (color == pending_.color) {
                pending_.x1 = x1;
                pending_.y1 = y1;
            } else {
                flush_rectangle();
                pending_ = {color, x0, y0, x1, y1};
                rect_stage_ = 1;
            }
            break;
        default: dmprog_(dmformat("Unexpected value (%d) for rect_stage in hplj\n", rect_stage_)); break;
    }
}

void LaserJetDevice::hplj_zseekz(float x, float y) {
    const long long mx = geometry_.map_x(x), my = geometry_.map_y(y);
    page_blank_ = 0;
    if (bgrp_(bg::line_type) != cached_lty_) {
        cached_lty_ = bgrp_(bg::line_type);
        set_line_type(to_int(cached_lty_));
    }
    if (bgrp_(bg::color) != pen_.color) pen_.color = bgrp_(bg::color);
    pen_x_ = mx;
    pen_y_ = my;
}

void LaserJetDevice::hplj_zlinez(float x, float y) {
    const long long mx = geometry_.map_x(x), my = geometry_.map_y(y);
    pen_.line(raster_, pen_x_, pen_y_, mx, my);
    pen_x_ = mx;
    pen_y_ = my;
}

void LaserJetDevice::hplj_zlinsz(std::span<const float> x, std::span<const float> y) {
    const std::size_t n = common_size(x, y);
    if (n < 1) return;
    const ClipWindow window = clip_window();
    const ClipInterior interior(window);
    float ax = device_x(x[0]), ay = device_y(y[0]);
    bool a_inside = interior.contains(ax, ay);
    for (std::size_t i = 1; i < n; ++i) {
        const float bx = device_x(x[i]), by = device_y(y[i]);
        const bool b_inside = interior.contains(bx, by);
        if (a_inside && b_inside) {
            if (i == 1) hplj_zseekz(ax, ay);
            hplj_zlinez(bx, by);
        } else {
            clipped_segment(window, ax, ay, bx, by, i == 1);
        }
        ax = bx;
        ay = by;
        a_inside = b_inside;
    }
}

void LaserJetDevice::hplj_zsegsz(std::span<const float> x0, std::span<const float> y0, std::span<const float> x1,
                                 std::span<const float> y1) {
    const std::size_t n = common_size(x0, y0, x1, y1);
    const ClipWindow window = clip_window();
    for (std::size_t i = 0; i < n; ++i) {
        clipped_segment(window, device_x(x0[i]), device_y(y0[i]), device_x(x1[i]), device_y(y1[i]), true);
    }
}

void LaserJetDevice::hplj_zpntsz(std::span<const float> x, std::span<const float> y) {
    const int pch = static_cast<signed char>(to_int(bgrp_(bg::plot_symbol)) & 0xFF);
    if (pch < 32) {
        ljmark_(x, y, pch);
        return;
    }
    const char c = static_cast<char>(pch);
    const std::size_t n = common_size(x, y);
    for (std::size_t i = 0; i < n; ++i) {
        const float dx = device_x(x[i]), dy = device_y(y[i]);
        if (!(bgrp_(bg::clip_xmin) <= dx && dx <= bgrp_(bg::clip_xmax) && bgrp_(bg::clip_ymin) <= dy &&
              dy <= bgrp_(bg::clip_ymax))) {
            continue;
        }
        hplj_zseekz(dx, dy);
        if (c == '.')
            hplj_zlinez(dx, dy);
        else
            hplj_zptchz(c, 0.0f);
    }
}

void LaserJetDevice::hplj_zptchz(char c, float angle) {
    const float s = font_scale();
    SolidForText solid(pen_.dash);
    float kc, ks;
    rotation(angle, s, kc, ks);
    draw_glyph(stroke_glyph(c), pen_x_, pen_y_, kc, ks);
}

void LaserJetDevice::hplj_ztextz(float x, float y, std::string_view string, float adj) {
    const float s = font_scale();
    if (string.empty()) {
        // Reported as the kernel reports it; the rest of the frame is
        // still drawn.
        zerrpz_("ztextz", "Number of characters not positive");
        return;
    }
    SolidForText solid(pen_.dash);
    const std::size_t len = strnlen(string.data(), string.size());
    float w = 0;
    for (std::size_t i = 0; i < len; ++i) {
        const Glyph& g = stroke_glyph(string[i]);
        w += static_cast<float>(g.right - g.left);
    }
    hplj_zseekz(device_x(x), device_y(y));
    const long long x0 = pen_x_, y0 = pen_y_;
    float kc, ks;
    rotation(bgrp_(bg::string_angle), s, kc, ks);
    long long xc = x0 - round_away(adj * kc * w);
    long long yc = y0 + round_away(adj * ks * w);
    for (std::size_t i = 0; i < len; ++i) {
        const Glyph& g = stroke_glyph(string[i]);
        const float left = g.left, right = g.right;
        const long long x1 = xc + round_away(-left * kc), y1 = yc - round_away(-left * ks);
        draw_glyph(g, x1, y1, kc, ks);
        xc = x1 + round_away(right * kc);
        yc = y1 - round_away(right * ks);
    }
}

void LaserJetDevice::hplj_zpolyz(std::span<const float> x, std::span<const float> y) {
    const int pattern = pattern_for_color(bgrp_(bg::color));
    const std::size_t n = common_size(x, y);
    std::vector<Dot> vertices;
    try {
        vertices.reserve(n);
    } catch (const std::bad_alloc&) {
        dmerro_("Not enough memory to generate polygons.");
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        vertices.push_back({geometry_.map_x(device_x(x[i])), geometry_.map_y(device_y(y[i]))});
    }
    seek_origin();
    fill_polygon(raster_, vertices, pattern);
}

void LaserJetDevice::hplj_zimagz(std::span<const float> x, std::span<const float> y, std::span<const float> z,
                                 float zlo, float zhi, float na) {
    // Rectangles go straight into the file: only while a page is open.
    if (!active_) return;
    float lo = zlo, hi = zhi;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) {
        lo -= 0.5f;
        hi += 0.5f;
    }
    const float factor = static_cast<float>(kImageLevels - 1) / (hi - lo);
    std::vector<int> xs(x.size());
    std::vector<int> ys(y.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = to_int(bgrp_(bg::x_offset) + x[i] * bgrp_(bg::x_scale) + 0.5f);
    }
    for (std::size_t j = 0; j < ys.size(); ++j) {
        ys[j] = to_int(bgrp_(bg::y_offset) + y[j] * bgrp_(bg::y_scale) + 0.5f);
    }
    const float saved_color = bgrp_(bg::color);
    std::size_t k = 0;
    for (std::size_t j = 0; j + 1 < ys.size() && k < z.size(); ++j) {
        rect_stage_ = 0;
        for (std::size_t i = 0; i + 1 < xs.size() && k < z.size(); ++i) {
            const float v = z[k++];
            // Values outside lo..hi take the nearest end's level; a NaN
            // (value or range) gives no level and is left out like the
            // missing value.
            const float level = 1.0f + (v - lo) * factor;
            const int color = v == na || std::isnan(level) ? kNoColor : std::clamp(to_int(level), 1, kImageLevels);
            offer_cell(xs[i], ys[j], xs[i + 1], ys[j + 1], color);
        }
        flush_rectangle();
    }
    bgrp_(bg::color) = saved_color;
    seek_origin();
}

void LaserJetDevice::hplj_amdiff(std::span<const float> pairs) {
    amdiff_(pairs.data(), static_cast<int>(pairs.size()));
    bgrp_(bg::error_reports) = -1.0f;
}

void LaserJetDevice::hplj_zbrshz() { dmstat_("Cannot draw brushing display on the LaserJet."); }

void LaserJetDevice::hplj_zspinz() {
    std::fputs("cannot draw spinning display on the LaserJet yet\n", stderr);
    std::fflush(stderr);
}

}  // namespace tgd
