// Coordinate systems: raster and inch sizes, margins, plot types, the
// user-to-raster transform, the clip window and the character sizes.
// Everything is single precision.
#include <algorithm>
#include <cmath>
#include <string>

#include "base/convert.h"
#include "base/scope.h"
#include "core/bgrp.h"
#include "core/reports.h"
#include "kernel/geometry.h"
#include "kernel/kernel.h"

namespace tgd {

void zrdszz_() {
    float rw = bgrp_(bg::device_raster_width);
    float rh = bgrp_(bg::device_raster_height);
    // A NaN size is invalid too, whichever of the two it is.
    if (!(rw > 0.0f && rh > 0.0f)) {
        zerrpz_("zrdszz", "Invalid raster sizes -- will use default");
        rw = rh = 0.001f;
    }
    bgrp_(bg::raster_width) = rw;
    bgrp_(bg::raster_height) = rh;
    bgrp_(bg::device_width) = (bgrp_(bg::device_xmax) - bgrp_(bg::device_xmin)) * rw;
    bgrp_(bg::device_height) = (bgrp_(bg::device_ymax) - bgrp_(bg::device_ymin)) * rh;
    bgrp_(bg::cell_width_in) = bgrp_(bg::cell_width) * rw;
    bgrp_(bg::cell_height_in) = bgrp_(bg::cell_height) * rh;
}

void spmarz_(float bottom, float left, float top, float right) {
    float u = std::max(bgrp_(bg::cell_width_in), bgrp_(bg::cell_height_in)) * bgrp_(bg::margin_line_scale) /
              (bgrp_(bg::char_expansion) / bgrp_(bg::char_size_unit));
    bgrp_(bg::margin_bottom) = std::max(0.0f, bottom * u);
    bgrp_(bg::margin_left) = std::max(0.0f, left * u);
    bgrp_(bg::margin_top) = std::max(0.0f, top * u);
    bgrp_(bg::margin_right) = std::max(0.0f, right * u);
    zzpltz_();
}

void spptyz_(std::string_view letter) {
    char c = letter.empty() ? 'm' : letter.front();
    if (c != 'a' && c != 'd' && c != 'i' && c != 's') c = 'm';
    bgrp_(bg::plot_type) = static_cast<float>(c);
    zzpltz_();
}

void mxpltz_() { spptyz_("m"); }

void zzpltz_() {
    const char c = static_cast<char>(to_int(bgrp_(bg::plot_type)));
    const float fw = (bgrp_(bg::figure_x2) - bgrp_(bg::figure_x1)) * bgrp_(bg::device_width);
    const float fh = (bgrp_(bg::figure_y2) - bgrp_(bg::figure_y1)) * bgrp_(bg::device_height);
    const float ml = bgrp_(bg::margin_left), mr = bgrp_(bg::margin_right);
    const float mb = bgrp_(bg::margin_bottom), mt = bgrp_(bg::margin_top);
    const float aw = fw - ml - mr;
    const float ah = fh - mb - mt;

    float px1 = bgrp_(bg::plot_x1), px2 = bgrp_(bg::plot_x2);
    float py1 = bgrp_(bg::plot_y1), py2 = bgrp_(bg::plot_y2);
    if (c != 'd') {
        float w = aw, h = ah;
        if (c == 's' || c == 'a') {
            float r = c == 's' ? 1.0f : bgrp_(bg::plot_width) / bgrp_(bg::plot_height);
            if (aw > r * ah) {
                h = ah;
                w = ah * r;
            } else {
                w = aw;
                h = aw / r;
            }
        } else if (c == 'i') {
            const float pw = bgrp_(bg::plot_width), ph = bgrp_(bg::plot_height);
            if (pw > aw + bgrp_(bg::raster_width) || ph > ah + bgrp_(bg::raster_height)) {
                zerrpz_("zzpltz", "Plot specified in inches too large");
            }
            w = std::min(pw, aw);
            h = std::min(ph, ah);
        }
        const float dx = (aw - w) * 0.5f, dy = (ah - h) * 0.5f;
        px1 = std::max(0.0f, (ml + dx) / fw);
        px2 = std::min(1.0f, (fw - mr - dx) / fw);
        py1 = std::max(0.0f, (mb + dy) / fh);
        py2 = std::min(1.0f, (fh - mt - dy) / fh);
    }
    if (!(px1 < px2) || !(py1 < py2)) {
        std::string message = "Computed plot of type   does not fit";
        message[22] = c;
        zerrpz_("zzpltz", message);
        px1 = py1 = 0.0f;
        px2 = py2 = 1.0f;
    }
    bgrp_(bg::plot_x1) = px1;
    bgrp_(bg::plot_x2) = px2;
    bgrp_(bg::plot_y1) = py1;
    bgrp_(bg::plot_y2) = py2;
    zscalz_();
}

void zscalz_() {
    // This routine's reports are always printed; silenced reports are
    // silenced again afterwards, whichever way it ends.
    const bool silenced = bgrp_(bg::error_reports) < 0.0f;
    if (silenced) bgrp_(bg::error_reports) = 0.0f;
    const ScopeExit silence_again{[silenced] {
        if (silenced) bgrp_(bg::error_reports) = -1.0f;
    }};

    const float fx = bgrp_(bg::figure_x2) - bgrp_(bg::figure_x1);
    const float fy = bgrp_(bg::figure_y2) - bgrp_(bg::figure_y1);
    const float px = bgrp_(bg::plot_x2) - bgrp_(bg::plot_x1);
    const float py = bgrp_(bg::plot_y2) - bgrp_(bg::plot_y1);
    const float ux = bgrp_(bg::user_x2) - bgrp_(bg::user_x1);
    const float uy = bgrp_(bg::user_y2) - bgrp_(bg::user_y1);
    if (!(fx > 0.0f && fy > 0.0f)) {
        zerrpz_("zscalz", "Invalid figure region -- scaling not done");
        return;
    }
    if (!(px > 0.0f && py > 0.0f)) {
        zerrpz_("zscalz", "Invalid plotting region -- scaling not done");
        return;
    }
    if (!(ux > 0.0f && uy > 0.0f)) {
        zerrpz_("zscalz", "Invalid user co-ordinates -- scaling not done");
        return;
    }
    const float dx = bgrp_(bg::device_xmax) - bgrp_(bg::device_xmin);
    const float dy = bgrp_(bg::device_ymax) - bgrp_(bg::device_ymin);

    bgrp_(bg::figure_width) = bgrp_(bg::device_width) * fx;
    bgrp_(bg::plot_width) = bgrp_(bg::figure_width) * px;
    bgrp_(bg::inch_per_user_x) = bgrp_(bg::plot_width) / ux;
    bgrp_(bg::figure_height) = bgrp_(bg::device_height) * fy;
    bgrp_(bg::plot_height) = bgrp_(bg::figure_height) * py;
    bgrp_(bg::inch_per_user_y) = bgrp_(bg::plot_height) / uy;

    const float xs = px * fx * dx / ux;
    const float xo =
        bgrp_(bg::device_xmin) + (bgrp_(bg::plot_x1) * fx + bgrp_(bg::figure_x1)) * dx - xs * bgrp_(bg::user_x1);
    const float ys = py * fy * dy / uy;
    const float yo =
        bgrp_(bg::device_ymin) + (bgrp_(bg::plot_y1) * fy + bgrp_(bg::figure_y1)) * dy - ys * bgrp_(bg::user_y1);
    bgrp_(bg::x_scale) = xs;
    bgrp_(bg::x_offset) = xo;
    bgrp_(bg::y_scale) = ys;
    bgrp_(bg::y_offset) = yo;

    if (bgrp_(bg::clip_to_figure) > 0.5f) {
        bgrp_(bg::clip_xmin) = bgrp_(bg::device_xmin) + bgrp_(bg::figure_x1) * dx;
        bgrp_(bg::clip_xmax) = bgrp_(bg::device_xmin) + bgrp_(bg::figure_x2) * dx;
        bgrp_(bg::clip_ymin) = bgrp_(bg::device_ymin) + bgrp_(bg::figure_y1) * dy;
        bgrp_(bg::clip_ymax) = bgrp_(bg::device_ymin) + bgrp_(bg::figure_y2) * dy;
    } else {
        bgrp_(bg::clip_xmin) = xo + xs * bgrp_(bg::user_x1);
        bgrp_(bg::clip_xmax) = xo + xs * bgrp_(bg::user_x2);
        bgrp_(bg::clip_ymin) = yo + ys * bgrp_(bg::user_y1);
        bgrp_(bg::clip_ymax) = yo + ys * bgrp_(bg::user_y2);
    }
    bgrp_(17) = 3.0f;
    zcsizz_();
}

void zcsizz_() {
    const float a = bgrp_(bg::char_angle) * kRadiansPerDegree;
    const float c = std::cos(a), s = std::sin(a);
    const float w = bgrp_(bg::cell_width_in), h = bgrp_(bg::cell_height_in);
    bgrp_(bg::char_step_x) = (w * c + h * s) / bgrp_(bg::inch_per_user_x);
    bgrp_(bg::char_step_y) = (w * s + h * c) / bgrp_(bg::inch_per_user_y);
    const float m = std::max(w, h);
    bgrp_(bg::char_size_x) = m / bgrp_(bg::inch_per_user_x);
    bgrp_(bg::char_size_y) = m / bgrp_(bg::inch_per_user_y);
    bgrp_(bg::char_size_fraction) =
        m / std::min((bgrp_(bg::figure_x2) - bgrp_(bg::figure_x1)) * bgrp_(bg::device_width),
                     (bgrp_(bg::figure_y2) - bgrp_(bg::figure_y1)) * bgrp_(bg::device_height));
}

}  // namespace tgd
