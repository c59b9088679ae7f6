// Text placement: the kernel lays out the string and hands the terminal one
// character at a time at an explicit raster position.
#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "core/bgrp.h"
#include "core/live_device.h"
#include "core/reports.h"
#include "kernel/geometry.h"
#include "kernel/kernel.h"

namespace tgd {

void zcposz_(float& dx, float& dy, float& w, float& ux, float& uy, int& rotated) {
    const float a = bgrp_(bg::string_angle) * kRadiansPerDegree;
    ux = std::cos(a) / bgrp_(bg::inch_per_user_x);
    uy = std::sin(a) / bgrp_(bg::inch_per_user_y);
    const float d = std::fabs(bgrp_(bg::string_angle) - bgrp_(bg::char_angle)) * kRadiansPerDegree;
    const float cw = bgrp_(bg::cell_width_in), ch = bgrp_(bg::cell_height_in);
    if (d > 0.01f) {
        rotated = 1;
        const float cd = std::fabs(std::cos(d)), sd = std::fabs(std::sin(d));
        w = cw * sd < ch * cd ? cw / cd : ch / sd;
    } else {
        rotated = 0;
        w = cw;
    }
    dx = w * ux;
    dy = w * uy;
}

void ztextz_(float x, float y, const char* text, int n, float justification) {
    // Window for the characters' reference points (cell half, unexpanded).
    const float hx = (0.5f - bgrp_(bg::cell_origin_x)) * bgrp_(bg::cell_width);
    const float hy = (0.5f - bgrp_(bg::cell_origin_y)) * bgrp_(bg::cell_height);
    const int xlo = raster(std::max(bgrp_(bg::clip_xmin) - hx, bgrp_(bg::device_xmin)));
    const int xhi = raster(std::min(bgrp_(bg::clip_xmax) - hx, bgrp_(bg::device_xmax)));
    const int ylo = raster(std::max(bgrp_(bg::clip_ymin) - hy, bgrp_(bg::device_ymin)));
    const int yhi = raster(std::min(bgrp_(bg::clip_ymax) - hy, bgrp_(bg::device_ymax)));
    if (n < 1) {
        live_device().forget();
        zerrpz_("ztextz", "Number of characters not positive");
        return;
    }
    float dx, dy, w, ux, uy;
    int rotated;
    zcposz_(dx, dy, w, ux, uy, rotated);
    const float count = static_cast<float>(n);

    // Centre of the first character, and the far end of the string.
    const float s = justification * count * w - 0.5f * w;
    const float x0 = x - s * ux;
    float y0 = y - s * uy;
    bgrp_(bg::text_end_x) = x0 + count * dx - 0.5f * dx;
    bgrp_(bg::text_end_y) = y0 + count * dy - 0.5f * dy;

    const float expansion = bgrp_(bg::char_expansion);
    float ox, oy;
    cell_offset(ox, oy);

    const float rx0 = bgrp_(bg::x_offset) + bgrp_(bg::x_scale) * x0 - ox;
    float ry0 = bgrp_(bg::y_offset) + bgrp_(bg::y_scale) * y0 - oy;
    const float sx = dx * bgrp_(bg::x_scale);
    float sy = dy * bgrp_(bg::y_scale);

    // A vertical string on a device that cannot turn characters: an
    // upright column, written downward when the string points up.
    if (std::fabs(count * sx) < 1.0f && !(bgrp_(bg::rotates_text) > 0.0f)) {
        const float cell = std::fabs(bgrp_(bg::cell_height) * expansion);
        sy = uy >= 0.0f ? -cell : cell;
        y0 = y + ((1.0f - justification) * count - 0.5f) * bgrp_(bg::cell_height_in) * uy;
        ry0 = bgrp_(bg::y_offset) + bgrp_(bg::y_scale) * y0 -
              (0.5f - bgrp_(bg::cell_origin_y)) * bgrp_(bg::cell_height) * expansion;
    }

    // The string ends at its first character outside the window.
    int ix = raster(rx0), iy = raster(ry0);
    for (int k = 1; k <= n; ++k) {
        if (ix < xlo || ix > xhi || iy < ylo || iy > yhi) {
            live_device().forget();
            const float back = static_cast<float>(k - 1);
            ztobdz_(text, n, x0 + back * bgrp_(bg::char_step_x), y0 + back * bgrp_(bg::char_step_y));
            break;
        }
        live_device().seek(ix, iy);
        live_device().glyph(text[k - 1], bgrp_(bg::char_angle));
        const float next = static_cast<float>(k);
        ix = raster(rx0 + next * sx);
        iy = raster(ry0 + next * sy);
    }
    live_device().forget();
}

}  // namespace tgd
