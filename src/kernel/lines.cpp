// Lines, segments, points and locator input: user coordinates are turned
// into rasters, clipped, reported when outside and drawn on the terminal.
#include <algorithm>
#include <cmath>

#include "kernel/bgrp.h"
#include "base/convert.h"
#include "kernel/geometry.h"
#include "kernel/kernel.h"
#include "terminal/terminal.h"

namespace tgd {

namespace {

struct Segment {
    float x[2], y[2];
};

// The segment in rasters, clipped against the clip window.
int clip_to_window(float x1, float y1, float x2, float y2, Segment& out) {
    const float x[2] = {bgrp_(bg::x_offset) + bgrp_(bg::x_scale) * x1, bgrp_(bg::x_offset) + bgrp_(bg::x_scale) * x2};
    const float y[2] = {bgrp_(bg::y_offset) + bgrp_(bg::y_scale) * y1, bgrp_(bg::y_offset) + bgrp_(bg::y_scale) * y2};
    const float xlim[2] = {bgrp_(bg::clip_xmin), bgrp_(bg::clip_xmax)};
    const float ylim[2] = {bgrp_(bg::clip_ymin), bgrp_(bg::clip_ymax)};
    int status = 0;
    lclipz_(x, y, xlim, ylim, out.x, out.y, status);
    return status;
}

void move_and_draw(const Segment& s) {
    zseekz_(raster(s.x[0]), raster(s.y[0]));
    zlinez_(raster(s.x[1]), raster(s.y[1]));
}

}  // namespace

void cell_offset(float& ox, float& oy) {
    const float rw = bgrp_(bg::device_raster_width), rh = bgrp_(bg::device_raster_height);
    const float expansion = bgrp_(bg::char_expansion);
    const float dx = (0.5f - bgrp_(bg::cell_origin_x)) * bgrp_(bg::cell_width) * expansion * rw;
    const float dy = (0.5f - bgrp_(bg::cell_origin_y)) * bgrp_(bg::cell_height) * expansion * rh;
    const float a = bgrp_(bg::char_angle) * kRadiansPerDegree;
    ox = (dx * std::cos(a) - dy * std::sin(a)) / rw;
    oy = (dx * std::sin(a) + dy * std::cos(a)) / rh;
}

void zlinsz_(const float* x, const float* y, int n) {
    if (n < 2) {
        zflshz_();
        zerrpz_("zlinsz", "Needs at least 2 points");
        return;
    }
    // Unclipped segments continue from the pen, except the first and one
    // after a rejected segment: there the pen is not at the segment's start
    // (a NaN point rejects both its segments), so it is moved first.
    bool pen_at_start = false;
    for (int i = 1; i < n; ++i) {
        Segment s;
        int status = clip_to_window(x[i - 1], y[i - 1], x[i], y[i], s);
        if (status == 0) {
            if (!pen_at_start) zseekz_(raster(s.x[0]), raster(s.y[0]));
            zlinez_(raster(s.x[1]), raster(s.y[1]));
        } else {
            zflshz_();
            zobdsz_("Lines", x[i], y[i]);
            if (status > 0) move_and_draw(s);
        }
        pen_at_start = status >= 0;
    }
    bgrp_(bg::last_x) = x[n - 1];
    bgrp_(bg::last_y) = y[n - 1];
    zflshz_();
}

void zsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n) {
    if (n < 1) {
        zflshz_();
        zerrpz_("zsegsz", "Number of points not positive");
        return;
    }
    for (int i = 0; i < n; ++i) {
        Segment s;
        int status = clip_to_window(x1[i], y1[i], x2[i], y2[i], s);
        if (status == 0) {
            move_and_draw(s);
        } else {
            zflshz_();
            zobdsz_("Line segments", x1[i], y1[i]);
            if (status > 0) move_and_draw(s);
        }
    }
    bgrp_(bg::last_x) = x2[n - 1];
    bgrp_(bg::last_y) = y2[n - 1];
    zflshz_();
}

void zpntsz_(const float* x, const float* y, int n) {
    if (n < 1) {
        zflshz_();
        zerrpz_("zpntsz", "Number of points not positive");
        return;
    }
    const float symbol = bgrp_(bg::plot_symbol);
    if (symbol < 32.0f) {
        dmarkz_(x, y, n, to_int(symbol));
        return;
    }
    const char c = static_cast<char>(to_int(symbol));
    EntryKept line_type_kept(bg::line_type);
    float ox = 0.0f, oy = 0.0f;
    if (c == '.') {
        bgrp_(bg::line_type) = 1.0f;
    } else {
        cell_offset(ox, oy);  // centre the character cell on the point
    }
    const int xlo = raster(std::max(bgrp_(bg::clip_xmin) - ox, bgrp_(bg::device_xmin)));
    const int xhi = raster(std::min(bgrp_(bg::clip_xmax) - ox, bgrp_(bg::device_xmax)));
    const int ylo = raster(std::max(bgrp_(bg::clip_ymin) - oy, bgrp_(bg::device_ymin)));
    const int yhi = raster(std::min(bgrp_(bg::clip_ymax) - oy, bgrp_(bg::device_ymax)));
    for (int i = 0; i < n; ++i) {
        const int ix = raster(bgrp_(bg::x_offset) - ox + bgrp_(bg::x_scale) * x[i]);
        const int iy = raster(bgrp_(bg::y_offset) - oy + bgrp_(bg::y_scale) * y[i]);
        if (ix < xlo || ix > xhi || iy < ylo || iy > yhi) {
            zflshz_();
            zobdsz_("Points", x[i], y[i]);
            continue;
        }
        zseekz_(ix, iy);
        if (c == '.') {
            zlinez_(ix, iy);
        } else {
            zptchz_(c, bgrp_(bg::char_angle));
        }
    }
    bgrp_(bg::last_x) = x[n - 1];
    bgrp_(bg::last_y) = y[n - 1];
    zflshz_();
}

void zrdpnz_(float* x, float* y, int& nread, int nmax) {
    nread = 0;
    for (int i = 0; i < nmax; ++i) {
        int ix = 0, iy = 0, key = -1;
        zquxyz_(ix, iy, key);
        if (key < 0) break;
        x[i] = (static_cast<float>(ix) - bgrp_(bg::x_offset)) / bgrp_(bg::x_scale);
        y[i] = (static_cast<float>(iy) - bgrp_(bg::y_offset)) / bgrp_(bg::y_scale);
        nread = i + 1;
    }
    zflshz_();
}

void zintrz_() { zflshz_(); }

void linesz_(const float* x, const float* y, int n) {
    zlinsz_(x, y, n);
    bgrp_(bg::drawn) = 1.0f;
}

void polyz_(const float* x, const float* y, int n) {
    zpolyz_(x, y, n);
    bgrp_(bg::drawn) = 1.0f;
}

}  // namespace tgd
