// Drawing primitives of the graphics terminal.  Every primitive writes its
// sequence at once; the state in hp2648_ keeps sequences that would change
// nothing on the terminal from being sent again.
#include <string>

#include "kernel/bgrp.h"
#include "kernel/convert.h"
#include "kernel/kernel.h"
#include "runtime/chars.h"
#include "terminal/escape.h"
#include "terminal/terminal.h"

namespace tgd {

TerminalState hp2648_;

namespace {

// Colours are compared and encoded as integers, clamped on conversion.
int color_code() { return to_int(bgrp_(bg::color)); }

void send_pen_color(int c) {
    std::string seq;
    esc::pen_color(seq, esc::pen_color_value(c));
    zoutrz_(seq);
    hp2648_.cur_color = c;
}

}  // namespace

void zparmz_(const float* par, int npar) {
    hp2648_.eject_wait = npar > 0 ? to_int(par[0]) : 1;
    for (int n = 1; n <= 39; ++n) bgrp_(n) = 0.0f;
    std::string seq;
    esc::device_reset(seq);
    zoutrz_(seq);
    bgrp_(bg::device_class) = 2.0f;
    bgrp_(bg::cell_width) = 7.0f;
    bgrp_(bg::cell_height) = 10.0f;
    bgrp_(bg::device_xmin) = 0.0f;
    bgrp_(bg::device_xmax) = 511.0f;
    bgrp_(bg::device_ymin) = 0.0f;
    bgrp_(bg::device_ymax) = 389.0f;
    bgrp_(bg::cell_origin_x) = 0.0f;
    bgrp_(bg::cell_origin_y) = 0.0f;
    bgrp_(bg::device_raster_width) = 8.0f / 511.0f;
    bgrp_(bg::device_raster_height) = 6.0f / 389.0f;
    bgrp_(bg::device_code) = -2627.0f;
    bgrp_(bg::rotates_text) = 1.0f;
    bgrp_(bg::drawn) = 1.0f;
    hp2648_.invalidate();
}

void zseekz_(int x, int y) {
    // Line type, colour and move each go out in their own write.
    float lty = bgrp_(bg::line_type);
    if (lty != hp2648_.cur_lty) {
        std::string seq;
        esc::line_type(seq, esc::line_type_value(to_int(lty)));
        hp2648_.cur_lty = lty;
        zoutrz_(seq);
    }
    if (bgrp_(bg::color) != static_cast<float>(hp2648_.cur_color)) send_pen_color(color_code());
    long long dx = static_cast<long long>(x) - hp2648_.pen_x;
    long long dy = static_cast<long long>(y) - hp2648_.pen_y;
    hp2648_.pen_x = x;
    hp2648_.pen_y = y;
    if (dx == 0 && dy == 0) return;
    std::string seq;
    esc::move(seq, x, y, dx, dy);
    zoutrz_(seq);
}

void zlinez_(int x, int y) {
    std::string seq;
    esc::line(seq, x, y, static_cast<long long>(x) - hp2648_.pen_x, static_cast<long long>(y) - hp2648_.pen_y);
    hp2648_.pen_x = x;
    hp2648_.pen_y = y;
    zoutrz_(seq);
}

void hp26sz_() {
    float r = bgrp_(bg::char_expansion) / bgrp_(bg::char_size_unit);
    if (r == hp2648_.cur_size) return;
    std::string seq;
    esc::text_size(seq, esc::text_size_value(r));
    hp2648_.cur_size = r;
    zoutrz_(seq);
}

void hp26rt_(float angle) {
    if (angle == hp2648_.cur_angle) return;
    hp2648_.cur_angle = angle;
    std::string seq;
    esc::text_direction(seq, esc::text_direction_value(angle));
    zoutrz_(seq);
}

void zptchz_(char ch, float angle) {
    hp26sz_();
    hp26rt_(angle);
    int c = iascii_(static_cast<unsigned char>(ch), to_int(bgrp_(bg::char_case_mode)));
    if (c == '0') c = 'O';  // the terminal's zero is drawn as the letter
    std::string seq;
    esc::character(seq, static_cast<char>(c));
    zoutrz_(seq);
}

void zptout_(int x, int y, int& first) {
    std::string seq;
    esc::polygon_vertex(seq, x, y, first != 0);
    first = 0;
    zoutrz_(seq);
}

void zpolyz_(const float* x, const float* y, int n) {
    int first = 1;
    if (n < 3 || n > 148) {
        zflshz_();
        zerrpz_("zpolyz", "Needs at least 3 points and at most 148");
        return;
    }
    std::string seq;
    int c = color_code();
    if (c >= 0 && c <= 7) {
        esc::fill_single(seq, 1);
        zoutrz_(seq);
        if (c != hp2648_.cur_color) send_pen_color(c);
    } else if (c > 7) {
        esc::fill_single(seq, 0);
        zoutrz_(seq);
        seq.clear();
        esc::fill_pattern(seq, (c - 8) % 18 + 2);
        zoutrz_(seq);
    } else {
        int m = -c;
        esc::fill_single(seq, 9 - (m / 10) % 7);
        zoutrz_(seq);
        int p = m % 10;
        if (p != hp2648_.cur_color) send_pen_color(p);
    }
    seq.clear();
    esc::polygon_start(seq);
    zoutrz_(seq);

    const float xs = bgrp_(bg::x_scale), xo = bgrp_(bg::x_offset);
    const float ys = bgrp_(bg::y_scale), yo = bgrp_(bg::y_offset);
    const float xlim[2] = {bgrp_(bg::clip_xmin), bgrp_(bg::clip_xmax)};
    const float ylim[2] = {bgrp_(bg::clip_ymin), bgrp_(bg::clip_ymax)};
    float px[2] = {0.0f, x[0] * xs + xo};
    float py[2] = {0.0f, y[0] * ys + yo};
    bool clipped = false;
    float clipped_x = 0.0f, clipped_y = 0.0f;
    for (int i = 1; i < n; ++i) {
        px[0] = px[1];
        py[0] = py[1];
        px[1] = x[i] * xs + xo;
        py[1] = y[i] * ys + yo;
        float cx[2], cy[2];
        int status = 0;
        lclipz_(px, py, xlim, ylim, cx, cy, status);
        if (status != 0) {
            clipped = true;
            clipped_x = x[i];
            clipped_y = y[i];
        }
        if (status < 0) continue;
        if (status > 0 || first) zptout_(raster(cx[0]), raster(cy[0]), first);
        zptout_(raster(cx[1]), raster(cy[1]), first);
    }
    seq.clear();
    esc::polygon_end(seq);
    zoutrz_(seq);
    zflshz_();
    if (clipped) zobdsz_("Polygon", clipped_x, clipped_y);
}

void zejecz_() {
    std::string seq;
    bool waiting = hp2648_.eject_wait > 0 && !hp2648_.batch;
    esc::frame_prompt(seq, waiting);
    if (waiting) {
        zoutwz_(seq);
    } else {
        zoutrz_(seq);
    }
    hp2648_.cur_size = 1.0f;
    seq.clear();
    esc::clear(seq);
    zoutrz_(seq);
}

void zflshz_() { hp2648_.invalidate(); }

void zwrapz_() {}

}  // namespace tgd
