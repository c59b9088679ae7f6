// Lines, segments, points and locator input: user coordinates are turned
// into rasters, clipped, reported when outside and drawn on the terminal.
#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "base/scope.h"
#include "core/bgrp.h"
#include "core/clip.h"
#include "core/live_device.h"
#include "core/reports.h"
#include "kernel/geometry.h"
#include "kernel/kernel.h"

namespace tgd {

namespace {

struct Segment {
    float x[2], y[2];
};

// The segment in rasters, clipped against the clip window.
int clip_to_window(float x1, float y1, float x2, float y2, Segment& out) {
    const UserToRaster to_raster = user_to_raster();
    const float x[2] = {to_raster.x(x1), to_raster.x(x2)};
    const float y[2] = {to_raster.y(y1), to_raster.y(y2)};
    const ClipWindow window = clip_window();
    int status = 0;
    lclipz_(x, y, window.xlim, window.ylim, out.x, out.y, status);
    return status;
}

void move_and_draw(const Segment& s) {
    live_device().seek(raster(s.x[0]), raster(s.y[0]));
    live_device().line(raster(s.x[1]), raster(s.y[1]));
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
        live_device().forget();
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
            if (!pen_at_start) live_device().seek(raster(s.x[0]), raster(s.y[0]));
            live_device().line(raster(s.x[1]), raster(s.y[1]));
        } else {
            live_device().forget();
            zobdsz_("Lines", x[i], y[i]);
            if (status > 0) move_and_draw(s);
        }
        pen_at_start = status >= 0;
    }
    bgrp_(bg::last_x) = x[n - 1];
    bgrp_(bg::last_y) = y[n - 1];
    live_device().forget();
}

void zsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n) {
    if (n < 1) {
        live_device().forget();
        zerrpz_("zsegsz", "Number of points not positive");
        return;
    }
    for (int i = 0; i < n; ++i) {
        Segment s;
        int status = clip_to_window(x1[i], y1[i], x2[i], y2[i], s);
        if (status == 0) {
            move_and_draw(s);
        } else {
            live_device().forget();
            zobdsz_("Line segments", x1[i], y1[i]);
            if (status > 0) move_and_draw(s);
        }
    }
    bgrp_(bg::last_x) = x2[n - 1];
    bgrp_(bg::last_y) = y2[n - 1];
    live_device().forget();
}

void zpntsz_(const float* x, const float* y, int n) {
    if (n < 1) {
        live_device().forget();
        zerrpz_("zpntsz", "Number of points not positive");
        return;
    }
    const float symbol = bgrp_(bg::plot_symbol);
    if (symbol < 32.0f) {
        dmarkz_(x, y, n, to_int(symbol));
        return;
    }
    const char c = static_cast<char>(to_int(symbol));
    const ValueKept line_type_kept{bgrp_(bg::line_type)};
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
            live_device().forget();
            zobdsz_("Points", x[i], y[i]);
            continue;
        }
        live_device().seek(ix, iy);
        if (c == '.') {
            live_device().line(ix, iy);
        } else {
            live_device().glyph(c, bgrp_(bg::char_angle));
        }
    }
    bgrp_(bg::last_x) = x[n - 1];
    bgrp_(bg::last_y) = y[n - 1];
    live_device().forget();
}

void zrdpnz_(float* x, float* y, int& nread, int nmax) {
    nread = 0;
    for (int i = 0; i < nmax; ++i) {
        int ix = 0, iy = 0, key = -1;
        live_device().locate(ix, iy, key);
        if (key < 0) break;
        x[i] = (static_cast<float>(ix) - bgrp_(bg::x_offset)) / bgrp_(bg::x_scale);
        y[i] = (static_cast<float>(iy) - bgrp_(bg::y_offset)) / bgrp_(bg::y_scale);
        nread = i + 1;
    }
    live_device().forget();
}

void zintrz_() { live_device().forget(); }

void linesz_(const float* x, const float* y, int n) {
    zlinsz_(x, y, n);
    bgrp_(bg::drawn) = 1.0f;
}

void polyz_(const float* x, const float* y, int n) {
    live_device().polygon(x, y, n);
    bgrp_(bg::drawn) = 1.0f;
}

}  // namespace tgd
